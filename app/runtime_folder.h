// The private folder the single-instance socket lives in. Only a folder that
// no other user can enter or replace keeps a stranger from listening in our
// place or from planting a socket for us to talk to.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace qx40 {

// A real folder (not a symbolic link) owned by uid, with no access at all for
// its group or others.
bool IsPrivateFolder(const std::string& path, uid_t uid);

// $XDG_RUNTIME_DIR when it names a private folder of uid; otherwise
// "<tempBase>/qx40-<uid>", created (mode 0700) when missing. Nothing when
// that folder cannot be made or is not private (someone else's, a link, open
// to others): the program then goes without a single instance.
std::optional<std::string> RuntimeFolder(const char* xdgRuntimeDir, const std::string& tempBase,
                                         uid_t uid);

}  // namespace qx40
