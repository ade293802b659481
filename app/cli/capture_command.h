// qx40cli capture: opens the instrument, loads the FPGA, applies a settings
// file, presses RUN (or SINGLE), waits for frames and saves the last one as
// a data file.
#pragma once

#include <ostream>
#include <span>
#include <string>

#include "device/usb/usb_link.h"

namespace qx40 {

// Exit codes of the command-line tool.
enum CliExit : int { kExitOk = 0, kExitUsage = 2, kExitDevice = 3, kExitTimeout = 4, kExitFile = 5 };

struct CaptureOptions {
    std::string settingsPath;  // a .qxs file, or empty
    int frames = 1;
    double timeoutSeconds = 10.0;
    std::string outputPath;
    bool single = false;
};

// Every failure prints one line on err and returns its exit code.
int RunCapture(const CaptureOptions& options, UsbLink& link, std::span<const std::uint8_t> fpgaImage,
               bool placeholderImage, std::ostream& err);

}  // namespace qx40
