#include "generator/generator_words.h"

#include <gtest/gtest.h>

namespace qx40 {
namespace {

struct Words {
    std::uint8_t mode, shape;
    std::uint64_t frequency, second, amplitude, modulation;
};

Words Place(const GeneratorSection& g, std::int32_t postTrigCount = 4500, DeviceSettings regs = {}) {
    PlaceGeneratorWords(g, postTrigCount, regs);
    return {regs.reg[reg::kGenMode], regs.reg[reg::kGenShape], regs.Get<6>(reg::kGenFrequency),
            regs.Get<6>(reg::kGenSecond), regs.Get<2>(reg::kGenAmplitude), regs.Get<6>(reg::kGenModulation)};
}

GeneratorSection On() {
    GeneratorSection g;
    g.GenOn = true;
    g.Mod_Freq_Fast = 0;  // constant modulating signal unless a test says otherwise
    return g;
}

TEST(GeneratorWords, FiveHundredKilohertzWordBytes) {
    GeneratorSection g = On();
    g.Range = GenRange::R1M_10mS;
    g.F_fast = 500;
    g.F_slow = 0;
    DeviceSettings regs;
    PlaceGeneratorWords(g, 4500, regs);
    const std::uint8_t expected[] = {0xE1, 0x7A, 0x14, 0xAE, 0x47, 0x01};
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), &regs.reg[98]));
    EXPECT_EQ(regs.Get<6>(reg::kGenFrequency), 1407374883553u);
    EXPECT_EQ(regs.reg[reg::kGenMode], 0);
    EXPECT_EQ(regs.reg[reg::kGenShape], 0x50);  // sine carrier, constant modulating signal
}

TEST(GeneratorWords, TenPointOneKilohertz) {
    GeneratorSection g = On();
    g.F_fast = 1000;
    g.F_slow = 1000;
    EXPECT_EQ(Place(g).frequency, 28428972648u);
}

TEST(GeneratorWords, PulseOneMillisecondRange) {
    GeneratorSection g = On();
    g.Mode = GenMode::Pulse;
    g.Range = GenRange::R10M_1mS;
    g.F_slow = 500;
    g.F_fast = 250;
    const Words w = Place(g);
    EXPECT_EQ(w.mode, 7);
    EXPECT_EQ(w.frequency, 49999u);
    EXPECT_EQ(w.second, 25000u);
    const GeneratorBase b = ComputeGeneratorBase(g);
    EXPECT_EQ(b.P, 50000);
    EXPECT_EQ(b.W, 25000);
}

TEST(GeneratorWords, PulseWithZeroPeriod) {
    GeneratorSection g = On();
    g.Mode = GenMode::Pulse;
    g.F_slow = 0;
    g.F_fast = 0;
    EXPECT_EQ(Place(g).frequency, 0u);
}

TEST(GeneratorWords, Modulation) {
    struct Case {
        const char* name;
        std::int32_t type, source;
        std::uint8_t mode;
        std::uint64_t second;
    };
    const Case cases[] = {
        {"AM internal", 0, 0, 2, 32008},   // 1000 x 32.76775 x 4001 / 4096 = 32007.76
        {"AM from A1", 0, 1, 2 | 0x10, 128031},
        {"AM from D1", 0, 3, 2 | 0x30, 32008},
        {"FM internal", 1, 0, 3, 2014},    // 300 x 6.7141648
        {"FM from A2", 1, 2, 3 | 0x20, 3221},  // 300 x 10.73741824 = 3221.2
        {"SUM internal", 2, 0, 4, 32768},  // 1000 x 32.76775
        {"SUM from A1", 2, 1, 4 | 0x10, 131071},
        {"SUM from D2", 2, 4, 4 | 0x40, 32768},
    };
    for (const Case& c : cases) {
        GeneratorSection g = On();
        g.Mode = GenMode::Mod;
        g.Mod_Type = c.type;
        g.Mod_Src = c.source;
        g.Mod_K = 1000;
        g.Ampl = 47;
        const Words w = Place(g);
        EXPECT_EQ(w.mode, c.mode) << c.name;
        EXPECT_EQ(w.second, c.second) << c.name;
        EXPECT_EQ(w.amplitude, 4001u) << c.name;
    }
}

TEST(GeneratorWords, ModulationFrequencyAndShape) {
    GeneratorSection g = On();
    g.Mode = GenMode::Mod;
    g.Mod_Freq_Fast = 10;
    g.Mod_Freq_Slow = 5;
    g.MF_Mult = 10;
    g.MF_Shape = 3;
    g.Inv = 1;
    const Words w = Place(g);
    EXPECT_EQ(w.modulation, static_cast<std::uint64_t>(RoundGeneratorWord(10050 * kPhasePerDeciHertz)));
    EXPECT_EQ(w.shape, 0x30);  // sine carrier, rectangle modulation
    EXPECT_EQ(w.mode, 0x82);

    g.Mod_Freq_Fast = 0;
    g.Mod_Freq_Slow = 0;
    EXPECT_EQ(Place(g).shape, 0x50);
    g.MF_Shape = 7;  // noise needs no frequency
    EXPECT_EQ(Place(g).shape, 0x70);
}

TEST(GeneratorWords, ZeroFrequencyGivesConstantCarrier) {
    GeneratorSection g = On();
    g.F_fast = 0;
    g.F_slow = 0;
    EXPECT_EQ(Place(g).shape & 0x0F, 5);
    g.Mode = GenMode::Mod;
    g.Mod_Type = 0;
    EXPECT_EQ(Place(g).shape & 0x0F, 6);
    g.Mod_Type = 2;
    EXPECT_EQ(Place(g).shape & 0x0F, 6);
    g.Mod_Type = 1;  // FM keeps the waveform
    EXPECT_EQ(Place(g).shape & 0x0F, 0);
    g.Mode = GenMode::F_Sweep;
    EXPECT_EQ(Place(g).shape & 0x0F, 5);
}

