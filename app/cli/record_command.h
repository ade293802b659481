// qx40cli record: the window's recorder for scripts. Runs the instrument in
// roll mode and writes A1 to the recorder's data file, for a time, up to a
// size, or until SIGINT or SIGTERM, then its companion text file.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "device/usb/usb_link.h"

namespace qx40 {

struct RecordOptions {
    std::string device;               // --device as given; empty: $QX40_DEVICE, else auto
    std::string fpgaImagePath;        // --fpga-image as given
    std::string iniPath;              // --ini as given
    std::string programSettingsPath;  // the program settings file read
    std::string settingsPath;         // a .qxs file, or empty
    double seconds = 0;               // the recording's length; 0: bytes decides
    std::uint64_t bytes = 0;          // the data file's size; 0: seconds decides
    bool russian = false;             // the language of the companion text file
    bool generatorOn = false;         // the generator output on (settings files do not keep it)
    double timeoutSeconds = 10.0;     // for the first frame
    std::string outputPath;
    bool progress = false;  // a progress line on err (when it is a terminal)
};

// What `qx40cli record --help` prints.
std::string RecordHelp();

// The options after "record"; kExitOk, or a usage exit code after one line
// on err.
int ParseRecordOptions(const std::vector<std::string>& args, RecordOptions& options,
                       std::ostream& err);

// Settings that do not give roll mode are refused with the recorder's
// refusal. stopRequested is asked while recording: true stops as the Stop
// button does. Losing the instrument keeps what was received and writes the
// companion too. One line on err per failure; the exit codes of the
// command-line tool.
int RunRecord(const RecordOptions& options, UsbLink& link, std::span<const std::uint8_t> fpgaImage,
              bool placeholderImage, const std::function<bool()>& stopRequested, std::ostream& err);

}  // namespace qx40
