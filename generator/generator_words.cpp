#include "generator/generator_words.h"

namespace qx40 {
namespace {

constexpr std::array<std::int64_t, 6> kFrequencyMultiplier = {1, 10, 100, 1000, 5000, 1};
constexpr std::array<std::int64_t, 6> kPulseMultiplier = {100000, 10000, 1000, 100, 10, 1};
// Carrier shape codes in GenShape order.
constexpr std::array<std::uint8_t, 5> kShapeCode = {0, 3, 4, 1, 2};

constexpr std::array<std::string_view, 6> kPulseCaptions = {"1S", "0.1S", "10mS", "1mS", "0.1mS", "10uS"};
constexpr std::array<std::string_view, 6> kFrequencyCaptionsEn = {"10K", "100K", "1M", "10M", "50M", "Noise"};
constexpr std::array<std::string_view, 6> kFrequencyCaptionsRu = {"10K", "100K", "1M", "10M", "50M", "Шум"};

constexpr std::uint8_t kShapeConstant = 5;
constexpr std::uint8_t kShapeConstantCarrier = 6;
constexpr std::uint8_t kShapeNoise = 7;

bool IsHighRange(GenRange r) {
    return r == GenRange::R10M_1mS || r == GenRange::R50M_100uS || r == GenRange::R10uS_Noise;
}

// An analog input modulates four times as strongly per division.
bool IsAnalogSource(const GeneratorSection& g) { return g.Mod_Src == 1 || g.Mod_Src == 2; }

}  // namespace

bool IsNoiseSelected(const GeneratorSection& g) {
    return g.Range == GenRange::R10uS_Noise && g.Mode != GenMode::Pulse;
}

void ApplyGeneratorPanelRules(GeneratorSection& g, bool extendedRange, bool russian,
                              GeneratorPanelView& view) {
    const bool pulse = g.Mode == GenMode::Pulse;
    const bool sweep = g.Mode == GenMode::F_Sweep;

    view.Range50MVisible = extendedRange || pulse;
    if (g.Range == GenRange::R50M_100uS && !pulse && !extendedRange) g.Range = GenRange::R10M_1mS;

    view.NoiseVisible = pulse || !sweep;
    if (g.Range == GenRange::R10uS_Noise && sweep)
        g.Range = extendedRange ? GenRange::R50M_100uS : GenRange::R10M_1mS;

    const bool noise = IsNoiseSelected(g);
    view.FrequencyBarsEnabled = !noise;

    view.ShapesVisible = !pulse;
    if (pulse) {
        view.ShapeEnabled.fill(false);
    } else if (IsHighRange(g.Range)) {
        if (!noise) g.Shape = GenShape::Sin;
        view.ShapeEnabled.fill(false);
        view.ShapeEnabled[IndexOf(GenShape::Sin)] = !noise;
    } else {
        view.ShapeEnabled.fill(true);
    }

    view.RangeCaptions = pulse ? kPulseCaptions : (russian ? kFrequencyCaptionsRu : kFrequencyCaptionsEn);
}

GeneratorBase ComputeGeneratorBase(const GeneratorSection& g) {
    GeneratorBase b;
    const bool noise = IsNoiseSelected(g);
    const std::size_t range = IndexOf(g.Range);
    const std::int64_t fMult = noise ? 1 : kFrequencyMultiplier[range];
    const std::int64_t pMult = noise ? 1 : kPulseMultiplier[range];
    if (g.Mode == GenMode::F_Sweep) {
        b.S = std::int64_t{g.F_fast} * 100;
        b.D = std::int64_t{g.F_slow} * 100 - b.S;
    } else if (g.Mode == GenMode::Pulse) {
        b.P = g.F_slow;
        b.W = g.F_fast;
    } else {
        b.F = std::int64_t{g.F_fast} * 100 + g.F_slow;
    }
    b.S *= fMult;
    b.D *= fMult;
    b.F *= fMult;
    b.P *= pMult;
    b.W *= pMult;
    b.Z = g.F_fast == 0 && g.F_slow == 0 && !noise;
    return b;
}

std::int64_t RoundGeneratorWord(double x) { return static_cast<std::int64_t>(x + 0.5); }

void PlaceGeneratorWords(const GeneratorSection& g, std::int32_t postTrigCount, DeviceSettings& regs) {
    const GeneratorBase b = ComputeGeneratorBase(g);
    const bool noise = IsNoiseSelected(g);
    const std::int64_t amplitude = (2047 - std::int64_t{g.Ampl}) * 2 + 1;
    std::uint8_t shape = noise ? kShapeNoise : kShapeCode[IndexOf(g.Shape)];
    std::uint8_t mode = 0;
    std::int64_t frequency = RoundGeneratorWord(static_cast<double>(b.F) * kPhasePerDeciHertz);
    const double k = IsAnalogSource(g) ? 4.0 : 1.0;

    switch (g.Mode) {
        case GenMode::F_Sweep:
            mode = 1;
            if (b.Z) shape = kShapeConstant;
            frequency = RoundGeneratorWord(static_cast<double>(b.S) * kPhasePerDeciHertz);
            // A record without post-trigger points cannot sweep; send no step
            // rather than divide by zero.
            regs.Put<6>(reg::kGenSecond,
                        postTrigCount > 0 ? static_cast<std::uint64_t>(RoundGeneratorWord(
                                                static_cast<double>(b.D) * kPhasePerDeciHertz /
                                                postTrigCount))
                                          : 0);
            break;
        case GenMode::Pulse:
            mode = 7;
            frequency = b.P == 0 ? 0 : b.P - 1;
            regs.Put<6>(reg::kGenSecond, static_cast<std::uint64_t>(b.W));
            break;
        case GenMode::Mod: {
            const double modFreq =
                (static_cast<double>(g.Mod_Freq_Fast) * 100 + g.Mod_Freq_Slow) * g.MF_Mult;
            regs.Put<6>(reg::kGenModulation,
                        static_cast<std::uint64_t>(RoundGeneratorWord(modFreq * kPhasePerDeciHertz)));
            std::int64_t second;
            if (g.Mod_Type == 0) {
                mode = 2;
                if (b.Z) shape = kShapeConstantCarrier;
                second = RoundGeneratorWord(g.Mod_K * 32.76775 * static_cast<double>(amplitude) *
                                            0.000244140625 * k);
            } else if (g.Mod_Type == 1) {
                mode = 3;
                const double c = IsAnalogSource(g) ? 10.73741824 : 6.714164800781632;
                second = RoundGeneratorWord(static_cast<double>(g.Dev_Freq) * g.DF_Mult * c);
            } else {  // 2, and any other value, as the dialog shows it: SUM
                mode = 4;
                if (b.Z) shape = kShapeConstantCarrier;
                second = RoundGeneratorWord(g.Sum_Lev * 32.76775 * k);
            }
            regs.Put<6>(reg::kGenSecond, static_cast<std::uint64_t>(second));
            break;
        }
        case GenMode::Plain:
            mode = 0;
            if (b.Z) shape = kShapeConstant;
            break;
    }

    if (g.Mod_Src >= 1 && g.Mod_Src <= 4) mode |= static_cast<std::uint8_t>(g.Mod_Src << 4);
    if (g.Inv != 0) mode |= 0x80;
    if (g.Mod_Freq_Fast != 0 || g.Mod_Freq_Slow != 0 || g.MF_Shape == 7)
        shape |= static_cast<std::uint8_t>((g.MF_Shape & 0x0F) << 4);
    else
        shape |= 0x50;
    if (!g.GenOn) {
        mode = 0;
        shape = kShapeConstant;
    }

    regs.reg[reg::kGenMode] = mode;
    regs.reg[reg::kGenShape] = shape;
    regs.Put<6>(reg::kGenFrequency, static_cast<std::uint64_t>(frequency));
    regs.Put<2>(reg::kGenAmplitude, static_cast<std::uint64_t>(amplitude));
}

}  // namespace qx40
