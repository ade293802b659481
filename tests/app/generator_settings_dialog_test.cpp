// The generator modulation dialog on the window: opened from the menu and
// the modulation read-out, every edit in the register image while it is
// open, Cancel in all its forms putting back the eleven fields, OK keeping
// them, and the controls the model and the extended range decide.
#include "dialogs/generator_settings_dialog.h"

#include <gtest/gtest.h>

#include "device/usb/fake_link.h"
#include "dialog_driver.h"
#include "dialog_harness.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::Child;
using testing_support::WhileOpen;
using testing_support::WindowHarness;

QToolButton& Button(QDialog& d, const char* name) {
    return Child<QToolButton>(d, name);
}
QScrollBar& Bar(QDialog& d, const char* name) {
    return Child<QScrollBar>(d, name);
}
std::string LabelText(QDialog& d, const char* name) {
    return Child<QLabel>(d, name).text().toStdString();
}

std::array<std::int32_t, 11> DialogFields(const GeneratorSection& g) {
    return {g.Mod_Type, g.Mod_Src, g.Inv,      g.Mod_Freq_Fast, g.Mod_Freq_Slow, g.MF_Mult,
            g.MF_Shape, g.Mod_K,   g.Dev_Freq, g.DF_Mult,       g.Sum_Lev};
}

class GeneratorSettingsDialogTest : public testing::Test {
protected:
    void Build(std::string programSettings = "[Common]\nRussian=0\n") {
        harness.dir.Write("qx40.ini", programSettings);
        harness.Build(fake, image);
        ASSERT_TRUE(harness.ShowAndWaitIdle());
    }
    MainWindow& W() { return harness.Window(); }
    GeneratorSection& G() { return W().Model().state.Generator; }
    const DeviceSettings& Registers() { return W().Model().registers; }
    std::uint64_t SecondWord() { return Registers().Get<6>(reg::kGenSecond); }
    // The output on (without the button, which would look for an instrument)
    // in modulation mode.
    void ModulationOn() {
        G().GenOn = true;
        harness.Button("SpeedButton_Mod")->click();
        ASSERT_EQ(G().Mode, GenMode::Mod);
    }
    bool Open(const std::function<void(QDialog&)>& play) {
        return WhileOpen(W(), "Form_GeneratorSet", play,
                         [this] { harness.Action("Menu_GeneratorSet")->trigger(); });
    }

    FakeLink fake;  // outlives the window
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(1024, 0x11);
    WindowHarness harness;
};

TEST_F(GeneratorSettingsDialogTest, OpenedByTheMenuAndADoubleClickOnTheModulationReadout) {
    Build();
    ModulationOn();
    QLabel* readout = W().findChild<QLabel*>("Label_Mod");
    ASSERT_NE(readout, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return readout->isVisible(); }, 5000))
        << "shown with the next refresh";
    const std::function<void()> ways[] = {
        [&] { harness.Action("Menu_GeneratorSet")->trigger(); },
        [&] { QTest::mouseDClick(readout, Qt::LeftButton); },
    };
    for (std::size_t i = 0; i < std::size(ways); ++i) {
        bool busy = false;
        EXPECT_TRUE(WhileOpen(
            W(), "Form_GeneratorSet",
            [&](QDialog& d) {
                busy = W().IsBusy();
                EXPECT_EQ(d.windowTitle(), "Generator Modulation Settings");
                EXPECT_EQ(d.focusWidget(), &Child<QPushButton>(d, "Button_Cancel"));
                d.accept();
            },
            ways[i]))
            << "way " << i;
        EXPECT_TRUE(busy) << "way " << i;
    }
    EXPECT_FALSE(W().IsBusy());
    EXPECT_TRUE(harness.dialogs.shown.empty()) << "no message box, no \"not available yet\"";
}

TEST_F(GeneratorSettingsDialogTest, AmDepthFromInputA1ReachesTheRegistersAndOkKeepsIt) {
    Build();
    ModulationOn();
    ASSERT_EQ(G().Ampl, 47);  // amplitude word 4001
    std::uint64_t internal = 0, fromA1 = 0;
    ASSERT_TRUE(Open([&](QDialog& d) {
        EXPECT_TRUE(Button(d, "SpeedButton_AM").isChecked());
        Bar(d, "ScrollBar_Mod_K").setValue(1000);
        internal = SecondWord();
        EXPECT_EQ(LabelText(d, "Label_Mod_K"), "K AM = 100.0%");
        Button(d, "SpeedButton_ESrc_A1").click();
        fromA1 = SecondWord();
        EXPECT_EQ(LabelText(d, "Label_Mod_K"), "K AM = 25.000% / Div");
        EXPECT_EQ(Button(d, "SpeedButton_Dev_10K").text(), "2K");
        EXPECT_EQ(Button(d, "SpeedButton_Dev_100K").text(), "20K");
        EXPECT_FALSE(Bar(d, "ScrollBar_MF_Fast").isEnabled()) << "an input sets the frequency";
        EXPECT_FALSE(Button(d, "SpeedButton_MF_Noise").isEnabled());
        EXPECT_FALSE(Bar(d, "ScrollBar_Dev_FM").isEnabled()) << "FM only";
        EXPECT_EQ(Registers().reg[reg::kGenMode] & 0x70, 0x10) << "source A1";
        Child<QPushButton>(d, "Button_OK").click();
    }));
    EXPECT_EQ(internal, 32008u);
    EXPECT_EQ(fromA1, 128031u);
    EXPECT_EQ(G().Mod_K, 1000);
    EXPECT_EQ(G().Mod_Src, 1);
    EXPECT_EQ(SecondWord(), 128031u);
}

