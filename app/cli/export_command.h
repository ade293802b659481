// qx40cli export: a data file written in one of the export formats, by the
// same writers as the window's Export menu.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace qx40 {

struct ExportOptions {
    std::string inputPath;     // the .qxd file
    std::string settingsPath;  // a .qxs file applied as the window would, or empty
    std::string format;        // an ExportFormats() id
    int width = 1280;          // picture formats
    int height = 720;
    std::string outputPath;
};

// What `qx40cli export --help` prints, every format included.
std::string ExportHelp();

// The options after "export"; kExitOk, or a usage exit code after one line on err.
int ParseExportOptions(const std::vector<std::string>& args, ExportOptions& options,
                       std::ostream& err);

// Existing files are replaced, a companion text file too. Channels are named
// by the file's model. One line on err per failure; the exit codes of the
// command-line tool.
int RunExport(const ExportOptions& options, std::ostream& err);

}  // namespace qx40
