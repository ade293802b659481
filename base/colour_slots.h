// The twelve colours the display draws with, each 0x00BBGGRR, named by the
// keys under which the settings file keeps them in section Colors.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace qx40 {

enum class ColourSlot : std::uint8_t {
    CH_A1, CH_A2, CH_D1, CH_D2, Background, Border,
    Markers, Grid, Grid_Frame, Trig_Pos, FFT, Extra_Info,
};
inline constexpr std::size_t kColourSlotCount = 12;

inline constexpr std::array<std::string_view, kColourSlotCount> kColourSlotKeys = {
    "CH_A1", "CH_A2",   "CH_D1", "CH_D2",      "Background", "Border",
    "Markers", "Grid", "Grid_Frame", "Trig_Pos", "FFT",        "Extra_Info",
};

inline constexpr std::array<std::uint32_t, kColourSlotCount> kDefaultColours = {
    0x00FF00, 0x00FFFF, 0xFFFF00, 0xFF00FF, 0x000000, 0x000000,
    0x808080, 0x800000, 0xC08000, 0x808000, 0xFF00FF, 0xC08000,
};

struct ColourSlots {
    std::array<std::uint32_t, kColourSlotCount> values = kDefaultColours;

    std::uint32_t operator[](ColourSlot s) const { return values[static_cast<std::size_t>(s)]; }
    std::uint32_t& operator[](ColourSlot s) { return values[static_cast<std::size_t>(s)]; }
    void SetDefaultColours() { values = kDefaultColours; }
    bool operator==(const ColourSlots&) const = default;
};

}  // namespace qx40
