// qx40cli screenshot: the oscilloscope screen as the window draws it, from
// a data file or from a frame of the instrument, saved as a BMP or PNG file
// by the output's extension.
#pragma once

#include <ostream>
#include <span>
#include <string>

#include "device/usb/usb_link.h"

namespace qx40 {

struct ScreenshotOptions {
    std::string programSettingsPath;  // the window's qx40.ini, for a frame of the instrument
    std::string settingsPath;         // a .qxs file applied as the window would, or empty
    std::string inputPath;     // a .qxd file; empty: take a frame from the instrument
    int width = 563;           // the paint area of the window at its design size
    int height = 367;
    double timeoutSeconds = 10.0;
    std::string outputPath;
};

// What `qx40cli screenshot --help` prints.
std::string ScreenshotHelp();

// link is only used without an input file. One line on err per failure;
// the exit codes of the command-line tool.
int RunScreenshot(const ScreenshotOptions& options, UsbLink* link, std::span<const std::uint8_t> fpgaImage,
                  bool placeholderImage, std::ostream& err);

}  // namespace qx40