TEST_F(GeneratorSettingsDialogTest, CancelEscapeAndTheCloseBoxRestoreEveryFieldAndTheRegisters) {
    Build();
    ModulationOn();
    GeneratorSection& g = G();
    g.Mod_Type = 1, g.Mod_Src = 0, g.Inv = 0, g.Mod_Freq_Fast = 20, g.Mod_Freq_Slow = 5,
    g.MF_Mult = 10;
    g.MF_Shape = 3, g.Mod_K = 500, g.Dev_Freq = 400, g.DF_Mult = 10, g.Sum_Lev = 600;
    W().ApplyAndRestart();
    const auto fields = DialogFields(g);
    const DeviceSettings registers = Registers();

    for (const testing_support::CloseWay& way : testing_support::kCancelWays) {
        bool edited = false;
        ASSERT_TRUE(Open([&](QDialog& d) {
            EXPECT_TRUE(Button(d, "SpeedButton_FM").isChecked()) << way.name;
            EXPECT_TRUE(Button(d, "SpeedButton_Int_Src").isChecked()) << way.name;
            EXPECT_TRUE(Button(d, "SpeedButton_MF_100K").isChecked()) << way.name;
            EXPECT_TRUE(Button(d, "SpeedButton_MF_Rect").isChecked()) << way.name;
            EXPECT_TRUE(Button(d, "SpeedButton_Dev_100K").isChecked()) << way.name;
            EXPECT_EQ(Bar(d, "ScrollBar_Dev_FM").value(), 400) << way.name;
            EXPECT_EQ(LabelText(d, "Label_ModFreq"), "Mod. Sig. Freq. = 2.0050 KHz") << way.name;

            Bar(d, "ScrollBar_MF_Fast").setValue(900);
            Bar(d, "ScrollBar_MF_Slow").setValue(50);
            Button(d, "SpeedButton_MF_1M").click();
            Button(d, "SpeedButton_MF_Up_Trian").click();
            Bar(d, "ScrollBar_Dev_FM").setValue(100);
            Button(d, "SpeedButton_Dev_10K").click();
            Button(d, "SpeedButton_Sum").click();
            Bar(d, "ScrollBar_Sum_Lev").setValue(10);
            Button(d, "SpeedButton_AM").click();
            Bar(d, "ScrollBar_Mod_K").setValue(20);
            Button(d, "SpeedButton_ESrc_D2").click();
            Child<QCheckBox>(d, "CheckBox_Inv").click();
            EXPECT_EQ(DialogFields(G()),
                      (std::array<std::int32_t, 11>{0, 4, 1, 900, 50, 100, 1, 20, 100, 1, 10}))
                << way.name;
            edited = Registers().reg != registers.reg;
            way.close(d);
        }));
        EXPECT_TRUE(edited) << way.name << ": the edits were in the register image";
        EXPECT_EQ(DialogFields(G()), fields) << way.name;
        EXPECT_EQ(Registers().reg, registers.reg) << way.name;
        EXPECT_FALSE(W().IsBusy()) << way.name;
    }
}

TEST_F(GeneratorSettingsDialogTest, HighRangesForceSineAndNoiseTakesTheRangeGroup) {
    Build();
    ModulationOn();
    ASSERT_TRUE(Open([&](QDialog& d) {
        Button(d, "SpeedButton_MF_Rect").click();
        EXPECT_EQ(G().MF_Shape, 3);
        Button(d, "SpeedButton_MF_10M").click();
        EXPECT_TRUE(Button(d, "SpeedButton_MF_Sin").isChecked());
        EXPECT_FALSE(Button(d, "SpeedButton_MF_Rect").isEnabled());
        EXPECT_TRUE(Button(d, "SpeedButton_MF_Sin").isEnabled());
        EXPECT_EQ(G().MF_Shape, 0);
        EXPECT_EQ(G().MF_Mult, 1000);

        Button(d, "SpeedButton_MF_Noise").click();
        EXPECT_FALSE(Button(d, "SpeedButton_MF_10M").isChecked()) << "one group";
        EXPECT_FALSE(Button(d, "SpeedButton_MF_Sin").isEnabled());
        EXPECT_EQ(G().MF_Shape, 7);
        EXPECT_EQ(G().MF_Mult, 1000) << "noise sets no range";
        EXPECT_EQ(LabelText(d, "Label_ModFreq"), "Mod. Sig. Freq. = Noise");
        EXPECT_EQ(Registers().reg[reg::kGenShape] >> 4, 7);

        Button(d, "SpeedButton_MF_100K").click();
        EXPECT_EQ(G().MF_Shape, 0) << "back to the waveform shown";
        EXPECT_EQ(G().MF_Mult, 10);
        d.accept();
    }));
}

