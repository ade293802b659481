// Every export the program offers, listed once, so that the window's Export
// menu and qx40cli export --format offer the same writers. A new format is a
// writer in its own file and one entry here.
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "base/user_dialogs.h"
#include "files/export_job.h"

namespace qx40 {

// The screen picture, drawn only when a picture format asks for it: the
// window's off-screen bitmap as last drawn, or qx40cli's rendering of the file.
using ScreenPicture = std::function<QImage()>;

struct ExportFormat {
    std::string_view id;           // qx40cli export --format
    std::string_view description;  // its line in qx40cli export --help
    std::string_view extension;    // the save dialog's default, without the dot
    std::string_view menuItem;     // objectName of the window's Export menu item
    std::string (*title)(bool russian,
                         std::int32_t modelCode);  // save dialog title, caption of its boxes
    std::string (*filter)(bool russian);           // save dialog filter
    // False: "No data for writing." at once, before any dialog.
    bool (*hasData)(const SampleRecord& record);
    ExportResult (*write)(const ExportJob& job, const ScreenPicture& screen);
};

std::span<const ExportFormat> ExportFormats();
const ExportFormat* FindExportFormat(std::string_view id);

// The format of a menu item for the file the user chose: the item's format
// whose extension the name has, else the item's first (Image: BMP unless
// the name ends in ".png").
const ExportFormat* ExportFormatFor(std::string_view menuItem, const std::string& path);

// The save dialog of a format. recordFileName is the main record's file name
// while it shows a file (proposed with the format's extension), else empty
// ("*.ext" is proposed).
FileRequest ExportFileRequest(const ExportFormat& format, bool russian, std::int32_t modelCode,
                              const std::string& folder, const std::string& recordFileName);

}  // namespace qx40
