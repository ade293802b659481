#include "resources/fpga_image.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "files/file_io.h"

extern "C" const std::uint8_t qx40_fpga_image_begin[];
extern "C" const std::uint8_t qx40_fpga_image_end[];

namespace qx40 {
namespace {

constexpr std::string_view kPlaceholderMarker = "QX40 PLACEHOLDER FPGA IMAGE";
constexpr std::size_t kMarkerOffset = 8;  // after the dummy and sync words

bool Exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

FpgaImageLoad FromFile(const std::string& path) {
    FpgaImageLoad load;
    std::string data;
    if (!ReadWholeFile(path, data)) {
        load.error = FpgaImageError::Unreadable;
        load.path = path;
        return load;
    }
    if (data.size() != kFpgaImageSize) {
        load.error = FpgaImageError::WrongSize;
        load.path = path;
        load.actualSize = data.size();
        return load;
    }
    load.image.bytes.assign(data.begin(), data.end());
    load.image.source = path;
    load.image.placeholder = IsPlaceholderFpgaImage(load.image.bytes);
    return load;
}

}  // namespace

std::span<const std::uint8_t> EmbeddedFpgaImage() {
    return {qx40_fpga_image_begin, static_cast<std::size_t>(qx40_fpga_image_end - qx40_fpga_image_begin)};
}

bool IsPlaceholderFpgaImage(std::span<const std::uint8_t> image) {
    if (image.size() < kMarkerOffset + kPlaceholderMarker.size()) return false;
    return std::equal(kPlaceholderMarker.begin(), kPlaceholderMarker.end(), image.begin() + kMarkerOffset);
}

FpgaImageLoad LoadFpgaImage(const std::string& explicitPath, const std::string& executableDir,
                            const std::string& configDir, const std::string& systemDir) {
    if (!explicitPath.empty()) return FromFile(explicitPath);
    for (const std::string& dir : {executableDir, configDir, systemDir}) {
        if (dir.empty()) continue;
        const std::string candidate = (std::filesystem::path(dir) / kFpgaImageFileName).string();
        if (Exists(candidate)) return FromFile(candidate);
    }
    FpgaImageLoad load;
    const auto embedded = EmbeddedFpgaImage();
    load.image.bytes.assign(embedded.begin(), embedded.end());
    load.image.placeholder = IsPlaceholderFpgaImage(embedded);
    return load;
}

std::string FpgaImageErrorText(const FpgaImageLoad& load, bool russian) {
    if (load.error == FpgaImageError::Unreadable)
        return load.path + (russian ? "\r\nНе удаётся прочитать образ FPGA." : "\r\nCan't read the FPGA image.");
    if (load.error == FpgaImageError::WrongSize) {
        const std::string sizes = std::to_string(load.actualSize) + " / " + std::to_string(kFpgaImageSize);
        return load.path + (russian ? "\r\nНеверный размер образа FPGA (байт): " : "\r\nWrong FPGA image size (bytes): ") +
               sizes;
    }
    return {};
}

std::string PlaceholderRefusalText(const std::string& executableDir, const std::string& configDir, bool russian) {
    const std::string where = executableDir + " , " + configDir;
    if (russian)
        return "Программа собрана без образа FPGA изготовителя прибора.\r\nПоместите его в файл " +
               std::string(kFpgaImageFileName) + " в одной из папок: " + where + "\r\nили укажите --fpga-image.";
    return "This build carries no FPGA image of the instrument maker.\r\nPut it in " +
           std::string(kFpgaImageFileName) + " in one of: " + where + "\r\nor pass --fpga-image.";
}

}  // namespace qx40
