// Helpers for the simulated-instrument tests: talk to the instrument the way
// the program does (the program's command framing), and split what it sends
// into frames with a decoder of the tests' own, so that the instrument is
// checked against the frame format rather than against the program's
// receiver.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "calibration/zero_offset_code.h"
#include "device/command_framing.h"
#include "device/device_settings.h"
#include "device/usb/sim/simulated_link.h"
#include "generator/generator_words.h"
#include "resources/fpga_image.h"

namespace qx40::sim_test {

inline constexpr std::int64_t kMs = 1000;  // AdvanceTime takes microseconds

// A register image built field by field, so that each test says exactly
// what the instrument is asked to do.
struct RegisterSetup {
    std::int32_t sampleCount = 2000;
    std::int32_t pre = 200;
    std::uint32_t divider = 1;
    std::uint8_t enable = 0x01;  // A1
    bool run = true;
    std::uint8_t chanMode = 0;
    std::uint8_t trigFlags = 0;
    std::uint8_t trigCount = 0;
    std::uint8_t low[2] = {120, 120};
    std::uint8_t high[2] = {136, 136};
    std::uint8_t rollFlags = 0;
    std::uint8_t gain[2] = {7, 7};  // 1 V/div
    std::uint16_t offset[2] = {2048, 2048};
    std::uint8_t frameMs = 10;
    std::uint8_t fmSource = 1;
    // Generator: a sine of freqHz, peak to peak mVpp; 0 Hz: output off.
    double genHz = 1000.0;
    std::int32_t genMvpp = 2000;
    std::uint8_t genMode = 0;
    std::uint8_t genShape = 0x50;  // sine carrier, constant modulating signal
    std::uint64_t genSecond = 0;
    std::uint64_t genFreqWord = 0;  // when set, used instead of genHz

    DeviceSettings Image() const {
        DeviceSettings s;
        s.reg[reg::kTrigFlags] = trigFlags;
        s.reg[reg::kChanMode] = chanMode;
        s.reg[reg::kFixed3] = 4;
        s.Put<4>(reg::kSampleDivider, divider);
        s.Put<2>(reg::kPreTrigCount, static_cast<std::uint64_t>(pre));
        s.Put<2>(reg::kPostTrigCount, static_cast<std::uint64_t>(sampleCount - pre));
        s.reg[reg::kA1Low] = low[0];
        s.reg[reg::kA1High] = high[0];
        s.reg[reg::kA2Low] = low[1];
        s.reg[reg::kA2High] = high[1];
        s.reg[reg::kTriggerCount] = trigCount;
        s.reg[reg::kChanEnable] = static_cast<std::uint8_t>(enable | (run ? kEnableRun : 0));
        s.reg[reg::kRollFlags] = rollFlags;
        s.reg[reg::kFreqMeterSource] = fmSource;
        s.reg[reg::kGainCodeA1] =
            static_cast<std::uint8_t>(gain[0] | (genHz <= 0.0 && genFreqWord == 0 ? 0x08 : 0));
        s.reg[reg::kGainCodeA2] = gain[1];
        s.Put<2>(reg::kOffsetA1, offset[0]);
        s.Put<2>(reg::kOffsetA2, offset[1]);
        s.reg[reg::kFrameInterval] = frameMs;
        s.reg[reg::kGenMode] = genMode;
        s.reg[reg::kGenShape] = genShape;
        const std::uint64_t word =
            genFreqWord
                ? genFreqWord
                : static_cast<std::uint64_t>(std::llround(genHz * 10.0 * kPhasePerDeciHertz));
        s.Put<6>(reg::kGenFrequency, word);
        s.Put<6>(reg::kGenSecond, genSecond);
        s.Put<2>(reg::kGenAmplitude, static_cast<std::uint64_t>(genMvpp + 1));
        return s;
    }
};

// One frame as the instrument sent it.
struct Frame {
    bool status = false;
    bool checksumOk = false;
    std::uint8_t header = 0;
    std::vector<std::uint8_t> samples;
    std::array<std::uint8_t, 128> echo{};
    std::array<std::uint8_t, 51> record{};

