// The simulated instrument as a USB device: listing and handles, commands,
// the FPGA load, status frames and the injected faults.
#include "device/usb/sim/simulated_link.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

#include "device/manual_reset_event.h"
#include "resources/fpga_image.h"
#include "sim_test_support.h"

namespace qx40 {
namespace {

using sim_test::Bench;
using sim_test::DataFrames;
using sim_test::Frame;
using sim_test::kMs;
using sim_test::RegisterSetup;
using sim_test::SplitFrames;
using sim_test::StatusFrames;

// A command body B (without its length byte and checksum) as the program
// would frame it, or deliberately broken.
std::vector<std::uint8_t> Encode(std::vector<std::uint8_t> body, std::uint8_t checksumFlip = 0) {
    body.insert(body.begin(), static_cast<std::uint8_t>(body.size() + 1));
    body.push_back(static_cast<std::uint8_t>(XorChecksum(body) ^ checksumFlip));
    std::vector<std::uint8_t> out(2 * body.size());
    NibbleEncode(body, out.data());
    out.insert(out.begin(), kCommandStart);
    return out;
}

// --- Listing and handles -------------------------------------------------

TEST(SimulatedLink, ListsOneInstrumentThatOpensByItsLocation) {
    SimulatedLink link(Bench::Options({}));
    EXPECT_EQ(link.Kind(), LinkKind::Simulated);
    std::uint32_t count = 0, location = 0;
    std::string description;
    ASSERT_EQ(link.ListDeviceCount(count), kUsbOk);
    EXPECT_EQ(count, 1u);
    ASSERT_EQ(link.ListDeviceLocation(0, location), kUsbOk);
    ASSERT_EQ(link.ListDeviceDescription(0, description), kUsbOk);
    EXPECT_EQ(description, "Digital Oscilloscope QX40");
    EXPECT_EQ(link.ListDeviceLocation(1, location), kUsbDeviceNotFound);
    EXPECT_EQ(link.ListDeviceDescription(1, description), kUsbDeviceNotFound);

    UsbHandle h = kNoHandle, other = kNoHandle;
    EXPECT_EQ(link.OpenByLocation(location + 1, h), kUsbDeviceNotFound);
    ASSERT_EQ(link.OpenByLocation(location, h), kUsbOk);
    EXPECT_NE(h, kNoHandle);
    EXPECT_NE(link.OpenByLocation(location, other), kUsbOk) << "the device is already open";

    // The configuration the program makes after opening is accepted.
    EXPECT_EQ(link.ResetDevice(h), kUsbOk);
    EXPECT_EQ(link.SetBaudRate(h, 2000000), kUsbOk);
    EXPECT_EQ(link.SetDataCharacteristics(h, 8, 0, 0), kUsbOk);
    EXPECT_EQ(link.SetFlowControl(h, 0, 0x13, 0x17), kUsbOk);
    EXPECT_EQ(link.SetTimeouts(h, 500, 500), kUsbOk);
    EXPECT_EQ(link.SetLatencyTimer(h, 0), kUsbOk);
    ManualResetEvent event;
    EXPECT_EQ(link.SetEventNotification(h, kEventRxChar, &event), kUsbOk);
    EXPECT_EQ(link.Purge(h, kPurgeRx | kPurgeTx), kUsbOk);
    EXPECT_EQ(link.Close(h), kUsbOk);
    ASSERT_EQ(link.OpenByLocation(location, other), kUsbOk) << "closed, it opens again";
    EXPECT_EQ(link.Close(other), kUsbOk);
}

TEST(SimulatedLink, ClosedAndUnknownHandlesAreInvalid) {
    SimulatedLink link(Bench::Options({}));
    UsbHandle closed = kNoHandle;
    ASSERT_EQ(link.OpenByLocation(SimulatedLink::kLocation, closed), kUsbOk);
    ASSERT_EQ(link.Close(closed), kUsbOk);
    std::uint8_t buffer[4] = {0xFA, 0, 0, 0};
    std::uint32_t n = 0, a = 0, b = 0, c = 0;
    const std::vector<std::pair<const char*, std::function<UsbStatus(UsbHandle)>>> calls = {
        {"ResetDevice", [&](UsbHandle h) { return link.ResetDevice(h); }},
        {"SetBaudRate", [&](UsbHandle h) { return link.SetBaudRate(h, 2000000); }},
        {"SetDataCharacteristics",
         [&](UsbHandle h) { return link.SetDataCharacteristics(h, 8, 0, 0); }},
        {"SetFlowControl", [&](UsbHandle h) { return link.SetFlowControl(h, 0, 0x13, 0x17); }},
        {"SetTimeouts", [&](UsbHandle h) { return link.SetTimeouts(h, 500, 500); }},
        {"SetLatencyTimer", [&](UsbHandle h) { return link.SetLatencyTimer(h, 0); }},
        {"SetEventNotification",
         [&](UsbHandle h) { return link.SetEventNotification(h, 1, nullptr); }},
        {"Purge", [&](UsbHandle h) { return link.Purge(h, 3); }},
        {"GetQueueStatus", [&](UsbHandle h) { return link.GetQueueStatus(h, n); }},
        {"GetStatus", [&](UsbHandle h) { return link.GetStatus(h, a, b, c); }},
        {"Read", [&](UsbHandle h) { return link.Read(h, buffer, 4, n); }},
        {"Write", [&](UsbHandle h) { return link.Write(h, buffer, 4, n); }},
        {"ResetPort", [&](UsbHandle h) { return link.ResetPort(h); }},
        {"Close", [&](UsbHandle h) { return link.Close(h); }},
    };
    for (const auto& [name, call] : calls) {
        EXPECT_EQ(call(closed), kUsbInvalidHandle) << name << " on a closed handle";
        EXPECT_EQ(call(closed + 1000), kUsbInvalidHandle) << name << " on an unknown handle";
        EXPECT_EQ(call(kNoHandle), kUsbInvalidHandle) << name << " on no handle";
    }
}

TEST(SimulatedLink, ReceivePurgeDropsUnreadBytesAndTransmitPurgeDoesNothing) {
    Bench bench;
    bench.link.AdvanceTime(350 * kMs);  // status frames
    const std::size_t pending = bench.link.PendingBytes();
    ASSERT_GT(pending, 0u);
    EXPECT_EQ(bench.link.Purge(bench.handle, kPurgeTx), kUsbOk);
    EXPECT_EQ(bench.link.PendingBytes(), pending);
    EXPECT_EQ(bench.link.Purge(bench.handle, kPurgeRx), kUsbOk);
    EXPECT_EQ(bench.link.PendingBytes(), 0u);
    std::uint32_t rx = 1;
    EXPECT_EQ(bench.link.GetQueueStatus(bench.handle, rx), kUsbOk);
    EXPECT_EQ(rx, 0u);
}

TEST(SimulatedLink, EventIsSetWhenBytesArrive) {
    Bench bench;
    ManualResetEvent event;
    ASSERT_EQ(bench.link.SetEventNotification(bench.handle, kEventRxChar, &event), kUsbOk);
    bench.link.AdvanceTime(50 * kMs);
    EXPECT_EQ(bench.link.NowMicroseconds(), 50 * kMs);
    EXPECT_FALSE(event.IsSet()) << "nothing sent in the first 50 ms";
    bench.link.AdvanceTime(60 * kMs);
    EXPECT_TRUE(event.IsSet());
    event.Reset();
    ASSERT_EQ(bench.link.SetEventNotification(bench.handle, 0, &event), kUsbOk);
    bench.link.AdvanceTime(200 * kMs);
    EXPECT_FALSE(event.IsSet()) << "notification switched off";
}

// --- Commands ------------------------------------------------------------

TEST(SimulatedLinkCommands, SettingsSplitAtEveryByteBoundaryApply) {
    Bench bench;
    RegisterSetup setup;
    for (std::size_t cut = 0; cut <= 156; ++cut) {
        DeviceSettings image = setup.Image();
        image.reg[reg::kPulseMin] = static_cast<std::uint8_t>(cut);
        const EncodedCommand command = SettingsCommand(image, bench.seq, nullptr);
        bench.Start();
        const auto body = command.view();
        if (cut > 0) bench.Write(body.first(cut));
        if (cut < body.size()) bench.Write(body.subspan(cut));
        image.reg[reg::kCmdSeq] = bench.seq;
        ASSERT_EQ(bench.link.Registers(), image) << "cut after " << cut << " bytes";
        ASSERT_EQ(bench.link.LastCmdSeq(), bench.seq);
    }
    // One byte per write.
    DeviceSettings image = setup.Image();
    image.reg[reg::kPulseMin] = 0xC3;
    const EncodedCommand command = SettingsCommand(image, bench.seq, nullptr);
    bench.Start();
    for (const std::uint8_t b : command.view()) bench.Write({&b, 1});
    EXPECT_EQ(bench.link.Registers().reg[reg::kPulseMin], 0xC3);
    EXPECT_EQ(bench.link.Counters().CommandsAccepted, 158);
    EXPECT_EQ(bench.link.Counters().CommandsRejected, 0);
}

struct BadCommand {
    const char* what;
    std::vector<std::uint8_t> bytes;
};

TEST(SimulatedLinkCommands, MalformedCommandsAreIgnored) {
    const std::vector<std::uint8_t> good = Encode({1, 1, 0x7F, 20, 0x99});
    std::vector<std::uint8_t> notNibble = good;
    notNibble[5] = 0x10;
    const BadCommand cases[] = {
        {"checksum", Encode({1, 1, 0x7F, 20, 0x42}, 0x01)},
        {"byte above 0x0F", notNibble},
        {"segment count beyond the body", Encode({200, 1, 0x7F, 20, 0x42})},
        {"segment of no bytes", Encode({1, 0, 0x7F, 20})},
        {"segment longer than the body", Encode({1, 9, 0x7F, 20, 0x42})},
        {"bytes left after the segments", Encode({1, 1, 0x7F, 20, 0x42, 0x00})},
        {"register beyond 127", Encode({1, 10, 0x7F, 120, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10})},
        {"calibration beyond 127", Encode({1, 2, 0x80, 127, 1, 2})},
        {"unknown space", Encode({1, 1, 0x42, 20, 0x42})},
        {"loader with another key", Encode({1, 1, 0x81, 0xAA, 0x56})},
        {"loader at another address", Encode({1, 1, 0x81, 0xAB, 0x55})},
        {"length below two", {0xFA, 0x01, 0x00, 0x01, 0x00}},
        {"cut short by the next command", {0xFA, 0x0D, 0x00, 0x01, 0x00}},
    };
    for (const BadCommand& c : cases) {
        Bench bench;
        bench.Write(good);
        ASSERT_EQ(bench.link.Registers().reg[20], 0x99);
        bench.Write(c.bytes);
        bench.Write(Encode({1, 1, 0x7F, 21, 0x77}));  // a good command after the bad one
        const DeviceSettings regs = bench.link.Registers();
        EXPECT_EQ(regs.reg[20], 0x99) << c.what;
        EXPECT_EQ(regs.reg[21], 0x77) << c.what << ": the next command is still understood";
        EXPECT_EQ(bench.link.Counters().CommandsRejected, 1) << c.what;
        EXPECT_EQ(bench.link.Counters().CommandsAccepted, 2) << c.what;
        EXPECT_FALSE(bench.link.FpgaConfigured());
    }
}

TEST(SimulatedLinkCommands, GarbageNeverStopsTheInstrument) {
    Bench bench;
    std::mt19937 random(7);
    std::vector<std::uint8_t> junk;
    for (int round = 0; round < 2000; ++round) {
        junk.resize(random() % 64);
        for (auto& b : junk) {
            // Mostly nibbles and start bytes, so that bodies get parsed.
            const unsigned r = random() % 16;
            b = r < 10   ? static_cast<std::uint8_t>(random() % 16)
                : r < 13 ? 0xFA
                         : static_cast<std::uint8_t>(random());
        }
        bench.Write(junk);
    }
    bench.link.AdvanceTime(200 * kMs);
    const std::uint8_t breakOff = 0x10;  // not a nibble: no command is left half done
    bench.Write({&breakOff, 1});
    RegisterSetup setup;
    const std::uint8_t seq = bench.Send(setup);
    EXPECT_EQ(bench.link.LastCmdSeq(), seq);
    DeviceSettings expected = setup.Image();
    expected.reg[reg::kCmdSeq] = seq;
    for (std::size_t r : {0, 1, 2, 4, 8, 10, 12, 16, 28, 48, 70, 72, 76, 96, 110}) {
        EXPECT_EQ(bench.link.Registers().reg[r], expected.reg[r]) << "register " << r;
    }
}

TEST(SimulatedLinkCommands, TdcSegmentRewritesCalibrationMemory) {
    Bench bench;
    const TdcBytes tdc{13, 14, 25, 26};
    bench.Start();
    bench.Write(SettingsCommand(RegisterSetup{}.Image(), bench.seq, &tdc).view());
    const auto memory = bench.link.CalibrationMemory();
    EXPECT_EQ(memory[8], 13);
    EXPECT_EQ(memory[11], 26);
    const auto status = StatusFrames(bench.Run(150 * kMs, 0));
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.back().record[25], 13);
    EXPECT_EQ(status.back().record[26], 14);
    EXPECT_EQ(status.back().record[27], 25);
    EXPECT_EQ(status.back().record[28], 26);
}

// --- FPGA load -----------------------------------------------------------

TEST(SimulatedLinkFpga, PlaceholderImageConfiguresAndAnotherDoesNot) {
    Bench bench;
    auto status = StatusFrames(bench.Run(150 * kMs, 0));
    ASSERT_FALSE(status.empty());
    EXPECT_NE(status.back().record[2], 0xA5) << "not configured at power-on";

    bench.LoadPlaceholder();
    EXPECT_TRUE(bench.link.FpgaConfigured());
    status = StatusFrames(bench.Run(150 * kMs, 0));
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.back().record[2], 0xA5);
    EXPECT_EQ(status.back().record[3], 12) << "FPGA version";

