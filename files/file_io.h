// Whole-file reads and crash-safe writes: a file is written under a
// temporary name in its own folder and renamed over the target, so a crash
// never leaves half a file.
#pragma once

#include <string>
#include <string_view>

namespace qx40 {

// False (and out untouched) when the file cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& out);

// On failure returns false with the reason in error; the target is untouched.
bool WriteFileAtomically(const std::string& path, std::string_view data, std::string& error);

}  // namespace qx40
