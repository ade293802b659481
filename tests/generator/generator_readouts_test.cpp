#include "generator/generator_readouts.h"

#include <gtest/gtest.h>

namespace qx40 {
namespace {

GeneratorSection On() {
    GeneratorSection g;
    g.GenOn = true;
    return g;
}

TEST(GeneratorReadouts, PlainFrequencyAndAmplitude) {
    GeneratorSection g = On();
    g.Range = GenRange::R1M_10mS;
    g.F_fast = 500;
    g.Ampl = 47;
    const GeneratorReadouts r = ComputeGeneratorReadouts(g, 31);
    EXPECT_EQ(r.F, "500.00 KHz");
    EXPECT_EQ(r.V, "4.000 V");
    EXPECT_FALSE(r.PulseVisible);
    EXPECT_FALSE(r.ModVisible);
    g.Range = GenRange::R10K_1S;
    g.F_fast = 1000;
    g.F_slow = 1000;  // the bars reach 100000: six digits
    EXPECT_EQ(ComputeGeneratorReadouts(g, 31).F, "10.1000 KHz");
}

TEST(GeneratorReadouts, PulseDutyAndFrequency) {
    GeneratorSection g = On();
    g.Mode = GenMode::Pulse;
    g.Range = GenRange::R10M_1mS;
    g.F_slow = 500;
    g.F_fast = 250;
    const GeneratorReadouts r = ComputeGeneratorReadouts(g, 31);
    EXPECT_TRUE(r.PulseVisible);
    EXPECT_EQ(r.Pulse, "50.000 %  F = 2.0000 KHz");
    EXPECT_EQ(r.F, "250 uS  /  500 uS");
    g.F_fast = 500;  // width equals period: no frequency
    EXPECT_EQ(ComputeGeneratorReadouts(g, 31).Pulse, "100.000 %  F = ...");
    g.F_slow = g.F_fast = 0;
    EXPECT_EQ(ComputeGeneratorReadouts(g, 31).Pulse, "...    F = ...");
}

TEST(GeneratorReadouts, SweepAndNoise) {
    GeneratorSection g = On();
    g.Mode = GenMode::F_Sweep;
    g.F_fast = 100;
    g.F_slow = 600;
    EXPECT_EQ(ComputeGeneratorReadouts(g, 31).F, "1.000 KHz   ...   6.000 KHz");
    g.Mode = GenMode::Plain;
    g.Range = GenRange::R10uS_Noise;
    EXPECT_EQ(ComputeGeneratorReadouts(g, 31).F, "Noise (uniform spectrum 0..10 MHz)");
    g.Mode = GenMode::Mod;
    EXPECT_EQ(ComputeGeneratorReadouts(g, 31).F, "Noise");
}

TEST(GeneratorReadouts, Modulation) {
    GeneratorSection g = On();
    g.Mode = GenMode::Mod;
    g.Mod_Type = 1;
    g.Dev_Freq = 300;
    g.Mod_Freq_Fast = 10;
    GeneratorReadouts r = ComputeGeneratorReadouts(g, 31);
    EXPECT_EQ(r.Mod, "FM 3.00 KHz   Fmod 100.00 Hz");
    EXPECT_EQ(r.V, "4.000 V");  // FM keeps the whole amplitude

    g.Mod_Type = 0;
    g.Mod_K = 700;
    g.Mod_Src = 1;
    r = ComputeGeneratorReadouts(g, 28);
    EXPECT_EQ(r.Mod, "AM 17.500% / Div   CH A");
    EXPECT_EQ(r.V, "2.000 V");  // AM halves it

    g.Mod_Type = 2;
    g.Mod_Src = 4;
    g.Sum_Lev = 1000;
    EXPECT_EQ(ComputeGeneratorReadouts(g, 31).Mod, "SUM 100.0%   CH D2");
    g.Mod_Src = 0;
    g.MF_Shape = 7;
    EXPECT_EQ(ComputeGeneratorReadouts(g, 31).Mod, "SUM 100.0%   Noise ");
}

}  // namespace
}  // namespace qx40
