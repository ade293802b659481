// The FPGA configuration image sent at every connection. The build carries
// a placeholder of the right size; the instrument maker's image overrides it
// at run time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qx40 {

inline constexpr std::size_t kFpgaImageSize = 102016;
inline constexpr const char* kFpgaImageFileName = "qx40_fpga.bin";

std::span<const std::uint8_t> EmbeddedFpgaImage();
bool IsPlaceholderFpgaImage(std::span<const std::uint8_t> image);

struct FpgaImage {
    std::vector<std::uint8_t> bytes;
    std::string source;  // the file it came from, empty for the built-in one
    bool placeholder = false;
};

enum class FpgaImageError { None, Unreadable, WrongSize };

struct FpgaImageLoad {
    FpgaImage image;
    FpgaImageError error = FpgaImageError::None;
    std::string path;           // the file that failed
    std::size_t actualSize = 0;
};

// The image to use: explicitPath when given, else qx40_fpga.bin in
// executableDir, else in configDir (the user's), else in systemDir (an
// installed program's share/qx40, for every user), else the built-in
// placeholder. A file that cannot be read or has another size is an error,
// never a fallback.
FpgaImageLoad LoadFpgaImage(const std::string& explicitPath, const std::string& executableDir,
                            const std::string& configDir, const std::string& systemDir = {});

std::string FpgaImageErrorText(const FpgaImageLoad& load, bool russian);
// Said when the placeholder would go to a real instrument.
std::string PlaceholderRefusalText(const std::string& executableDir, const std::string& configDir, bool russian);

}  // namespace qx40
