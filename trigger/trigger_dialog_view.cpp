#include "trigger/trigger_dialog_view.h"

#include "base/value_format.h"
#include "trigger/trigger_ranges.h"

namespace qx40 {
namespace {

const char* Pick(bool russian, const char* english, const char* russianText) {
    return russian ? russianText : english;
}

std::string TimeText(std::int64_t ticks, char sep) {
    return FormatValue(static_cast<double>(ticks) * 10.0, ValueKind::Time, -3, sep);
}

// The level box of the trigger source's own channel (bit order of Levels).
std::optional<std::size_t> SourceBit(TriggerSource s) {
    switch (s) {
        case TriggerSource::CH_A1:
            return 0;
        case TriggerSource::CH_A2:
            return 1;
        case TriggerSource::CH_D1:
            return 2;
        case TriggerSource::CH_D2:
            return 3;
        case TriggerSource::None:
            break;
    }
    return std::nullopt;
}

}  // namespace

BoxState ModeBoxState(std::int32_t mode) {
    return mode == 0 ? BoxState::Unchecked : (mode == 1 ? BoxState::Grayed : BoxState::Checked);
}

std::int32_t ModeOfBox(BoxState s) {
    return static_cast<std::int32_t>(s);
}

BoxState LevelBoxState(const TriggerSection& t, std::size_t bit) {
    if (((t.Lev_Mask >> bit) & 1) == 0) return BoxState::Unchecked;
    return ((t.Levels >> bit) & 1) != 0 ? BoxState::Checked : BoxState::Grayed;
}

void SetLevelBox(TriggerSection& t, std::size_t bit, BoxState s) {
    const std::int32_t mask = 1 << bit;
    t.Levels = s == BoxState::Checked ? t.Levels | mask : t.Levels & ~mask;
    t.Lev_Mask = s != BoxState::Unchecked ? t.Lev_Mask | mask : t.Lev_Mask & ~mask;
}

PulseTimeLimits MovePulseTimeMin(std::int32_t minPos, std::int32_t maxPos) {
    return {minPos, minPos >= maxPos ? minPos + 1 : maxPos};
}

PulseTimeLimits MovePulseTimeMax(std::int32_t minPos, std::int32_t maxPos) {
    return {maxPos <= minPos ? maxPos - 1 : minPos, maxPos};
}

std::optional<std::size_t> PulseTimeStepIndex(std::int32_t ptMult) {
    const auto& steps = kTriggerRanges.PTmult;
    for (std::size_t i = 0; i < steps.size(); ++i)
        if (steps[i] == ptMult) return i;
    return std::nullopt;
}

TriggerDialogView ComputeTriggerDialogView(const TriggerSection& t, std::int32_t code, bool ru,
                                           char sep) {
    TriggerDialogView v;
    v.TrigN = Pick(ru, "Trigger N = ", "Номер фронта/среза = ") + std::to_string(t.N);

    const BoxState pulse = ModeBoxState(t.PTMode);
    if (pulse == BoxState::Unchecked) {
        v.PTMode = Pick(ru, "Off", "Выключена");
    } else {
        v.PTMode = pulse == BoxState::Grayed ? Pick(ru, "Duration inside   ", "В интервале   ")
                                             : Pick(ru, "Duration outside   ", "Вне интервала   ");
        v.PTMode += TimeText(std::int64_t{t.PTmin} * t.PTmult, sep) + " ... " +
                    TimeText(std::int64_t{t.PTmax} * t.PTmult, sep);
    }

    const BoxState slew = ModeBoxState(t.Slew_Mode);
    if (slew == BoxState::Unchecked) {
        v.SlewMode = Pick(ru, "Off", "Выключена");
    } else {
        v.SlewMode = slew == BoxState::Grayed ? Pick(ru, "Slew Time =< ", "Время фронта/среза =< ")
                                              : Pick(ru, "Slew Time > ", "Время фронта/среза > ");
        v.SlewMode += TimeText(t.Slew, sep);
    }

    const bool twoAnalog = HasFeature(code, feature::kSecondAnalog);
    const bool twoDigital = HasFeature(code, feature::kSecondDigital);
    const std::array<std::string_view, kLevelBoxCount> names = {twoAnalog ? "A1" : "A", "A2",
                                                                twoDigital ? "D1" : "D", "D2"};
    const std::optional<std::size_t> source = SourceBit(t.Source);
    for (std::size_t bit = 0; bit < kLevelBoxCount; ++bit) {
        std::string text = std::string(names[bit]) + " = ";
        switch (LevelBoxState(t, bit)) {
            case BoxState::Unchecked:
                text += Pick(ru, "any", "любой");
                break;
            case BoxState::Grayed:
                text += "'0'";
                break;
            case BoxState::Checked:
                text += "'1'";
                break;
        }
        v.Level[bit] = std::move(text);
        v.LevelEnabled[bit] = source != bit;
    }
    v.LevelVisible = {true, twoAnalog, true, twoDigital};

    v.SlewModeEnabled = t.Source != TriggerSource::CH_D1 && t.Source != TriggerSource::CH_D2;
    v.PulseTimeEnabled = pulse != BoxState::Unchecked;
    v.SlewEnabled = slew != BoxState::Unchecked;
    return v;
}

TriggerDialogCaptions TriggerDialogCaptionsOf(bool ru) {
    TriggerDialogCaptions c;
    c.Window = Pick(ru, "Trigger Settings", "Установки синхронизации");
    c.PreTrig = Pick(ru, "Pre trigger", "Длина предвыборки ");
    c.PreTrigItems[0] = Pick(ru, "Off", "Выкл.");
    for (std::size_t i = 1; i < c.PreTrigItems.size(); ++i)
        c.PreTrigItems[i] = std::to_string(i) + Pick(ru, " Div", " дел");
    c.NoiseReject = Pick(ru, "Noise reject", "Шумоподавление");
    if (ru)
        c.NoiseRejectItems = {"Выкл.", "0,1 дел", "0,2 дел", "0,5 дел", "1 дел", "2 дел"};
    else
        c.NoiseRejectItems = {"Off", "0,1 Div", "0,2 Div", "0,5 Div", "1 Div", "2 Div"};
    c.Conditions =
        Pick(ru, "Additional Trig. Conditions (T+)", "Дополнительные условия синхронизации (T+)");
    c.PulseTime = Pick(ru, "Pulse Time Trigger", "Синхронизация по длительности импульса");
    c.Slew = Pick(ru, "Slew Rate Trigger", "Синхронизация по скорости нарастания");
    c.Levels = Pick(ru, "Log. Levels Trigger", "Синхронизация с учётом логических уровней");
    c.Steps = {"10uS", "0.1mS", "1mS", "10mS", "0.1S", "1S"};
    c.Ok = "OK";
    c.Cancel = Pick(ru, "Cancel", "Отмена");
    return c;
}

}  // namespace qx40
