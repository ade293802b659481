#include "device/command_sender.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/command_framing.h"
#include "device/usb/fake_link.h"

namespace qx40 {
namespace {

std::vector<std::uint8_t> TestImage(std::size_t size) {
    std::vector<std::uint8_t> image(size);
    for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::uint8_t>(i * 7 + (i >> 9));
    return image;
}

std::vector<std::uint8_t> Decode(const std::vector<std::uint8_t>& encoded) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i + 1 < encoded.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(encoded[i + 1] << 4 | encoded[i]));
    return out;
}

class CommandSenderTest : public testing::Test {
protected:
    CommandSenderTest() {
        fake.AddDevice({.location = 0x21, .description = "Digital Oscilloscope QX40"});
        EXPECT_EQ(fake.OpenByLocation(0x21, handle), kUsbOk);
    }
    CommandSender Sender(std::span<const std::uint8_t> image = {}) {
        return CommandSender(fake, shared, image, [this](std::chrono::milliseconds ms) { slept.push_back(ms); });
    }

    FakeLink fake;
    SharedLink shared;
    UsbHandle handle = kNoHandle;
    std::vector<std::chrono::milliseconds> slept;
};

TEST_F(CommandSenderTest, SendSettingsOrderAndSequence) {
    DeviceSettings image;
    image.reg[reg::kSampleDivider] = 200;
    CommandSender sender = Sender();
    sender.SendSettings(handle, image);
    sender.SendSettings(handle, image);
    EXPECT_EQ(sender.CmdSeq(), 2);

    const auto writes = fake.Writes();
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_EQ(writes[0], std::vector<std::uint8_t>{0xFA});
    EXPECT_EQ(writes[1].size(), 156u);
    const std::vector<std::uint8_t> body = Decode(writes[3]);
    EXPECT_EQ(body[2 + 3 + 4], 200);      // register 4
    EXPECT_EQ(body[42], 2);               // register 69: the new CmdSeq
    EXPECT_EQ(fake.Purges(), (std::vector<std::uint32_t>{kPurgeTx, kPurgeRx, kPurgeTx, kPurgeRx}));
    EXPECT_EQ(shared.flags.LastUsbStatus, kUsbOk);
}

TEST_F(CommandSenderTest, TdcRequestAddsSegmentOnce) {
    shared.mailbox.PublishTdc({20, 21, 22, 23});
    shared.flags.TdcWriteRequest = true;
    shared.flags.TdcValid = true;
    CommandSender sender = Sender();
    sender.SendSettings(handle, DeviceSettings{});
    sender.SendSettings(handle, DeviceSettings{});
    const auto writes = fake.Writes();
    EXPECT_EQ(writes[1].size(), 170u);
    EXPECT_EQ(writes[3].size(), 156u);
    EXPECT_FALSE(shared.flags.TdcWriteRequest);
    EXPECT_FALSE(shared.flags.TdcValid);
}

TEST_F(CommandSenderTest, SendSettingsWriteErrorIsRecorded) {
    fake.FailWriteCall(1, kUsbIoError);
    Sender().SendSettings(handle, DeviceSettings{});
    EXPECT_EQ(shared.flags.LastUsbStatus, kUsbIoError);
}

// The FPGA answers with a status frame once the image is in.
class FpgaLoadTest : public CommandSenderTest {
protected:
    std::function<void()> ReadAndParse(bool statusArrives, bool configured) {
        return [=, this] {
            ++reads;
            shared.flags.StatusSeen = statusArrives;
            shared.flags.DeviceReady = configured;
        };
    }
    static bool Never() { return false; }
    int reads = 0;
};

TEST_F(FpgaLoadTest, UploadsTheWholeImageInChunks) {
    const std::vector<std::uint8_t> image = TestImage(102016);
    Sender(image).LoadFpga(handle, ReadAndParse(true, true), Never);

    const auto writes = fake.Writes();
    ASSERT_EQ(writes.size(), 2u + 200u);  // start byte, load command, 199 full chunks and a short one
    EXPECT_EQ(writes[0], std::vector<std::uint8_t>{0xFA});
    const EncodedCommand load = FpgaLoadCommand();
    EXPECT_EQ(writes[1], std::vector<std::uint8_t>(load.view().begin(), load.view().end()));
    EXPECT_EQ(writes[2].size(), 1024u);
    EXPECT_EQ(writes.back().size(), 2u * (102016 - 199 * 512));

    std::vector<std::uint8_t> uploaded;
    for (std::size_t i = 2; i < writes.size(); ++i) uploaded.insert(uploaded.end(), writes[i].begin(), writes[i].end());
    EXPECT_EQ(Decode(uploaded), image);
    EXPECT_EQ(fake.Purges(), (std::vector<std::uint32_t>{kPurgeRx | kPurgeTx, kPurgeRx}));
    EXPECT_EQ(slept, (std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(200), std::chrono::milliseconds(200)}));
    EXPECT_EQ(reads, 1);
    EXPECT_FALSE(shared.flags.ErrNoStatus);
    EXPECT_FALSE(shared.flags.ErrFpgaConfig);
    EXPECT_TRUE(shared.flags.RedrawRequest);
}

