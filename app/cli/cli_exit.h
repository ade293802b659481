// Exit codes of the command-line tool.
#pragma once

namespace qx40 {

enum CliExit : int {
    kExitOk = 0,
    kExitUsage = 2,        // usage, or a settings file refused
    kExitDevice = 3,       // device not found or failed
    kExitTimeout = 4,      // no frame in time
    kExitFile = 5,         // a file cannot be read or written
    kExitNoData = 6,       // nothing to write
    kExitCalibration = 7,  // a calibration failed
};

}  // namespace qx40
