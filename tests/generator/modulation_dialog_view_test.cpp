#include "generator/modulation_dialog_view.h"

#include <gtest/gtest.h>

#include <functional>

namespace qx40 {
namespace {

TEST(ModulationDialogLoad, ButtonsForTheFields) {
    ModulationButtons before;
    before.Range = 1, before.Waveform = 2;  // what the dialog showed last time
    const struct {
        const char* name;
        std::function<void(GeneratorSection&)> set;
        bool extended;
        std::function<void(ModulationButtons&)> expect;
    } cases[] = {
        {"defaults", [](GeneratorSection&) {}, false,
         [](ModulationButtons& b) { b.Range = 0, b.Waveform = 0; }},
        {"FM from A2 at 1M, 100K deviation",
         [](GeneratorSection& g) {
             g.Mod_Type = 1, g.Mod_Src = 2, g.MF_Mult = 100, g.DF_Mult = 10;
         },
         false,
         [](ModulationButtons& b) {
             b.Type = 1, b.Source = 2, b.Range = 2, b.Waveform = 0, b.Deviation = 1;
         }},
        {"unknown type shows SUM, unknown source Int",
         [](GeneratorSection& g) { g.Mod_Type = 7, g.Mod_Src = 9; }, false,
         [](ModulationButtons& b) { b.Type = 2, b.Range = 0, b.Waveform = 0; }},
        {"50M without the extended range shows 10M", [](GeneratorSection& g) { g.MF_Mult = 5000; },
         false, [](ModulationButtons& b) { b.Range = 3, b.Waveform = 0; }},
        {"50M with it", [](GeneratorSection& g) { g.MF_Mult = 5000; }, true,
         [](ModulationButtons& b) { b.Range = 4, b.Waveform = 0; }},
        {"noise is down in the range group; the waveform stays",
         [](GeneratorSection& g) { g.MF_Shape = 7, g.MF_Mult = 10; }, false,
         [](ModulationButtons& b) { b.Range = 5, b.Waveform = 2; }},
        {"rising ramp", [](GeneratorSection& g) { g.MF_Shape = 1; }, false,
         [](ModulationButtons& b) { b.Range = 0, b.Waveform = 3; }},
        {"no button for the values: the groups stay",
         [](GeneratorSection& g) { g.MF_Shape = 5, g.MF_Mult = 7, g.DF_Mult = 3; }, false,
         [](ModulationButtons& b) { b.Deviation = 1; }},
    };
    for (const auto& c : cases) {
        GeneratorSection g;
        c.set(g);
        ModulationButtons expected = before;
        expected.Type = expected.Source = expected.Deviation = 0;
        c.expect(expected);
        EXPECT_EQ(LoadModulationDialog(g, 31, c.extended, before).Buttons, expected) << c.name;
    }
}

TEST(ModulationDialogLoad, SecondChannelsAnd50MByModelAndFlag) {
    const GeneratorSection g;
    const ModulationDialogLoad qx4001a = LoadModulationDialog(g, 28, false, {});
    EXPECT_FALSE(qx4001a.SourceA2Visible);
    EXPECT_FALSE(qx4001a.SourceD2Visible);
    EXPECT_FALSE(qx4001a.Range50MVisible);
    const ModulationDialogLoad qx4002 = LoadModulationDialog(g, 25, true, {});
    EXPECT_TRUE(qx4002.SourceA2Visible);
    EXPECT_FALSE(qx4002.SourceD2Visible);
    EXPECT_TRUE(qx4002.Range50MVisible);

    EXPECT_EQ(ModulationDialogCaptionsOf(false, 28).Sources[1], "A");
    EXPECT_EQ(ModulationDialogCaptionsOf(false, 28).Sources[3], "D");
    EXPECT_EQ(ModulationDialogCaptionsOf(true, 31).Sources[1], "A1");
    EXPECT_EQ(ModulationDialogCaptionsOf(true, 31).Sources[3], "D1");
}

TEST(ModulationDialogUpdate, HighRangesForceSineAndTheWaveformFollowsTheButtons) {
    const struct {
        std::size_t range, waveform;
        std::size_t waveformAfter;
        std::int32_t shape;
        std::array<bool, 5> enabled;
    } cases[] = {
        {0, 1, 1, 3, {true, true, true, true, true}},       // rectangle at 10K
        {2, 3, 3, 1, {true, true, true, true, true}},       // rising ramp at 1M
        {3, 1, 0, 0, {true, false, false, false, false}},   // 10M: sine only
        {4, 4, 0, 0, {true, false, false, false, false}},   // 50M
        {5, 4, 4, 7, {false, false, false, false, false}},  // noise
    };
    for (const auto& c : cases) {
        GeneratorSection g;
        ModulationButtons b;
        b.Range = c.range, b.Waveform = c.waveform;
        const ModulationDialogView v = UpdateModulationDialog(g, b, false);
        EXPECT_EQ(b.Waveform, c.waveformAfter) << "range " << c.range;
        EXPECT_EQ(g.MF_Shape, c.shape) << "range " << c.range;
        EXPECT_EQ(v.WaveformEnabled, c.enabled) << "range " << c.range;
    }
}

TEST(ModulationDialogUpdate, AnExternalSourceDisablesFrequencyAndWaveform) {
    for (std::size_t source = 0; source < 5; ++source) {
        GeneratorSection g;
        ModulationButtons b;
        b.Source = source;
        const ModulationDialogView v = UpdateModulationDialog(g, b, false);
        EXPECT_EQ(v.FrequencyEnabled, source == 0) << source;
        EXPECT_EQ(v.WaveformEnabled[0], source == 0) << source;
        EXPECT_EQ(v.WaveformEnabled[1], source == 0) << source;
    }
}

TEST(ModulationDialogUpdate, OnlyTheDepthOfTheChosenTypeIsEnabled) {
    for (std::size_t type = 0; type < 3; ++type) {
        GeneratorSection g;
        ModulationButtons b;
        b.Type = type;
        const ModulationDialogView v = UpdateModulationDialog(g, b, false);
        EXPECT_EQ(v.ModKEnabled, type == 0) << type;
        EXPECT_EQ(v.DevFMEnabled, type == 1) << type;
        EXPECT_EQ(v.SumLevEnabled, type == 2) << type;
    }
}

TEST(ModulationDialogUpdate, Labels) {
    const struct {
        const char* name;
        std::size_t type, source, range;
        bool russian;
        std::function<void(GeneratorSection&)> set;
        const char *modFreq, *modK, *devFM, *sumLev, *dev10K, *dev100K;
    } cases[] = {
        {"internal", 0, 0, 0, false, [](GeneratorSection&) {}, "Mod. Sig. Freq. = 100.00 Hz",
         "K AM = 70.0%", "Dev. FM = 3.00 KHz", "Sum. Level = 100.0%", "10K", "100K"},
        {"A1 per division", 0, 1, 0, false, [](GeneratorSection& g) { g.Mod_K = 1000; },
         "Mod. Sig. Freq. = 100.00 Hz", "K AM = 25.000% / Div", "Dev. FM = 600.0 Hz / Div",
         "Sum. Level = 25.000% / Div", "2K", "20K"},
        {"SUM at the top of 50M", 2, 0, 4, false,
         [](GeneratorSection& g) {
             g.Mod_Freq_Fast = 1000, g.Mod_Freq_Slow = 1000, g.MF_Mult = 5000;
         },
         "Sum. Sig. Freq. = 50.5000 MHz", "K AM = 70.0%", "Dev. FM = 3.00 KHz",
         "Sum. Level = 100.0%", "10K", "100K"},
        {"noise", 0, 0, 5, false, [](GeneratorSection&) {}, "Mod. Sig. Freq. = Noise",
         "K AM = 70.0%", "Dev. FM = 3.00 KHz", "Sum. Level = 100.0%", "10K", "100K"},
        {"Russian from D2, 100K deviation", 1, 4, 0, true,
         [](GeneratorSection& g) { g.DF_Mult = 10; }, "Частота мод. сигнала = 100,00 Hz",
         "Коэффициент АМ = 70,0%", "Девиация ЧМ = 30,0 KHz", "Уровень сум. сигнала = 100,0%", "10K",
         "100K"},
        {"Russian from A2", 2, 2, 5, true, [](GeneratorSection&) {}, "Частота сум. сигнала = Noise",
         "Коэффициент АМ = 17,500% / Дел", "Девиация ЧМ = 600,0 Hz / Дел",
         "Уровень сум. сигнала = 25,000% / Дел", "2K", "20K"},
    };
    for (const auto& c : cases) {
        GeneratorSection g;
        c.set(g);
        ModulationButtons b;
        b.Type = c.type, b.Source = c.source, b.Range = c.range;
        const ModulationDialogView v =
            UpdateModulationDialog(g, b, c.russian, c.russian ? ',' : '.');
        EXPECT_EQ(v.ModFreq, c.modFreq) << c.name;
        EXPECT_EQ(v.ModK, c.modK) << c.name;
        EXPECT_EQ(v.DevFM, c.devFM) << c.name;
        EXPECT_EQ(v.SumLev, c.sumLev) << c.name;
        EXPECT_EQ(v.Deviation[0], c.dev10K) << c.name;
        EXPECT_EQ(v.Deviation[1], c.dev100K) << c.name;
    }
}

}  // namespace
}  // namespace qx40
