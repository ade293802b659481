#include "generator/modulation_dialog_view.h"

#include <algorithm>

#include "base/value_format.h"
#include "generator/generator_readouts.h"
#include "generator/modulation_ranges.h"

namespace qx40 {
namespace {

const char* Pick(bool russian, const char* english, const char* russianText) {
    return russian ? russianText : english;
}

template <std::size_t N>
std::size_t IndexIn(const std::array<std::int32_t, N>& values, std::int32_t v,
                    std::size_t otherwise) {
    const auto found = std::find(values.begin(), values.end(), v);
    return found == values.end() ? otherwise : static_cast<std::size_t>(found - values.begin());
}

}  // namespace

ModulationDialogLoad LoadModulationDialog(const GeneratorSection& g, std::int32_t code,
                                          bool extended, const ModulationButtons& shown) {
    const ModulationRanges& r = kModulationRanges;
    ModulationDialogLoad load;
    load.SourceA2Visible = HasFeature(code, feature::kSecondAnalog);
    load.SourceD2Visible = HasFeature(code, feature::kSecondDigital);
    load.Range50MVisible = extended;

    ModulationButtons& b = load.Buttons;
    b = shown;
    b.Type = g.Mod_Type == 0 || g.Mod_Type == 1 ? static_cast<std::size_t>(g.Mod_Type) : 2;
    b.Source = g.Mod_Src >= 0 && g.Mod_Src <= 4 ? static_cast<std::size_t>(g.Mod_Src) : 0;
    b.Range = IndexIn(r.MF_Mult, g.MF_Mult, shown.Range);
    if (b.Range == kModulation50MButton && !extended) b.Range = kModulation10MButton;
    if (g.MF_Shape == r.NoiseShape)
        b.Range = kModulationNoiseButton;
    else
        b.Waveform = IndexIn(r.ShapeCodes, g.MF_Shape, shown.Waveform);
    b.Deviation = g.DF_Mult == r.DF_Mult[0] ? 0 : 1;
    return load;
}

std::int32_t ModulationMultiplierOf(std::size_t rangeButton) {
    const auto& steps = kModulationRanges.MF_Mult;
    return steps[std::min(rangeButton, steps.size() - 1)];
}

ModulationDialogView UpdateModulationDialog(GeneratorSection& g, ModulationButtons& b, bool ru,
                                            char sep) {
    const ModulationRanges& r = kModulationRanges;
    ModulationDialogView v;
    const bool noise = b.Range == kModulationNoiseButton;
    const bool analog = b.Source == 1 || b.Source == 2;
    const bool sum = b.Type == 2;

    v.ModFreq = sum ? Pick(ru, "Sum. Sig. Freq. = ", "Частота сум. сигнала = ")
                    : Pick(ru, "Mod. Sig. Freq. = ", "Частота мод. сигнала = ");
    if (noise) {
        v.ModFreq += "Noise";  // the same in both languages, as the panel's read-outs
    } else {
        const std::int64_t bars = std::int64_t{g.Mod_Freq_Fast} * 100 + g.Mod_Freq_Slow;
        const double deciHertz = static_cast<double>(bars) * g.MF_Mult;
        v.ModFreq += FormatValue(deciHertz * 0.1, ValueKind::Frequency,
                                 FrequencyDigits(bars, deciHertz), sep);
    }

    const double deviationHz = static_cast<double>(g.Dev_Freq) * g.DF_Mult * 10.0;
    v.ModK = Pick(ru, "K AM = ", "Коэффициент АМ = ");
    v.DevFM = Pick(ru, "Dev. FM = ", "Девиация ЧМ = ");
    v.SumLev = Pick(ru, "Sum. Level = ", "Уровень сум. сигнала = ");
    if (analog) {
        const char* perDiv = Pick(ru, " / Div", " / Дел");
        v.ModK += FixedText(g.Mod_K * 0.025, 3, sep) + "%" + perDiv;
        v.DevFM += FormatValue(deviationHz * 0.2, ValueKind::Frequency, -4, sep) + perDiv;
        v.SumLev += FixedText(g.Sum_Lev * 0.025, 3, sep) + "%" + perDiv;
        v.Deviation = {"2K", "20K"};
    } else {
        v.ModK += FixedText(g.Mod_K * 0.1, 1, sep) + "%";
        v.DevFM += FormatValue(deviationHz, ValueKind::Frequency, -3, sep);
        v.SumLev += FixedText(g.Sum_Lev * 0.1, 1, sep) + "%";
        v.Deviation = {"10K", "100K"};
    }

    const bool internal = b.Source == 0;
    v.FrequencyEnabled = internal;
    if (b.Range == kModulation10MButton || b.Range == kModulation50MButton) b.Waveform = 0;
    const bool lowRange = b.Range < kModulation10MButton;
    v.WaveformEnabled.fill(internal && !noise && lowRange);
    v.WaveformEnabled[0] = internal && !noise;
    v.ModKEnabled = b.Type == 0;
    v.DevFMEnabled = b.Type == 1;
    v.SumLevEnabled = sum;

    g.MF_Shape = noise ? r.NoiseShape : r.ShapeCodes[std::min(b.Waveform, r.ShapeCodes.size() - 1)];
    return v;
}

ModulationDialogCaptions ModulationDialogCaptionsOf(bool ru, std::int32_t code) {
    ModulationDialogCaptions c;
    c.Window = Pick(ru, "Generator Modulation Settings", "Установки модуляции генератора");
    c.ModType = Pick(ru, "Modulation Type", "Тип модуляции");
    c.Types = {"AM", Pick(ru, "FM", "ЧМ"), Pick(ru, "SUM", "СУМ")};
    c.ModSource = Pick(ru, "Modulation Signal Source", "Источник модулирующего сигнала");
    c.Sources = {Pick(ru, "Int", "Внутр."), HasFeature(code, feature::kSecondAnalog) ? "A1" : "A",
                 "A2", HasFeature(code, feature::kSecondDigital) ? "D1" : "D", "D2"};
    c.Inversion = Pick(ru, "Inversion", "Инверсия");
    c.Ranges = {"10K", "100K", "1M", "10M", "50M", Pick(ru, "Noise", "Шум")};
    c.Ok = "OK";
    c.Cancel = Pick(ru, "Cancel", "Отмена");
    return c;
}

}  // namespace qx40
