#include "resources/fpga_image.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace qx40 {
namespace {

using testing_support::TempDir;

TEST(FpgaImage, EmbeddedPlaceholder) {
    const auto image = EmbeddedFpgaImage();
    ASSERT_EQ(image.size(), kFpgaImageSize);
    const std::uint8_t header[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xAA, 0x99, 0x55, 0x66};
    EXPECT_TRUE(std::equal(std::begin(header), std::end(header), image.begin()));
    EXPECT_TRUE(IsPlaceholderFpgaImage(image));
}

TEST(FpgaImage, BuiltInWhenNoFileIsFound) {
    TempDir dir;
    const FpgaImageLoad load = LoadFpgaImage("", dir.File("exe"), dir.File("config"));
    EXPECT_EQ(load.error, FpgaImageError::None);
    EXPECT_TRUE(load.image.placeholder);
    EXPECT_TRUE(load.image.source.empty());
    EXPECT_EQ(load.image.bytes.size(), kFpgaImageSize);
}

TEST(FpgaImage, OverridesInOrder) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "exe");
    std::filesystem::create_directories(dir.Path() / "config");
    const std::string real(kFpgaImageSize, '\x5A');
    dir.Write("config/qx40_fpga.bin", real);
    FpgaImageLoad load = LoadFpgaImage("", dir.File("exe"), dir.File("config"));
    EXPECT_EQ(load.image.source, dir.File("config/qx40_fpga.bin"));
    EXPECT_FALSE(load.image.placeholder);
    EXPECT_EQ(load.image.bytes[100], 0x5A);

    dir.Write("exe/qx40_fpga.bin", std::string(kFpgaImageSize, '\x11'));
    load = LoadFpgaImage("", dir.File("exe"), dir.File("config"));
    EXPECT_EQ(load.image.source, dir.File("exe/qx40_fpga.bin"));

    // The system folder of an installed program comes after the user's own.
    std::filesystem::create_directories(dir.Path() / "system");
    dir.Write("system/qx40_fpga.bin", std::string(kFpgaImageSize, '\x33'));
    load = LoadFpgaImage("", dir.File("none"), dir.File("config"), dir.File("system"));
    EXPECT_EQ(load.image.source, dir.File("config/qx40_fpga.bin"));
    std::filesystem::remove(dir.File("config/qx40_fpga.bin"));
    load = LoadFpgaImage("", dir.File("none"), dir.File("config"), dir.File("system"));
    EXPECT_EQ(load.image.source, dir.File("system/qx40_fpga.bin"));
    EXPECT_EQ(load.image.bytes[0], 0x33);

    dir.Write("chosen.bin", std::string(kFpgaImageSize, '\x22'));
    load = LoadFpgaImage(dir.File("chosen.bin"), dir.File("exe"), dir.File("config"));
    EXPECT_EQ(load.image.bytes[0], 0x22);
}

TEST(FpgaImage, WrongSizeOrUnreadableIsAnErrorNotAFallback) {
    TempDir dir;
    dir.Write("short.bin", std::string(100, '\0'));
    FpgaImageLoad load = LoadFpgaImage(dir.File("short.bin"), "", "");
    EXPECT_EQ(load.error, FpgaImageError::WrongSize);
    EXPECT_EQ(load.actualSize, 100u);
    EXPECT_TRUE(load.image.bytes.empty());
    EXPECT_EQ(FpgaImageErrorText(load, false), dir.File("short.bin") + "\r\nWrong FPGA image size (bytes): 100 / 102016");

    dir.Write("long.bin", std::string(kFpgaImageSize + 1, '\0'));
    EXPECT_EQ(LoadFpgaImage(dir.File("long.bin"), "", "").error, FpgaImageError::WrongSize);

    load = LoadFpgaImage(dir.File("missing.bin"), "", "");
    EXPECT_EQ(load.error, FpgaImageError::Unreadable);
    EXPECT_NE(FpgaImageErrorText(load, true).find("образ FPGA"), std::string::npos);
}

}  // namespace
}  // namespace qx40