    std::vector<std::uint8_t> wrong(EmbeddedFpgaImage().begin(), EmbeddedFpgaImage().end());
    wrong[5] = 0x98;  // a broken sync word
    bench.LoadFpga(wrong);
    EXPECT_FALSE(bench.link.FpgaConfigured());
    status = StatusFrames(bench.Run(150 * kMs, 0));
    ASSERT_FALSE(status.empty());
    EXPECT_NE(status.back().record[2], 0xA5);
}

TEST(SimulatedLinkFpga, UploadBrokenOffByACommandLeavesTheFpgaUnconfigured) {
    Bench bench;
    bench.LoadPlaceholder();
    ASSERT_TRUE(bench.link.FpgaConfigured());
    bench.Start();
    bench.Write(FpgaLoadCommand().view());
    EXPECT_FALSE(bench.link.FpgaConfigured()) << "the load command drops the old configuration";
    std::vector<std::uint8_t> half(2 * 1000);
    NibbleEncode(EmbeddedFpgaImage().first(1000), half.data());
    bench.Write(half);
    const std::uint8_t seq = bench.Send(RegisterSetup{});
    EXPECT_EQ(bench.link.LastCmdSeq(), seq)
        << "the settings command after the broken upload applies";
    EXPECT_FALSE(bench.link.FpgaConfigured());
    const std::vector<std::uint8_t> rest(2 * (kFpgaImageSize - 1000), 0x0F);
    bench.Write(rest);
    EXPECT_FALSE(bench.link.FpgaConfigured()) << "the rest of the image alone is not an upload";
}

