// A piece of text placed on the screen: what the read-outs produce and the
// canvas prints, so that their content can be checked without fonts.
#pragma once

#include <cstdint>
#include <string>

namespace qx40 {

// The two faces of the screen layout.
enum class FontName : std::uint8_t { Arial, MsSansSerif };

struct ScreenText {
    std::string Text;  // UTF-8
    std::int32_t X = 0;  // left of the text cell
    std::int32_t Y = 0;  // top of the text cell
    std::uint32_t Colour = 0;  // 0x00BBGGRR
    FontName Font = FontName::MsSansSerif;
    std::int32_t PixelHeight = 13;
    bool Transparent = false;  // otherwise the cell is filled with the Border colour

    bool operator==(const ScreenText&) const = default;
};

}  // namespace qx40