    std::uint32_t Echo16(std::size_t at) const {
        return static_cast<std::uint32_t>(echo[at] | echo[at + 1] << 8);
    }
    std::uint32_t Echo32(std::size_t at) const { return Echo16(at) | Echo16(at + 2) << 16; }
    std::uint32_t Record16(std::size_t at) const {
        return static_cast<std::uint32_t>(record[at] | record[at + 1] << 8);
    }
    std::uint32_t Record32(std::size_t at) const { return Record16(at) | Record16(at + 2) << 16; }
};

// Sample bytes that follow a data header, from the header's channel bits.
inline std::size_t SampleBytesFor(std::uint8_t header, std::int32_t sampleCount, bool single) {
    const auto n = static_cast<std::size_t>(sampleCount);
    const std::size_t bytes = n * static_cast<std::size_t>(std::popcount(header & 0x03u)) +
                              n / 4 * static_cast<std::size_t>(std::popcount(header & 0x0Cu));
    return single ? bytes / 2 : bytes;
}

// Splits a byte stream into frames. A frame cut short by the next 0xFF (or
// by the end) is counted in broken and not returned.
inline std::vector<Frame> SplitFrames(std::span<const std::uint8_t> bytes, std::int32_t sampleCount,
                                      bool single, std::size_t* broken = nullptr) {
    std::vector<Frame> frames;
    std::size_t at = 0, cut = 0;
    const auto nibbles = [&](std::size_t from, std::size_t count, std::uint8_t* out) {
        for (std::size_t i = 0; i < count; ++i)
            out[i] = static_cast<std::uint8_t>(bytes[from + 2 * i + 1] << 4 |
                                               (bytes[from + 2 * i] & 0x0F));
    };
    while (at < bytes.size()) {
        if (bytes[at] != 0xFF) {
            ++at;
            continue;
        }
        if (at + 1 >= bytes.size()) {
            ++cut;
            break;
        }
        Frame f;
        f.header = bytes[at + 1];
        f.status = f.header == 0x5A;
        const std::size_t body =
            f.status ? 102 : SampleBytesFor(f.header, sampleCount, single) + 256;
        const std::size_t end = at + 2 + body;  // the checksum's index
        std::size_t next = at + 1;
        while (next < bytes.size() && next <= end && bytes[next] != 0xFF) ++next;
        if (next <= end || (!f.status && !(f.header & 0x80))) {
            ++cut;
            at = next;
            continue;
        }
        std::uint8_t check = 0;
        for (std::size_t i = at + 1; i < end; ++i) check ^= bytes[i];
        if (check == 0xFF) check = 0xFE;
        f.checksumOk = check == bytes[end];
        if (f.status) {
            nibbles(at + 2, 51, f.record.data());
        } else {
            const std::size_t e = body - 256;
            f.samples.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at + 2),
                             bytes.begin() + static_cast<std::ptrdiff_t>(at + 2 + e));
            nibbles(at + 2 + e, 128, f.echo.data());
        }
        frames.push_back(std::move(f));
        at = end + 1;
    }
    if (broken) *broken = cut;
    return frames;
}

inline std::vector<Frame> DataFrames(const std::vector<Frame>& frames) {
    std::vector<Frame> out;
    for (const Frame& f : frames)
        if (!f.status) out.push_back(f);
    return out;
}

inline std::vector<Frame> StatusFrames(const std::vector<Frame>& frames) {
    std::vector<Frame> out;
    for (const Frame& f : frames)
        if (f.status) out.push_back(f);
    return out;
}

// Per raw sample of a data frame, channel by channel, as the packing puts them.
inline std::array<std::vector<int>, 4> Unpack(const Frame& f, std::int32_t sampleCount,
                                              std::array<bool, 4> present) {
    std::array<std::vector<int>, 4> out;
    std::size_t at = 0;
    int bits = 0;
    std::vector<int> pending;  // logic bits of the current byte, in order
    for (std::int32_t i = 0; i < sampleCount; ++i) {
        for (std::size_t c = 0; c < 2; ++c)
            if (present[c]) out[c].push_back(f.samples.at(at++));
        bits += (present[2] ? 1 : 0) + (present[3] ? 1 : 0);
        if (bits < 4) continue;
        const std::uint8_t x = f.samples.at(at++);
        for (int b = 3; b >= 0;) {
            for (std::size_t c = 2; c < 4; ++c)
                if (present[c]) out[c].push_back((x >> b--) & 1);
        }
        bits = 0;
    }
    return out;
}