// --- Status frames -------------------------------------------------------

TEST(SimulatedLinkStatus, RecordDescribesTheInstrument) {
    Bench bench;
    bench.LoadPlaceholder();
    const auto frames = bench.Run(1000 * kMs, 0);
    const auto status = StatusFrames(frames);
    EXPECT_EQ(status.size(), 10u) << "ten a second";
    EXPECT_EQ(DataFrames(frames).size(), 0u) << "no settings, no data";
    for (const Frame& f : status) EXPECT_TRUE(f.checksumOk);
    const Frame& s = status.back();
    EXPECT_EQ(s.record[0], 7) << "firmware version";
    EXPECT_EQ(s.record[1], 0) << "power good";
    EXPECT_EQ(s.Record16(4), 31u) << "model";
    EXPECT_EQ(s.Record32(17), 40123u);
    EXPECT_EQ(s.Record16(21), 1u);
    EXPECT_EQ(s.record[25], 20);
    EXPECT_EQ(s.record[26], 19);
    EXPECT_EQ(s.record[27], 21);
    EXPECT_EQ(s.record[28], 18);
    EXPECT_EQ(s.Record16(49), 512u);
    EXPECT_EQ(s.Record16(49) * 660 / 1023, 330u) << "3.30 V";
}

TEST(SimulatedLinkStatus, ModelAndSupplyAreConfigurable) {
    for (const std::int32_t model : {28, 25, 31, 0x1234}) {
        SimInstrumentConfig config;
        config.ModelCode = model;
        config.VccRaw = 480;
        Bench bench(config);
        const auto status = StatusFrames(bench.Run(100 * kMs, 0));
        ASSERT_EQ(status.size(), 1u);
        EXPECT_EQ(status[0].Record16(4), static_cast<std::uint32_t>(model));
        EXPECT_EQ(status[0].Record16(49), 480u);
    }
    // Chosen while running, the model shows in the status and the echo.
    Bench bench;
    bench.LoadPlaceholder();
    const RegisterSetup setup;
    bench.Send(setup);
    bench.link.SetModelCode(28);
    const auto frames = bench.Run(100 * kMs, setup.sampleCount);
    ASSERT_FALSE(DataFrames(frames).empty());
    EXPECT_EQ(DataFrames(frames).back().Echo16(66), 28u);
    EXPECT_EQ(StatusFrames(frames).back().Record16(4), 28u);
}

