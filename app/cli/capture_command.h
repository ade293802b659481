// qx40cli capture: opens the instrument, loads the FPGA, applies a settings
// file, presses RUN (or SINGLE), waits for frames and saves the last one as
// a data file.
#pragma once

#include <ostream>
#include <span>
#include <string>

#include "app/cli/cli_exit.h"
#include "device/usb/usb_link.h"

namespace qx40 {

struct CaptureOptions {
    std::string programSettingsPath;  // the window's qx40.ini, or empty
    std::string settingsPath;         // a .qxs file, or empty
    int frames = 1;
    double timeoutSeconds = 10.0;
    std::string outputPath;
    bool single = false;
    bool generatorOn = false;  // the generator output on (settings files do not keep it)
};

// What `qx40cli capture --help` prints.
std::string CaptureHelp();

// Every failure prints one line on err and returns its exit code.
int RunCapture(const CaptureOptions& options, UsbLink& link, std::span<const std::uint8_t> fpgaImage,
               bool placeholderImage, std::ostream& err);

}  // namespace qx40
