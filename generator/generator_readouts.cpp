#include "generator/generator_readouts.h"

#include "base/value_format.h"
#include "generator/generator_words.h"

namespace qx40 {
namespace {

bool AnalogSource(const GeneratorSection& g) { return g.Mod_Src == 1 || g.Mod_Src == 2; }

}  // namespace

int FrequencyDigits(std::int64_t barValue, double deciHertz) {
    return barValue >= 100000 || deciHertz >= 1e8 ? -6 : -5;
}

GeneratorReadouts ComputeGeneratorReadouts(const GeneratorSection& g, std::int32_t code, char sep) {
    GeneratorReadouts r;
    const GeneratorBase b = ComputeGeneratorBase(g);
    const auto hz = [sep](double deciHertz, int digits) {
        return FormatValue(deciHertz * 0.1, ValueKind::Frequency, digits, sep);
    };
    const auto ns = [sep](double ticks) { return FormatValue(ticks * 10.0, ValueKind::Time, -3, sep); };

    if (g.Mode == GenMode::F_Sweep) {
        r.F = hz(static_cast<double>(b.S), -4) + "   ...   " + hz(static_cast<double>(b.S + b.D), -4);
    } else if (g.Mode == GenMode::Pulse) {
        r.F = ns(static_cast<double>(b.W)) + "  /  " + ns(static_cast<double>(b.P));
    } else if (IsNoiseSelected(g)) {
        r.F = g.Mode == GenMode::Mod ? "Noise" : "Noise (uniform spectrum 0..10 MHz)";
    } else {
        const std::int64_t bars = std::int64_t{g.F_fast} * 100 + g.F_slow;
        r.F = hz(static_cast<double>(b.F), FrequencyDigits(bars, static_cast<double>(b.F)));
    }

    const bool halved = g.Mode == GenMode::Mod && g.Mod_Type != 1;  // AM and SUM share the range
    double millivolts = (2047.0 - g.Ampl) * 2.0;
    if (halved) millivolts /= 2;
    r.V = FormatValue(millivolts * 1000.0, ValueKind::Voltage, -4, sep);

    r.PulseVisible = g.Mode == GenMode::Pulse;
    if (r.PulseVisible) {
        r.Pulse = b.P != 0 ? FixedText(static_cast<double>(b.W) * 100.0 / static_cast<double>(b.P), 3, sep) + " %  "
                           : "...    ";
        r.Pulse += b.P == 0 || b.W == 0 || b.W == b.P ? "F = ..."
                                                      : "F = " + FormatValue(1e8 / static_cast<double>(b.P),
                                                                             ValueKind::Frequency, -5, sep);
    }

    r.ModVisible = g.Mode == GenMode::Mod;
    if (r.ModVisible) {
        const bool analog = AnalogSource(g);
        if (g.Mod_Type == 0) {
            r.Mod = analog ? "AM " + FixedText(g.Mod_K * 0.025, 3, sep) + "% / Div" : "AM " + FixedText(g.Mod_K * 0.1, 1, sep) + "%";
        } else if (g.Mod_Type == 1) {
            const double dev = static_cast<double>(g.Dev_Freq) * g.DF_Mult * 10.0;
            r.Mod = analog ? "FM " + FormatValue(dev * 0.2, ValueKind::Frequency, -4, sep) + " / Div"
                           : "FM " + FormatValue(dev, ValueKind::Frequency, -3, sep);
        } else {
            r.Mod = analog ? "SUM " + FixedText(g.Sum_Lev * 0.025, 3, sep) + "% / Div"
                           : "SUM " + FixedText(g.Sum_Lev * 0.1, 1, sep) + "%";
        }
        const bool twoAnalog = HasFeature(code, feature::kSecondAnalog);
        const bool twoDigital = HasFeature(code, feature::kSecondDigital);
        switch (g.Mod_Src) {
            case 1: r.Mod += twoAnalog ? "   CH A1" : "   CH A"; break;
            case 2: r.Mod += "   CH A2"; break;
            case 3: r.Mod += twoDigital ? "   CH D1" : "   CH D"; break;
            case 4: r.Mod += "   CH D2"; break;
            default:
                if (g.MF_Shape == 7) {
                    r.Mod += "   Noise ";
                } else {
                    const std::int64_t bars = std::int64_t{g.Mod_Freq_Fast} * 100 + g.Mod_Freq_Slow;
                    const double deciHertz = static_cast<double>(bars) * g.MF_Mult;
                    r.Mod += "   Fmod " + hz(deciHertz, FrequencyDigits(bars, deciHertz));
                }
        }
    }
    return r;
}

}  // namespace qx40
