// Whole-file reads and crash-safe writes: a file is written under a
// temporary name in its own folder and renamed over the target, so a crash
// never leaves half a file.
#pragma once

#include <string>
#include <string_view>

namespace qx40 {

// False (and out untouched) when the file cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& out);

// On failure returns false with the reason in error; nothing on disk changes.
//
// A new file gets the permissions the user's umask leaves of 0666. A file
// that is replaced keeps its permissions and, where we may give it away
// (root), its owner and group. A symbolic link is followed to its final
// target, which is written (created, when the link dangles) in its own
// folder; the link stays. Anything but a regular file there (a folder, a
// device, a pipe) is refused rather than replaced.
bool WriteFileAtomically(const std::string& path, std::string_view data, std::string& error);

}  // namespace qx40
