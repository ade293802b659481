// What every command that writes a file beside another one shares: the
// companion's name, the question before replacing an existing file, and the
// text of a file that cannot be written.
#pragma once

#include <string>

#include "base/user_dialogs.h"

namespace qx40 {

// path with its extension replaced by extension (".txt"). When path already
// ends in it, extension is appended instead, so the companion never replaces
// the file it describes.
std::string CompanionPath(const std::string& path, const char* extension);

// True when path does not exist or the user answers Yes to replacing it
// (Yes/No, warning icon, under caption).
bool MayReplace(UserDialogs& dialogs, const std::string& caption, const std::string& path,
                bool russian);

// path followed by "\r\nCan't open file for writing." in the language asked for.
std::string CantWriteText(const std::string& path, bool russian);

// The name without its folder.
std::string FileNameOf(const std::string& path);

}  // namespace qx40
