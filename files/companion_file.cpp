#include "files/companion_file.h"

#include <filesystem>

namespace qx40 {

std::string CompanionPath(const std::string& path, const char* extension) {
    std::filesystem::path companion(path);
    if (companion.extension() == extension) return path + extension;
    return companion.replace_extension(extension).string();
}

bool MayReplace(UserDialogs& dialogs, const std::string& caption, const std::string& path,
                bool russian) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return true;
    const std::string text =
        path + Tr(russian, "\r\nThe file already exists. Replace existing file?",
                  " уже существует.\r\nЗаменить?");
    return dialogs.Show({caption, text, MessageIcon::Warning, MessageButtons::YesNo}) ==
           MessageAnswer::Yes;
}

std::string CantWriteText(const std::string& path, bool russian) {
    return path + Tr(russian, "\r\nCan't open file for writing.", "\r\nНет доступа к файлу.");
}

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace qx40