TEST(GeneratorWords, SweepStepIsSpanPerPostTriggerPoint) {
    GeneratorSection g = On();
    g.Mode = GenMode::F_Sweep;
    g.Range = GenRange::R100K_100mS;
    g.F_fast = 100;
    g.F_slow = 600;
    const Words w = Place(g, 3500);
    EXPECT_EQ(w.mode, 1);
    EXPECT_EQ(w.frequency, static_cast<std::uint64_t>(RoundGeneratorWord(100000 * kPhasePerDeciHertz)));
    EXPECT_EQ(w.second, static_cast<std::uint64_t>(RoundGeneratorWord(500000 * kPhasePerDeciHertz / 3500)));
    // A record without post-trigger points sends no step instead of dividing by zero.
    EXPECT_EQ(Place(g, 0).second, 0u);
}

TEST(GeneratorWords, PlainModeKeepsTheWordsItDoesNotDefine) {
    DeviceSettings regs;
    regs.Put<6>(reg::kGenSecond, 0x123456789A);
    regs.Put<6>(reg::kGenModulation, 0xABCDEF);
    const Words w = Place(On(), 4500, regs);
    EXPECT_EQ(w.second, 0x123456789Au);
    EXPECT_EQ(w.modulation, 0xABCDEFu);
}

TEST(GeneratorWords, OutputOffOverridesEverything) {
    GeneratorSection g = On();
    g.Mode = GenMode::Mod;
    g.Mod_Src = 2;
    g.Inv = 1;
    g.Shape = GenShape::Rect;
    g.GenOn = false;
    const Words w = Place(g);
    EXPECT_EQ(w.mode, 0);
    EXPECT_EQ(w.shape, 5);
}

TEST(GeneratorWords, NoiseShapeAndMultiplier) {
    GeneratorSection g = On();
    g.Range = GenRange::R10uS_Noise;
    g.F_fast = 0;
    g.F_slow = 0;
    const Words w = Place(g);
    EXPECT_EQ(w.shape & 0x0F, 7);  // noise is never the constant carrier
    g.F_fast = 3;
    EXPECT_EQ(ComputeGeneratorBase(g).F, 300);
}

TEST(GeneratorPanelRules, FiftyMegahertzNeedsExtendedRangeOrPulse) {
    GeneratorPanelView view;
    GeneratorSection g = On();
    g.Range = GenRange::R50M_100uS;
    ApplyGeneratorPanelRules(g, false, false, view);
    EXPECT_EQ(g.Range, GenRange::R10M_1mS);
    EXPECT_FALSE(view.Range50MVisible);

    g.Range = GenRange::R50M_100uS;
    ApplyGeneratorPanelRules(g, true, false, view);
    EXPECT_EQ(g.Range, GenRange::R50M_100uS);

    g.Mode = GenMode::Pulse;
    ApplyGeneratorPanelRules(g, false, false, view);
    EXPECT_EQ(g.Range, GenRange::R50M_100uS);
    EXPECT_TRUE(view.Range50MVisible);
    EXPECT_EQ(view.RangeCaptions[4], "0.1mS");
}

TEST(GeneratorPanelRules, NoNoiseInSweep) {
    GeneratorPanelView view;
    GeneratorSection g = On();
    g.Mode = GenMode::F_Sweep;
    for (const bool extended : {false, true}) {
        g.Range = GenRange::R10uS_Noise;
        ApplyGeneratorPanelRules(g, extended, false, view);
        EXPECT_EQ(g.Range, extended ? GenRange::R50M_100uS : GenRange::R10M_1mS);
        EXPECT_FALSE(view.NoiseVisible);
    }
}

TEST(GeneratorPanelRules, ShapesInHighRangesAndNoise) {
    GeneratorPanelView view;
    GeneratorSection g = On();
    g.Shape = GenShape::Rect;
    g.Range = GenRange::R1M_10mS;
    ApplyGeneratorPanelRules(g, false, true, view);
    EXPECT_EQ(g.Shape, GenShape::Rect);
    EXPECT_EQ(view.ShapeEnabled, (std::array<bool, 5>{true, true, true, true, true}));
    EXPECT_EQ(view.RangeCaptions[5], "Шум");

    g.Range = GenRange::R10M_1mS;
    ApplyGeneratorPanelRules(g, false, false, view);
    EXPECT_EQ(g.Shape, GenShape::Sin);
    EXPECT_EQ(view.ShapeEnabled, (std::array<bool, 5>{true, false, false, false, false}));
    EXPECT_EQ(view.RangeCaptions[5], "Noise");

    g.Shape = GenShape::Trian;
    g.Range = GenRange::R10uS_Noise;
    ApplyGeneratorPanelRules(g, false, false, view);
    EXPECT_EQ(g.Shape, GenShape::Trian);  // noise leaves the shape alone, all disabled
    EXPECT_EQ(view.ShapeEnabled, (std::array<bool, 5>{false, false, false, false, false}));
    EXPECT_FALSE(view.FrequencyBarsEnabled);

    g.Mode = GenMode::Pulse;
    ApplyGeneratorPanelRules(g, false, false, view);
    EXPECT_FALSE(view.ShapesVisible);
    EXPECT_TRUE(view.FrequencyBarsEnabled);
}

}  // namespace
}  // namespace qx40
