// Where the program keeps its settings file and finds its own files.
//
// A build tree keeps everything beside the executable. An installed program
// (its executable in a bin/ folder with share/qx40/ beside that folder) finds
// its files under that prefix, whatever the prefix and wherever DESTDIR put
// it, and writes only into the user's configuration folder.
#pragma once

#include <string>

namespace qx40 {

// $XDG_CONFIG_HOME/qx40, or ~/.config/qx40 when it is not set.
std::string ConfigDir(const char* xdgConfigHome, const char* home);

// <prefix>/share/qx40 of an installed program, else empty.
std::string SystemDataDir(const std::string& executableDir);

// An installed program: the executable's name with ".ini" in configDir.
// Otherwise that name beside the executable when that file exists or the
// folder is writable, else in configDir.
std::string ProgramSettingsPath(const std::string& executablePath, const std::string& configDir);

// The window's program settings file, which qx40cli beside it shares: as
// ProgramSettingsPath for "qx40" in the folder of executablePath.
std::string SharedSettingsPath(const std::string& executablePath, const std::string& configDir);

// The user guide, the executable's name with ".html" (".ru.html" for the
// Russian one when it exists): in <prefix>/share/doc/qx40 for an installed
// program, else beside the executable.
std::string HelpPagePath(const std::string& executablePath, bool russian);

}  // namespace qx40