TEST_F(FpgaLoadTest, PartialWritesAreCompletedByRewrites) {
    const std::vector<std::uint8_t> image = TestImage(5000);
    fake.SetWriteLimit(300);
    Sender(image).LoadFpga(handle, ReadAndParse(true, true), Never);

    const auto writes = fake.Writes();
    std::vector<std::uint8_t> uploaded;
    std::size_t calls = 0;
    for (std::size_t i = 2; i < writes.size(); ++i, ++calls) {
        EXPECT_LE(writes[i].size(), 300u);
        uploaded.insert(uploaded.end(), writes[i].begin(), writes[i].end());
    }
    EXPECT_EQ(Decode(uploaded), image);
    EXPECT_EQ(calls, 9u * 4u + 3u);  // nine 1024-byte chunks in four writes each, then 784 bytes in three
    EXPECT_TRUE(shared.flags.RedrawRequest);
}

// A failed upload must reach the supervision; a silent end would leave a
// window that never shows a frame.
TEST_F(FpgaLoadTest, WriteErrorIsAConfigurationFailure) {
    const std::vector<std::uint8_t> image = TestImage(102016);
    fake.FailWriteCall(10, kUsbIoError);
    Sender(image).LoadFpga(handle, ReadAndParse(false, false), Never);
    EXPECT_EQ(fake.Writes().size(), 10u);
    EXPECT_EQ(reads, 0);
    EXPECT_FALSE(shared.flags.ErrNoStatus);
    EXPECT_TRUE(shared.flags.ErrFpgaConfig);
    EXPECT_EQ(shared.flags.LastUsbStatus, kUsbIoError);
    EXPECT_TRUE(shared.flags.RedrawRequest);
}

TEST_F(FpgaLoadTest, StopEndsTheUploadBetweenChunksWithoutAFlag) {
    const std::vector<std::uint8_t> image = TestImage(102016);
    int asked = 0;
    Sender(image).LoadFpga(handle, ReadAndParse(true, true), [&asked] { return ++asked > 3; });
    EXPECT_EQ(fake.Writes().size(), 2u + 3u);  // start byte, load command, three chunks
    EXPECT_EQ(reads, 0);
    EXPECT_FALSE(shared.flags.ErrFpgaConfig);
    EXPECT_FALSE(shared.flags.ErrNoStatus);
}

// Writes that accept nothing: a few in a row are waited out, a run of
// kMaxStalledWrites is a dead device.
TEST_F(FpgaLoadTest, ShortStallIsWaitedOut) {
    const std::vector<std::uint8_t> image = TestImage(2048);
    for (std::size_t i = 2; i < 2 + CommandSender::kMaxStalledWrites - 1; ++i) fake.FailWriteCall(i, kUsbOk);
    Sender(image).LoadFpga(handle, ReadAndParse(true, true), Never);
    EXPECT_EQ(fake.WrittenBytes().size(), 1u + 14u + 4096u);
    EXPECT_TRUE(shared.flags.RedrawRequest);
}

TEST_F(FpgaLoadTest, StalledDeviceEndsTheUploadAsAFailure) {
    const std::vector<std::uint8_t> image = TestImage(2048);
    for (std::size_t i = 2; i < 2 + CommandSender::kMaxStalledWrites; ++i) fake.FailWriteCall(i, kUsbOk);
    Sender(image).LoadFpga(handle, ReadAndParse(true, true), Never);
    EXPECT_EQ(reads, 0);
    EXPECT_TRUE(shared.flags.ErrFpgaConfig);
    EXPECT_EQ(shared.flags.LastUsbStatus, kUsbIoError);
}

TEST_F(FpgaLoadTest, AStatusFromBeforeTheLoadDoesNotCount) {
    shared.flags.StatusSeen = true;
    shared.flags.DeviceReady = true;
    const std::vector<std::uint8_t> image = TestImage(1024);
    Sender(image).LoadFpga(handle, [this] { ++reads; }, Never);  // the answer never comes
    EXPECT_TRUE(shared.flags.ErrNoStatus);
    EXPECT_FALSE(shared.flags.DeviceReady);
}

TEST_F(FpgaLoadTest, ClassifiesTheAnswer) {
    struct Case {
        bool status, ready, errNoStatus, errConfig;
    };
    for (const Case c : {Case{false, false, true, false}, Case{true, false, false, true}, Case{true, true, false, false}}) {
        shared.flags.ErrNoStatus = false;
        shared.flags.ErrFpgaConfig = false;
        const std::vector<std::uint8_t> image = TestImage(1024);
        Sender(image).LoadFpga(handle, ReadAndParse(c.status, c.ready), Never);
        EXPECT_EQ(shared.flags.ErrNoStatus, c.errNoStatus);
        EXPECT_EQ(shared.flags.ErrFpgaConfig, c.errConfig);
    }
}

}  // namespace
}  // namespace qx40
