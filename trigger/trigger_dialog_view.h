// What the trigger settings dialog shows of the trigger state, without the
// widgets: the three-state boxes, the push between the pulse-time limits,
// the captions in both languages and which controls are enabled or shown.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scope/scope_state.h"

namespace qx40 {

// A box that may also be grayed; the values are the modes they stand for.
enum class BoxState : std::uint8_t { Unchecked = 0, Grayed = 1, Checked = 2 };

// PTMode and Slew_Mode: 0 off, 1 grayed, anything else checked.
BoxState ModeBoxState(std::int32_t mode);
std::int32_t ModeOfBox(BoxState s);

// The level boxes, bit 0 A1 .. bit 3 D2: unchecked "any", grayed '0',
// checked '1'.
inline constexpr std::size_t kLevelBoxCount = 4;
BoxState LevelBoxState(const TriggerSection& t, std::size_t bit);
void SetLevelBox(TriggerSection& t, std::size_t bit, BoxState s);

// The pulse-time limits after one bar moved: the other gives way, so that
// the lower limit stays below the upper one.
struct PulseTimeLimits {
    std::int32_t min;
    std::int32_t max;
};
PulseTimeLimits MovePulseTimeMin(std::int32_t minPos, std::int32_t maxPos);
PulseTimeLimits MovePulseTimeMax(std::int32_t minPos, std::int32_t maxPos);

// The multiplier button of a PTmult (SpeedButton_T10uS .. SpeedButton_T1S);
// none for a value that is not one of the steps.
std::optional<std::size_t> PulseTimeStepIndex(std::int32_t ptMult);

// UpdateTrigSetView: the texts and states that follow the trigger fields.
struct TriggerDialogView {
    std::string TrigN;                              // Label_TrigN
    std::string PTMode;                             // CheckBox_Trig_PTMode
    std::string SlewMode;                           // CheckBox_Slew_Mode
    std::array<std::string, kLevelBoxCount> Level;  // CheckBox_LevA1 .. CheckBox_LevD2
    std::array<bool, kLevelBoxCount> LevelVisible{};
    std::array<bool, kLevelBoxCount> LevelEnabled{};
    bool SlewModeEnabled = true;   // CheckBox_Slew_Mode: not with a digital source
    bool PulseTimeEnabled = true;  // the six multiplier buttons and both limit bars
    bool SlewEnabled = true;       // ScrollBar_Trig_Slew
};
TriggerDialogView ComputeTriggerDialogView(const TriggerSection& t, std::int32_t deviceTypeCode,
                                           bool russian, char decimalSeparator = '.');

// The captions that do not follow the state, in one language.
struct TriggerDialogCaptions {
    std::string_view Window;
    std::string_view PreTrig;  // RadioGroup_PreTrig
    std::array<std::string, 10> PreTrigItems;
    std::string_view NoiseReject;  // RadioGroup_NR
    std::array<std::string_view, 6> NoiseRejectItems;
    std::string_view Conditions;            // GroupBox_TP
    std::string_view PulseTime;             // Label_Trig_PTMode
    std::string_view Slew;                  // Label_Slew_Mode
    std::string_view Levels;                // Label_Lev
    std::array<std::string_view, 6> Steps;  // SpeedButton_T10uS .. SpeedButton_T1S
    std::string_view Ok;
    std::string_view Cancel;
};
TriggerDialogCaptions TriggerDialogCaptionsOf(bool russian);

}  // namespace qx40
