// The screen picture as a file: a Windows bitmap or a PNG image, chosen by
// the caller (qx40cli) or by the name's extension (the window's Image
// export, qx40cli screenshot).
#pragma once

#include <QImage>
#include <optional>
#include <string>

#include "files/export_job.h"

namespace qx40 {

enum class PictureEncoding { Bmp, Png };

// By the extension, in any case: ".bmp" or ".png"; nothing for any other.
std::optional<PictureEncoding> PictureEncodingOf(const std::string& path);

// Encodes image and writes it under a temporary name renamed over the
// target. CantWrite with the reason when either step fails.
ExportResult WritePicture(const std::string& path, const QImage& image, PictureEncoding encoding);

}  // namespace qx40
