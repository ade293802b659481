// qx40cli calibrate: the window's three calibrations from a script. zero
// and tdc run the procedures on the instrument; fm sets the frequency
// meter's correction. zero and fm write the program settings file in place
// (every other key, comment and line of it stays); tdc stores its result in
// the instrument.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "device/usb/usb_link.h"

namespace qx40 {

enum class CalibrateKind { Zero, Tdc, Fm };

struct CalibrateOptions {
    CalibrateKind kind = CalibrateKind::Zero;
    std::string device;    // zero and tdc: the --device value
    std::string fpgaPath;  // zero and tdc
    std::string iniPath;   // the program settings file
    double timeoutSeconds = 60.0;
    std::int32_t ppmSteps = 0;  // fm: Time, 0.2 ppm each
    bool progress = false;      // a progress line on err (a terminal)
};

// What `qx40cli calibrate --help` prints.
std::string CalibrateHelp();

// The arguments after "calibrate" into options, whose device and iniPath
// hold their defaults; kExitOk, or kExitUsage after one line on err.
int ParseCalibrateOptions(const std::vector<std::string>& args, CalibrateOptions& options, std::ostream& err);

// fm: Time into the program settings file, "Time=N" on out.
int RunCalibrateFm(const CalibrateOptions& options, std::ostream& out, std::ostream& err);

// zero and tdc on the instrument behind link: the results as KEY=VALUE lines
// on out, one line on err per failure, the exit codes of the tool.
int RunCalibrate(const CalibrateOptions& options, UsbLink& link, std::span<const std::uint8_t> fpgaImage,
                 bool placeholderImage, std::ostream& out, std::ostream& err);

}  // namespace qx40
