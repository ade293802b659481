// Where the main window opens on the desktop: at its saved place while the
// user can still reach it there, else on a screen it fits.
#pragma once

#include <cstdint>
#include <span>

namespace qx40 {

struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const WindowRect&) const = default;
};

// screens: the available areas of the screens, the primary first. The saved
// rectangle stays as it is when a strip along its top edge, where the title
// bar is grabbed, lies on a screen that the whole window fits. Otherwise it
// goes to the screen that holds that strip, or else the one it overlaps
// most, or else the primary: shrunk to that screen where it is larger, and
// moved no further than needed to lie wholly on it. No screens: as saved.
WindowRect VisibleWindowRect(const WindowRect& saved, std::span<const WindowRect> screens);

}  // namespace qx40