struct MeterCase {
    std::uint8_t source;
    double genHz;
    std::uint8_t trigFlags;
    double expectedHz;
};

TEST(SimulatedLinkStatus, FrequencyMeterCountsWholePeriodsOfTheSelectedInput) {
    const MeterCase cases[] = {
        {1, 1000.0, 0, 1000.0},                              // generator on A1
        {1, 12345.6, 0, 12345.6},   {2, 1000.0, 0, 1000.0},  // A2 bench sine
        {3, 1000.0, 0, 10000.0},                             // D1
        {4, 1000.0, 0, 3200.0},                              // D2
        {5, 1000.0, 0, 1250.0},                              // D1 through the divider by 8
        {6, 1000.0, 0, 400.0},                               // D2 / 8
        {7, 1000.0, 0x04, 1000.0},                           // the trigger source: A2
        {7, 1000.0, 0x02, 10000.0},                          // the trigger source: D1
    };
    for (const MeterCase& c : cases) {
        Bench bench;
        bench.LoadPlaceholder();
        RegisterSetup setup;
        setup.run = false;
        setup.fmSource = c.source;
        setup.genHz = c.genHz;
        setup.trigFlags = c.trigFlags;
        bench.Send(setup);
        for (const Frame& s : StatusFrames(bench.Run(500 * kMs, 0))) {
            EXPECT_EQ(s.record[7], c.source);
            const double count = s.Record32(8), gate = s.Record32(12);
            ASSERT_GT(count, 1.0) << int(c.source);
            ASSERT_GT(gate, 0.0);
            EXPECT_NEAR((count - 1) * 1e8 / gate, c.expectedHz, c.expectedHz * 2e-6)
                << int(c.source);
            EXPECT_GE(gate, 0.09e8) << "a gate of about a tenth of a second";
        }
    }
}

