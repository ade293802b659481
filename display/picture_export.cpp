#include "display/picture_export.h"

#include <QBuffer>
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "files/file_io.h"

namespace qx40 {

std::optional<PictureEncoding> PictureEncodingOf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".bmp") return PictureEncoding::Bmp;
    if (extension == ".png") return PictureEncoding::Png;
    return std::nullopt;
}

ExportResult WritePicture(const std::string& path, const QImage& image, PictureEncoding encoding) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ExportResult result;
    bool written = false;
    if (image.isNull() || !image.save(&buffer, encoding == PictureEncoding::Png ? "PNG" : "BMP"))
        result.reason = "cannot encode the image";
    else
        written = WriteFileAtomically(
            path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
            result.reason);
    if (!written) {
        result.status = ExportStatus::CantWrite;
        result.failedPath = path;
    }
    return result;
}

}  // namespace qx40
