#include "app/runtime_folder.h"

#include <sys/stat.h>

namespace qx40 {

bool IsPrivateFolder(const std::string& path, uid_t uid) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid &&
           (st.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

std::optional<std::string> RuntimeFolder(const char* xdgRuntimeDir, const std::string& tempBase,
                                         uid_t uid) {
    // Relative values are not meant for us (the variable must be absolute).
    if (xdgRuntimeDir && xdgRuntimeDir[0] == '/' && IsPrivateFolder(xdgRuntimeDir, uid))
        return std::string(xdgRuntimeDir);
    const std::string own = tempBase + "/qx40-" + std::to_string(uid);
    ::mkdir(own.c_str(), 0700);  // an existing one is checked like a new one
    if (!IsPrivateFolder(own, uid)) return std::nullopt;
    return own;
}

}  // namespace qx40