TEST(SimulatedLinkStatus, FrequencyMeterReportsNothingWithoutASignal) {
    Bench bench;
    bench.LoadPlaceholder();
    RegisterSetup setup;
    setup.run = false;
    setup.genHz = 0.0;  // output off
    bench.Send(setup);
    const auto status = StatusFrames(bench.Run(300 * kMs, 0));
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.back().Record32(8), 0u);
    EXPECT_EQ(status.back().Record32(12), 0u);
}

// --- Faults --------------------------------------------------------------

TEST(SimulatedLinkFaults, CorruptedChecksumsHitTheNextFramesOnly) {
    Bench bench;
    bench.LoadPlaceholder();
    bench.Send(RegisterSetup{});
    bench.Drain();
    bench.link.CorruptChecksums(3);
    const auto frames = bench.Run(200 * kMs, 2000);
    ASSERT_GT(frames.size(), 5u);
    for (std::size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(frames[i].checksumOk, i >= 3) << "frame " << i;
}

TEST(SimulatedLinkFaults, DroppedBytesAreMissingFromTheStream) {
    Bench clean, faulty;
    for (Bench* b : {&clean, &faulty}) {
        b->LoadPlaceholder();
        b->Send(RegisterSetup{});
        b->Drain();
    }
    faulty.link.DropBytes(10, 500);
    clean.link.AdvanceTime(100 * kMs);
    faulty.link.AdvanceTime(100 * kMs);
    std::vector<std::uint8_t> expected = clean.ReadAll();
    const std::vector<std::uint8_t> got = faulty.ReadAll();
    ASSERT_GT(expected.size(), 510u);
    expected.erase(expected.begin() + 500, expected.begin() + 510);
    EXPECT_EQ(got, expected);
    std::size_t broken = 0;
    const auto frames = SplitFrames(got, 2000, false, &broken);
    EXPECT_EQ(broken, 1u);
}

TEST(SimulatedLinkFaults, SplitReadsDeliverSmallPieces) {
    Bench bench;
    bench.link.AdvanceTime(300 * kMs);
    bench.link.SetReadChunkLimit(7);
    std::vector<std::uint8_t> all, buffer(65000);
    for (std::uint32_t got = 0;; all.insert(all.end(), buffer.begin(), buffer.begin() + got)) {
        ASSERT_EQ(bench.link.Read(bench.handle, buffer.data(), 65000, got), kUsbOk);
        ASSERT_LE(got, 7u);
        if (got == 0) break;
    }
    const auto frames = SplitFrames(all, 0, false);
    EXPECT_EQ(frames.size(), 3u);
    for (const Frame& f : frames) EXPECT_TRUE(f.checksumOk);
}

TEST(SimulatedLinkFaults, UnpluggedEveryCallFailsUntilReplugged) {
    Bench bench;
    bench.LoadPlaceholder();
    bench.Send(RegisterSetup{});
    bench.link.Unplug();
    std::uint32_t n = 0, a = 0, b = 0, c = 0;
    std::uint8_t buffer[2] = {};
    EXPECT_EQ(bench.link.GetQueueStatus(bench.handle, n), kUsbIoError);
    EXPECT_EQ(bench.link.GetStatus(bench.handle, a, b, c), kUsbIoError);
    EXPECT_EQ(bench.link.Read(bench.handle, buffer, 2, n), kUsbIoError);
    EXPECT_EQ(bench.link.Write(bench.handle, buffer, 2, n), kUsbIoError);
    EXPECT_EQ(bench.link.Purge(bench.handle, 3), kUsbIoError);
    EXPECT_EQ(bench.link.ResetPort(bench.handle), kUsbIoError);
    std::uint32_t count = 1;
    EXPECT_EQ(bench.link.ListDeviceCount(count), kUsbOk);
    EXPECT_EQ(count, 0u);
    UsbHandle h = kNoHandle;
    EXPECT_EQ(bench.link.OpenByLocation(SimulatedLink::kLocation, h), kUsbDeviceNotFound);
    bench.link.AdvanceTime(500 * kMs);
    EXPECT_EQ(bench.link.Counters().StatusFramesSent, 0);

    bench.link.Replug();
    EXPECT_EQ(bench.link.GetQueueStatus(bench.handle, n), kUsbIoError)
        << "the old handle stays dead";
    EXPECT_EQ(bench.link.Close(bench.handle), kUsbIoError);
    EXPECT_EQ(bench.link.Close(bench.handle), kUsbInvalidHandle);
    EXPECT_EQ(bench.link.ListDeviceCount(count), kUsbOk);
    EXPECT_EQ(count, 1u);
    ASSERT_EQ(bench.link.OpenByLocation(SimulatedLink::kLocation, h), kUsbOk);
    EXPECT_FALSE(bench.link.FpgaConfigured()) << "power was lost with the cable";
    EXPECT_EQ(bench.link.Registers(), DeviceSettings{});
    bench.handle = h;
    const auto status = StatusFrames(bench.Run(150 * kMs, 0));
    ASSERT_EQ(status.size(), 1u);
    EXPECT_NE(status[0].record[2], 0xA5);
}

TEST(SimulatedLinkFaults, PowerFailureShowsInTheStatus) {
    Bench bench;
    bench.LoadPlaceholder();
    bench.link.SetPowerFailure(true);
    auto status = StatusFrames(bench.Run(200 * kMs, 0));
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.back().record[1], 2);
    bench.link.SetPowerFailure(false);
    status = StatusFrames(bench.Run(200 * kMs, 0));
    ASSERT_FALSE(status.empty());
    EXPECT_NE(status.back().record[1], 2);
}

