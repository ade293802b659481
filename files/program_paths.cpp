#include "files/program_paths.h"

#include <unistd.h>

#include <filesystem>
#include <optional>

namespace qx40 {
namespace {

namespace fs = std::filesystem;

// The prefix whose bin/ holds the executable, when share/qx40/ is beside it.
std::optional<fs::path> InstallPrefix(const fs::path& executableDir) {
    fs::path bin = executableDir.lexically_normal();
    if (!bin.has_filename()) bin = bin.parent_path();  // a trailing separator
    if (bin.filename() != "bin") return std::nullopt;
    const fs::path prefix = bin.parent_path();
    std::error_code ec;
    if (!fs::is_directory(prefix / "share" / "qx40", ec)) return std::nullopt;
    return prefix;
}

fs::path FolderOf(const fs::path& executable) {
    return executable.parent_path().empty() ? fs::path(".") : executable.parent_path();
}

}  // namespace

std::string ConfigDir(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome && *xdgConfigHome) return (fs::path(xdgConfigHome) / "qx40").string();
    return (fs::path(home && *home ? home : ".") / ".config" / "qx40").string();
}

std::string SystemDataDir(const std::string& executableDir) {
    const auto prefix = InstallPrefix(executableDir);
    return prefix ? (*prefix / "share" / "qx40").string() : std::string();
}

std::string SharedSettingsPath(const std::string& executablePath, const std::string& configDir) {
    return ProgramSettingsPath((fs::path(executablePath).parent_path() / "qx40").string(), configDir);
}

std::string ProgramSettingsPath(const std::string& executablePath, const std::string& configDir) {
    const fs::path exe(executablePath);
    const fs::path name = exe.stem().string() + ".ini";
    const fs::path folder = FolderOf(exe);
    if (InstallPrefix(folder)) return (fs::path(configDir) / name).string();
    const fs::path beside = exe.parent_path() / name;
    std::error_code ec;
    if (fs::exists(beside, ec) || ::access(folder.c_str(), W_OK) == 0) return beside.string();
    return (fs::path(configDir) / name).string();
}

std::string HelpPagePath(const std::string& executablePath, bool russian) {
    const fs::path exe(executablePath);
    const auto prefix = InstallPrefix(FolderOf(exe));
    const fs::path folder = prefix ? *prefix / "share" / "doc" / "qx40" : exe.parent_path();
    const fs::path russianPage = folder / (exe.stem().string() + ".ru.html");
    std::error_code ec;
    if (russian && fs::exists(russianPage, ec)) return russianPage.string();
    return (folder / (exe.stem().string() + ".html")).string();
}

}  // namespace qx40
