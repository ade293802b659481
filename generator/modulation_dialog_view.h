// What the generator modulation dialog shows of the modulation fields,
// without the widgets: which button of each group is down when it opens,
// the captions in both languages, the enables, the sine forced at the high
// ranges and the modulating waveform that follows the buttons.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "scope/scope_state.h"

namespace qx40 {

// The down button of each exclusive group, by its index in the group.
struct ModulationButtons {
    std::size_t Type = 0;    // SpeedButton_AM, _FM, _Sum
    std::size_t Source = 0;  // SpeedButton_Int_Src, _ESrc_A1, _ESrc_A2, _ESrc_D1, _ESrc_D2
    // SpeedButton_MF_10K .. SpeedButton_MF_50M, then SpeedButton_MF_Noise,
    // which belongs to this group.
    std::size_t Range = 0;
    // SpeedButton_MF_Sin, _MF_Rect, _MF_Trian, _MF_Up_Trian, _MF_Dn_Trian.
    std::size_t Waveform = 0;
    std::size_t Deviation = 0;  // SpeedButton_Dev_10K, _Dev_100K

    bool operator==(const ModulationButtons&) const = default;
};

inline constexpr std::size_t kModulationNoiseButton = 5;  // in the range group
inline constexpr std::size_t kModulation10MButton = 3;
inline constexpr std::size_t kModulation50MButton = 4;

struct ModulationDialogLoad {
    ModulationButtons Buttons;
    bool SourceA2Visible = true;
    bool SourceD2Visible = true;
    bool Range50MVisible = false;
};

// FormShow: the buttons for the fields. A field that holds no button's
// value leaves its group as it was shown before; 50M shows as 10M without
// the extended range.
ModulationDialogLoad LoadModulationDialog(const GeneratorSection& g, std::int32_t deviceTypeCode,
                                          bool extendedRange, const ModulationButtons& shown);

// The multiplier of a range button (not the noise button).
std::int32_t ModulationMultiplierOf(std::size_t rangeButton);

struct ModulationDialogView {
    std::string ModFreq;                        // Label_ModFreq
    std::string ModK;                           // Label_Mod_K
    std::string DevFM;                          // Label_Dev_FM
    std::string SumLev;                         // Label_Sum_Lev
    std::array<std::string_view, 2> Deviation;  // SpeedButton_Dev_10K, _Dev_100K
    // Label_ModFreq, the range buttons with noise and both frequency bars.
    bool FrequencyEnabled = true;
    std::array<bool, 5> WaveformEnabled{};
    bool ModKEnabled = false;    // Label_Mod_K, ScrollBar_Mod_K
    bool DevFMEnabled = false;   // Label_Dev_FM, both deviation buttons, ScrollBar_Dev_FM
    bool SumLevEnabled = false;  // Label_Sum_Lev, ScrollBar_Sum_Lev
};

// UpdateGenSetView: forces sine at 10M and 50M, then sets MF_Shape from the
// buttons, and says what the dialog shows.
ModulationDialogView UpdateModulationDialog(GeneratorSection& g, ModulationButtons& buttons,
                                            bool russian, char decimalSeparator = '.');

// The captions that do not follow the fields, in one language and for one
// model ("A" and "D" on a model without the second channel of that kind).
struct ModulationDialogCaptions {
    std::string_view Window;
    std::string_view ModType;  // Label_Mod_Type
    std::array<std::string_view, 3> Types;
    std::string_view ModSource;  // Label_Mod_Src
    std::array<std::string_view, 5> Sources;
    std::string_view Inversion;              // CheckBox_Inv
    std::array<std::string_view, 6> Ranges;  // with the noise button last
    std::string_view Ok;
    std::string_view Cancel;
};
ModulationDialogCaptions ModulationDialogCaptionsOf(bool russian, std::int32_t deviceTypeCode);

}  // namespace qx40