TEST(SimulatedLinkFaults, LostConfigurationStopsDataUntilTheNextLoad) {
    Bench bench;
    bench.LoadPlaceholder();
    const RegisterSetup setup;
    bench.Send(setup);
    ASSERT_FALSE(DataFrames(bench.Run(100 * kMs, setup.sampleCount)).empty());
    bench.link.LoseFpgaConfiguration();
    auto frames = bench.Run(300 * kMs, setup.sampleCount);
    EXPECT_TRUE(DataFrames(frames).empty());
    ASSERT_FALSE(StatusFrames(frames).empty());
    EXPECT_NE(StatusFrames(frames).back().record[2], 0xA5);
    bench.LoadPlaceholder();
    frames = bench.Run(300 * kMs, setup.sampleCount);
    EXPECT_FALSE(DataFrames(frames).empty());
    EXPECT_EQ(StatusFrames(frames).back().record[2], 0xA5);
}

TEST(SimulatedLinkFaults, SilentMicrocontrollerSendsNoStatus) {
    Bench bench;
    bench.LoadPlaceholder();
    const RegisterSetup setup;
    bench.Send(setup);
    bench.link.SetMicrocontrollerSilent(true);
    auto frames = bench.Run(500 * kMs, setup.sampleCount);
    EXPECT_TRUE(StatusFrames(frames).empty());
    EXPECT_FALSE(DataFrames(frames).empty()) << "the FPGA still sends data";
    bench.link.SetMicrocontrollerSilent(false);
    frames = bench.Run(500 * kMs, setup.sampleCount);
    EXPECT_EQ(StatusFrames(frames).size(), 5u);
}

