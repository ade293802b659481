#include "files/program_paths.h"

#include <unistd.h>

#include <filesystem>

namespace qx40 {

std::string ConfigDir(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome && *xdgConfigHome) return (std::filesystem::path(xdgConfigHome) / "qx40").string();
    return (std::filesystem::path(home && *home ? home : ".") / ".config" / "qx40").string();
}

std::string ProgramSettingsPath(const std::string& executablePath, const std::string& configDir) {
    namespace fs = std::filesystem;
    const fs::path exe(executablePath);
    const fs::path name = exe.stem().string() + ".ini";
    const fs::path beside = exe.parent_path() / name;
    std::error_code ec;
    const fs::path folder = exe.parent_path().empty() ? fs::path(".") : exe.parent_path();
    if (fs::exists(beside, ec) || ::access(folder.c_str(), W_OK) == 0) return beside.string();
    return (fs::path(configDir) / name).string();
}

}  // namespace qx40