// The offset code the program would send to put a channel's zero line at
// zero, for an instrument calibrated as z.
inline std::uint16_t OffsetFor(std::int32_t zero, int channel, std::int32_t microVolts,
                               const SimZeroCalibration& z) {
    CalibrateSection cal;
    cal.Z_A1P1 = cal.Z_A2P1 = z.P1;
    cal.Z_A1P2 = cal.Z_A2P2 = z.P2;
    cal.Z_A1SH = cal.Z_A2SH = z.SH;
    return static_cast<std::uint16_t>(ZeroOffsetCode(zero, channel, microVolts, cal));
}

// A channel's samples in time order: the ring rotated so that the trigger
// sample Tp lands at index pre.
inline std::vector<int> TimeOrder(const std::vector<int>& ring, std::size_t tp, std::size_t pre) {
    std::vector<int> out(ring.size());
    for (std::size_t k = 0; k < ring.size(); ++k)
        out[(pre + k) % ring.size()] = ring[(tp + k) % ring.size()];
    return out;
}

// The instrument at the other end of the link, opened and configured as the
// program opens it, on the manual clock.
class Bench {
public:
    explicit Bench(SimInstrumentConfig config = {}) : link(Options(config)) {
        EXPECT_EQ(link.OpenByLocation(SimulatedLink::kLocation, handle), kUsbOk);
        EXPECT_EQ(link.Purge(handle, kPurgeRx | kPurgeTx), kUsbOk);
    }

    static SimulatedLinkOptions Options(const SimInstrumentConfig& config) {
        SimulatedLinkOptions o;
        o.Clock = SimClockMode::Manual;
        o.Instrument = config;
        return o;
    }

    void Write(std::span<const std::uint8_t> bytes) {
        std::uint32_t written = 0;
        ASSERT_EQ(
            link.Write(handle, bytes.data(), static_cast<std::uint32_t>(bytes.size()), written),
            kUsbOk);
        ASSERT_EQ(written, bytes.size());
    }
    void Start() {
        const std::uint8_t start = kCommandStart;
        Write({&start, 1});
    }
    // The FPGA load command followed by the image, in 512-byte chunks as the
    // program sends it.
    void LoadFpga(std::span<const std::uint8_t> image) {
        Start();
        Write(FpgaLoadCommand().view());
        std::vector<std::uint8_t> chunk;
        for (std::size_t at = 0; at < image.size(); at += 512) {
            const std::size_t n = std::min<std::size_t>(512, image.size() - at);
            chunk.resize(2 * n);
            NibbleEncode(image.subspan(at, n), chunk.data());
            Write(chunk);
        }
    }
    void LoadPlaceholder() { LoadFpga(EmbeddedFpgaImage()); }
    std::uint8_t Send(const RegisterSetup& setup) { return Send(setup.Image()); }
    std::uint8_t Send(const DeviceSettings& image) {
        Start();
        Write(SettingsCommand(image, seq, nullptr).view());
        return seq;
    }
    std::vector<std::uint8_t> ReadAll() {
        std::vector<std::uint8_t> out;
        std::uint32_t rx = 0, tx = 0, ev = 0;
        EXPECT_EQ(link.GetStatus(handle, rx, tx, ev), kUsbOk);
        out.resize(rx);
        std::uint32_t got = 0;
        if (rx) {
            EXPECT_EQ(link.Read(handle, out.data(), rx, got), kUsbOk);
        }
        out.resize(got);
        return out;
    }
    // Runs the instrument and splits what it sent.
    std::vector<Frame> Run(std::int64_t microseconds, std::int32_t sampleCount,
                           bool single = false) {
        link.AdvanceTime(microseconds);
        const auto bytes = ReadAll();
        return SplitFrames(bytes, sampleCount, single);
    }
    void Drain() { EXPECT_EQ(link.Purge(handle, kPurgeRx), kUsbOk); }

    SimulatedLink link;
    UsbHandle handle = kNoHandle;
    std::uint8_t seq = 0;
};

}  // namespace qx40::sim_test