// --- Real-time clock -----------------------------------------------------

TEST(SimulatedLinkRealTime, FramesArriveAndTheEventIsSet) {
    SimulatedLink link;  // real-time clock
    UsbHandle h = kNoHandle;
    ASSERT_EQ(link.OpenByLocation(SimulatedLink::kLocation, h), kUsbOk);
    ManualResetEvent event;
    ASSERT_EQ(link.SetEventNotification(h, kEventRxChar, &event), kUsbOk);
    std::uint8_t seq = 0;
    std::uint32_t n = 0;
    const std::uint8_t start = kCommandStart;
    ASSERT_EQ(link.Write(h, &start, 1, n), kUsbOk);
    const EncodedCommand load = FpgaLoadCommand();
    ASSERT_EQ(link.Write(h, load.bytes.data(), static_cast<std::uint32_t>(load.size), n), kUsbOk);
    std::vector<std::uint8_t> image(2 * kFpgaImageSize);
    NibbleEncode(EmbeddedFpgaImage(), image.data());
    ASSERT_EQ(link.Write(h, image.data(), static_cast<std::uint32_t>(image.size()), n), kUsbOk);
    const RegisterSetup setup;
    const EncodedCommand settings = SettingsCommand(setup.Image(), seq, nullptr);
    ASSERT_EQ(link.Write(h, &start, 1, n), kUsbOk);
    ASSERT_EQ(link.Write(h, settings.bytes.data(), static_cast<std::uint32_t>(settings.size), n),
              kUsbOk);

    std::vector<std::uint8_t> stream, buffer(65000);
    bool data = false, status = false;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!(data && status) && std::chrono::steady_clock::now() < giveUp) {
        if (!event.Wait(std::chrono::milliseconds(500))) continue;
        event.Reset();
        std::uint32_t got = 0;
        ASSERT_EQ(link.Read(h, buffer.data(), 65000, got), kUsbOk);
        stream.insert(stream.end(), buffer.begin(), buffer.begin() + got);
        for (const Frame& f : SplitFrames(stream, setup.sampleCount, false)) {
            (f.status ? status : data) = true;
            EXPECT_TRUE(f.checksumOk);
        }
    }
    EXPECT_TRUE(data);
    EXPECT_TRUE(status);
    EXPECT_EQ(link.Close(h), kUsbOk);
}

}  // namespace
}  // namespace qx40
