#include "device/command_framing.h"

#include <gtest/gtest.h>

#include <vector>

namespace qx40 {
namespace {

// Reverses the nibble encoding, checking that no byte exceeds 0x0F.
std::vector<std::uint8_t> Decode(std::span<const std::uint8_t> encoded) {
    std::vector<std::uint8_t> body;
    for (std::size_t i = 0; i + 1 < encoded.size(); i += 2) {
        EXPECT_LE(encoded[i], 0x0F);
        EXPECT_LE(encoded[i + 1], 0x0F);
        body.push_back(static_cast<std::uint8_t>(encoded[i + 1] << 4 | encoded[i]));
    }
    return body;
}

DeviceSettings NumberedImage() {
    DeviceSettings image;
    for (std::size_t i = 0; i < image.reg.size(); ++i) image.reg[i] = static_cast<std::uint8_t>(0xF0 ^ i);
    return image;
}

TEST(NibbleEncode, LowNibbleFirst) {
    const std::uint8_t in[] = {0x00, 0xFA, 0x5C, 0xFF};
    std::uint8_t out[8];
    NibbleEncode(in, out);
    const std::uint8_t expected[] = {0x0, 0x0, 0xA, 0xF, 0xC, 0x5, 0xF, 0xF};
    EXPECT_TRUE(std::equal(std::begin(out), std::end(out), std::begin(expected)));
}

TEST(SettingsCommand, FourSegmentsOfTheRegisterImage) {
    const DeviceSettings image = NumberedImage();
    std::uint8_t seq = 41;
    const EncodedCommand command = SettingsCommand(image, seq, nullptr);
    EXPECT_EQ(seq, 42);
    ASSERT_EQ(command.size, 156u);

    const std::vector<std::uint8_t> b = Decode(command.view());
    ASSERT_EQ(b.size(), 78u);
    EXPECT_EQ(b[0], 77);
    EXPECT_EQ(b[1], 4);
    EXPECT_EQ(b[2], 30);
    EXPECT_EQ(b[3], 0x7F);
    EXPECT_EQ(b[4], 0);
    std::size_t at = 2;
    for (auto [count, start] : {std::pair{30, 0}, {1, 48}, {8, 69}, {24, 96}}) {
        EXPECT_EQ(b[at], count);
        EXPECT_EQ(b[at + 1], 0x7F);
        EXPECT_EQ(b[at + 2], start);
        for (int i = 0; i < count; ++i) {
            const std::uint8_t expected = start + i == 69 ? 42 : image.reg[static_cast<std::size_t>(start + i)];
            EXPECT_EQ(b[at + 3 + static_cast<std::size_t>(i)], expected) << "register " << start + i;
        }
        at += 3 + static_cast<std::size_t>(count);
    }
    EXPECT_EQ(at, 77u);
    EXPECT_EQ(b[77], XorChecksum({b.data(), 77}));
}

TEST(SettingsCommand, TdcSegmentGoesToCalibrationMemory) {
    std::uint8_t seq = 0;
    const TdcBytes tdc = {17, 18, 19, 20};
    const EncodedCommand command = SettingsCommand(NumberedImage(), seq, &tdc);
    ASSERT_EQ(command.size, 170u);
    const std::vector<std::uint8_t> b = Decode(command.view());
    EXPECT_EQ(b[0], 84);
    EXPECT_EQ(b[1], 5);
    const std::vector<std::uint8_t> segment(b.begin() + 77, b.begin() + 84);
    EXPECT_EQ(segment, (std::vector<std::uint8_t>{4, 0x80, 8, 17, 18, 19, 20}));
    EXPECT_EQ(b[84], XorChecksum({b.data(), 84}));
}

TEST(SettingsCommand, SequenceWrapsAt256) {
    std::uint8_t seq = 255;
    const EncodedCommand command = SettingsCommand(DeviceSettings{}, seq, nullptr);
    EXPECT_EQ(seq, 0);
    const std::vector<std::uint8_t> b = Decode(command.view());
    EXPECT_EQ(b[2 + 33 + 4 + 3], 0);  // register 69, first of segment 3
}

TEST(FpgaLoadCommand, ExactBytes) {
    const EncodedCommand command = FpgaLoadCommand();
    const std::vector<std::uint8_t> sent(command.view().begin(), command.view().end());
    EXPECT_EQ(sent, (std::vector<std::uint8_t>{0x06, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x08, 0x0A, 0x0A, 0x05,
                                               0x05, 0x08, 0x07}));
}

}  // namespace
}  // namespace qx40