TEST_F(GeneratorSettingsDialogTest, TheQx4001aOffersOneInputOfEachKindAndNo50M) {
    Build();
    W().SelectDeviceModel(28);
    G().MF_Mult = 5000;
    ASSERT_TRUE(Open([&](QDialog& d) {
        EXPECT_EQ(Button(d, "SpeedButton_ESrc_A1").text(), "A");
        EXPECT_EQ(Button(d, "SpeedButton_ESrc_D1").text(), "D");
        EXPECT_FALSE(Button(d, "SpeedButton_ESrc_A2").isVisible());
        EXPECT_FALSE(Button(d, "SpeedButton_ESrc_D2").isVisible());
        EXPECT_FALSE(Button(d, "SpeedButton_MF_50M").isVisible());
        EXPECT_TRUE(Button(d, "SpeedButton_MF_10M").isChecked());
        EXPECT_EQ(G().MF_Mult, 1000) << "the instrument gets the range shown";
        d.reject();
    }));
    EXPECT_EQ(G().MF_Mult, 5000) << "Cancel puts back what was there";
}

TEST_F(GeneratorSettingsDialogTest, TheExtendedRangeShows50M) {
    Build("[Common]\nRussian=0\n[System]\nNo_Excuse=1\n");
    G().MF_Mult = 5000;
    ASSERT_TRUE(Open([&](QDialog& d) {
        EXPECT_TRUE(Button(d, "SpeedButton_MF_50M").isVisible());
        EXPECT_TRUE(Button(d, "SpeedButton_MF_50M").isChecked());
        EXPECT_EQ(G().MF_Mult, 5000);
        EXPECT_EQ(Button(d, "SpeedButton_ESrc_A1").text(), "A1");
        EXPECT_TRUE(Button(d, "SpeedButton_ESrc_D2").isVisible());
        d.accept();
    }));
}

// The widest read-outs: an analog input as the source (the per-division
// forms) and a six-digit modulation frequency, in both languages.
TEST_F(GeneratorSettingsDialogTest, NothingIsClippedInEitherLanguage) {
    Build("[Common]\nRussian=0\n[System]\nNo_Excuse=1\n");
    for (const std::int32_t type : {0, 1, 2}) {
        G().Mod_Type = type, G().Mod_Src = 1;
        G().Mod_Freq_Fast = 1000, G().Mod_Freq_Slow = 999, G().MF_Mult = 5000;
        G().Mod_K = 1000, G().Dev_Freq = 1000, G().DF_Mult = 10, G().Sum_Lev = 1000;
        for (const char* language : {"Menu_Russian", "Menu_English"}) {
            harness.Action(language)->trigger();
            ASSERT_TRUE(Open([&](QDialog& d) {
                SCOPED_TRACE(std::string(language) + " type " + std::to_string(type));
                testing_support::ExpectNothingClipped(d);
            }));
        }
    }
}

TEST_F(GeneratorSettingsDialogTest, CaptionsInTheLanguageOfTheOpening) {
    Build();
    harness.Action("Menu_Russian")->trigger();
    ASSERT_TRUE(Open([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "Установки модуляции генератора");
        EXPECT_EQ(Button(d, "SpeedButton_FM").text().toStdString(), "ЧМ");
        EXPECT_EQ(Button(d, "SpeedButton_AM").text().toStdString(), "AM");
        EXPECT_EQ(Button(d, "SpeedButton_Int_Src").text().toStdString(), "Внутр.");
        EXPECT_EQ(Button(d, "SpeedButton_MF_Noise").text().toStdString(), "Шум");
        EXPECT_EQ(Child<QCheckBox>(d, "CheckBox_Inv").text().toStdString(), "Инверсия");
        EXPECT_EQ(LabelText(d, "Label_Mod_K").rfind("Коэффициент АМ = ", 0), 0u);
    }));
    harness.Action("Menu_English")->trigger();
    ASSERT_TRUE(Open([&](QDialog& d) {
        EXPECT_EQ(Button(d, "SpeedButton_Sum").text().toStdString(), "SUM");
        EXPECT_EQ(Child<QPushButton>(d, "Button_Cancel").text().toStdString(), "Cancel");
        EXPECT_EQ(LabelText(d, "Label_Mod_Type"), "Modulation Type");
    }));
}

}  // namespace
}  // namespace qx40
