#include "spectrum/fft_settings_controls.h"

#include <gtest/gtest.h>

#include "spectrum/fft_window.h"

namespace qx40 {
namespace {

const FftControlInfo& Info(FftControl c) {
    for (const FftControlInfo& i : FftControls())
        if (i.control == c) return i;
    ADD_FAILURE() << "no control " << static_cast<int>(c);
    return FftControls().front();
}

TEST(FftSettingsControls, GroupsHoldEveryValueOfTheirSetting) {
    EXPECT_EQ(Info(FftControl::Size).items.size(), 7u);  // 1024 .. 32768 and Auto
    EXPECT_EQ(Info(FftControl::Size).items[6].In(true), "Авто");
    EXPECT_EQ(Info(FftControl::Win).items.size(), static_cast<std::size_t>(kFftWindowCount));
    EXPECT_EQ(Info(FftControl::Win).items[kWindowBlackmanHarris].In(false), "Blackman–Harris");
    EXPECT_EQ(Info(FftControl::Scale).items.size(), 4u);
    EXPECT_EQ(Info(FftControl::Scale).items[3].In(true), "дБм (600 Ом)");
    EXPECT_TRUE(Info(FftControl::Dither).items.empty());
}

// Each edit stores its field alone and asks for what the screen or the
// instrument needs: a new spectrum with a fresh average, a redraw of the
// read-outs, or the instrument's restart for its dither bit.
TEST(FftSettingsControls, AnEditStoresItsFieldAndAsksForItsApply) {
    struct Case {
        FftControl control;
        std::int32_t value;
        FftSection expected;
        FftEditEffect effect;
    };
    const FftSection start;  // Size 6, Win 2, Scale 0, all flags off
    const auto with = [&](auto change) {
        FftSection f = start;
        change(f);
        return f;
    };
    const Case cases[] = {
        {FftControl::Size, 3, with([](FftSection& f) { f.Size = 3; }), FftEditEffect::NewSpectrum},
        {FftControl::Win, 8, with([](FftSection& f) { f.Win = 8; }), FftEditEffect::NewSpectrum},
        {FftControl::Scale, 1, with([](FftSection& f) { f.Scale = 1; }), FftEditEffect::NewSpectrum},
        {FftControl::Mdl, 1, with([](FftSection& f) { f.Mdl = true; }), FftEditEffect::NewSpectrum},
        {FftControl::dbv_v, 1, with([](FftSection& f) { f.dbv_v = true; }), FftEditEffect::Redraw},
        {FftControl::Dither, 1, with([](FftSection& f) { f.Dither = true; }), FftEditEffect::Restart},
    };
    for (const Case& c : cases) {
        FftSection f = start;
        EXPECT_EQ(SetFftControl(f, c.control, c.value), c.effect) << Info(c.control).name;
        EXPECT_EQ(f, c.expected) << Info(c.control).name;
        EXPECT_EQ(FftControlValue(f, c.control), c.value) << Info(c.control).name;
    }
}

// A hand-edited settings file may hold any number: the dialog shows what the
// analyser makes of it.
TEST(FftSettingsControls, ValuesOutOfRangeShowWhatTheAnalyserUses) {
    struct Case {
        FftControl control;
        std::int32_t stored;
        std::int32_t shown;
    };
    const Case cases[] = {
        {FftControl::Size, -1, 6}, {FftControl::Size, 9, 6},   {FftControl::Size, 5, 5},
        {FftControl::Win, -3, 0},  {FftControl::Win, 12, 8},   {FftControl::Scale, 7, 3},
        {FftControl::Scale, -1, 0},
    };
    for (const Case& c : cases) {
        FftSection f;
        (c.control == FftControl::Size ? f.Size : c.control == FftControl::Win ? f.Win : f.Scale) = c.stored;
        EXPECT_EQ(FftControlValue(f, c.control), c.shown) << Info(c.control).name << " " << c.stored;
    }
}

TEST(FftSettingsControls, DitherIsAServiceControl) {
    ScopeState s;
    EXPECT_FALSE(FftDitherShown(s));
    s.System.No_Excuse = true;
    EXPECT_TRUE(FftDitherShown(s));
    s.System.No_Excuse = false;
    s.System.Debug_qx = true;
    EXPECT_TRUE(FftDitherShown(s));
}

}  // namespace
}  // namespace qx40
