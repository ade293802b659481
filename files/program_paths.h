// Where the program keeps its settings file and looks for the FPGA image.
#pragma once

#include <string>

namespace qx40 {

// $XDG_CONFIG_HOME/qx40, or ~/.config/qx40 when it is not set.
std::string ConfigDir(const char* xdgConfigHome, const char* home);

// The executable's name with ".ini" beside the executable when that file
// exists or the folder is writable, else the same name in configDir.
std::string ProgramSettingsPath(const std::string& executablePath, const std::string& configDir);

}  // namespace qx40
