// The FFT settings dialog on the window: every click takes effect while it
// is open, the screen shows the spectrum of the new settings, OK keeps and
// Cancel, Escape and the close box put back the six fields.
#include "dialogs/fft_settings_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLocale>
#include <QRadioButton>
#include <cmath>

#include "device/usb/fake_link.h"
#include "dialog_harness.h"
#include "display/screen_renderer.h"
#include "files/data_file.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::ClickOk;
using testing_support::kCancelWays;
using testing_support::WhileOpen;
using testing_support::WindowHarness;

class FftSettingsDialogTest : public testing::Test {
protected:
    explicit FftSettingsDialogTest(std::string ini = "[Common]\nRussian=0\n[System]\nNo_Excuse=1\n")
        : harness(std::move(ini)) {
        harness.Build(fake, image);
        EXPECT_TRUE(harness.ShowAndWaitIdle());
    }
    MainWindow& W() { return harness.Window(); }
    FftSection& Fft() { return W().Model().state.FFT; }

    // A 1 kHz-ish sine on A1 over the whole record, shown from a data file,
    // with the spectrum of A1 on.
    void ShowSineSpectrum() {
        SampleRecord r;
        r.Info[fi::DeviceTypeCode] = 31;
        r.Info[fi::Divider] = 200;
        r.Info[fi::VoltsDivA1] = r.Info[fi::VoltsDivA2] = 1000000;
        r.Info[fi::ZeroA1] = 128;
        r.Info[fi::ZeroA2] = 63;
        r.Info[fi::RingLength] = r.Info[fi::ValidPoints] = 5000;
        r.Info[fi::Channels] = 1 | 2;
        for (std::size_t i = 0; i < 5000; ++i) {
            r.Min[kA1][i] = r.Max[kA1][i] =
                static_cast<std::int32_t>(std::lround(128 + 90 * std::sin(i * 0.0377)));
            r.Min[kA2][i] = r.Max[kA2][i] = 63;
        }
        std::string error;
        ASSERT_EQ(WriteDataFile(harness.dir.File("sine.qxd"), r, error), DataFileError::None)
            << error;
        W().OpenDataFile(harness.dir.File("sine.qxd"));
        harness.Action("Menu_FFT_A1")->trigger();
        ASSERT_TRUE(Fft().View_A1);
    }

    // The window's screen is the one a fresh display step draws of the
    // state in force: a spectrum computed anew for these settings.
    bool ScreenShowsFreshSpectrum() {
        ScreenRenderer fresh;
        ScreenInput in{W().Model().state, W().Model().derived, W().MainRecord(),
                       W().BackgroundRecord()};
        in.Geometry = W().Geometry();
        in.SpectrumNewData = true;
        in.SettingsChanged = true;
        in.DecimalSeparator = QLocale::system().decimalPoint().at(0).toLatin1();
        QImage expected(W().Bitmap().size(), QImage::Format_RGB32);
        const ScreenOutput out = fresh.Render(in, expected);
        return ShowsSpectrum(out.SpectrumMode) && W().Bitmap() == expected;
    }
    bool WaitForFreshSpectrum() {
        return QTest::qWaitFor([&] { return ScreenShowsFreshSpectrum(); }, 20000);
    }

    QRadioButton* Item(QDialog& d, const char* group, int index) {
        auto* box = d.findChild<QGroupBox*>(group);
        EXPECT_NE(box, nullptr) << group;
        const QList<QRadioButton*> items = box->findChildren<QRadioButton*>();
        return items.at(index);
    }
    QCheckBox* Check(QDialog& d, const char* name) { return d.findChild<QCheckBox*>(name); }

    // The user's edits: every control away from the defaults.
    void EditEverything(QDialog& d) {
        Item(d, "RadioGroup_FFT_Size", 1)->click();   // 2048
        Item(d, "RadioGroup_FFT_Win", 1)->click();    // Hann
        Item(d, "RadioGroup_FFT_Scale", 2)->click();  // dBm (75 Ohm)
        Check(d, "CheckBox_FFT_dbv_v")->click();
        Check(d, "CheckBox_FFT_Mdl")->click();
        Check(d, "CheckBox_FFT_Dither")->click();
    }

    FakeLink fake;
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(1024, 0x11);
    WindowHarness harness;
};

TEST_F(FftSettingsDialogTest, ShowsTheSettingsInForce) {
    Fft().Size = 4;
    Fft().Win = 7;
    Fft().Scale = 3;
    Fft().Mdl = true;
    WhileOpen(W(), harness.Action("Menu_FFTSet"), "Form_FFTSet", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "FFT Settings");
        EXPECT_TRUE(Item(d, "RadioGroup_FFT_Size", 4)->isChecked());
        EXPECT_EQ(Item(d, "RadioGroup_FFT_Size", 4)->text(), "16384");
        EXPECT_TRUE(Item(d, "RadioGroup_FFT_Win", 7)->isChecked());
        EXPECT_EQ(Item(d, "RadioGroup_FFT_Win", 7)->text(), "Blackman–Nuttall");
        EXPECT_TRUE(Item(d, "RadioGroup_FFT_Scale", 3)->isChecked());
        EXPECT_FALSE(Check(d, "CheckBox_FFT_dbv_v")->isChecked());
        EXPECT_TRUE(Check(d, "CheckBox_FFT_Mdl")->isChecked());
        EXPECT_TRUE(Check(d, "CheckBox_FFT_Dither")->isVisible())
            << "No_Excuse shows the service control";
        EXPECT_EQ(Fft().Size, 4) << "loading the controls changed nothing";
        EXPECT_TRUE(W().IsBusy());
        ClickOk(d);
    });
    EXPECT_FALSE(W().IsBusy());
}

TEST_F(FftSettingsDialogTest, EditsTakeEffectWhileOpenAndCancelPutsBackAllSix) {
    Fft().View_A1 = true;  // the dither bit goes to the analysed channel
    W().ApplySettings();
    const FftSection before = Fft();
    for (const auto& way : kCancelWays) {
        WhileOpen(W(), harness.Action("Menu_FFTSet"), "Form_FFTSet", [&](QDialog& d) {
            LinkFlags& f = W().Shared().flags;
            f.SettingsChanged = f.NewFrameData = false;
            Item(d, "RadioGroup_FFT_Win", 0)->click();
            EXPECT_EQ(Fft().Win, 0) << way.name;
            EXPECT_TRUE(f.SettingsChanged) << way.name << ": the average starts again";
            EXPECT_TRUE(f.NewFrameData) << way.name << ": a new spectrum is asked for";

            EditEverything(d);
            EXPECT_EQ(Fft().Size, 1);
            EXPECT_EQ(Fft().Win, 1);
            EXPECT_EQ(Fft().Scale, 2);
            EXPECT_TRUE(Fft().dbv_v && Fft().Mdl && Fft().Dither);
            EXPECT_TRUE(W().Model().registers.reg[reg::kGainCodeA1] & 0x20)
                << "the instrument adds its dither";
            f.SettingsDirty = false;
            way.close(d);
        });
        EXPECT_EQ(Fft(), before) << way.name;
        EXPECT_FALSE(W().Model().registers.reg[reg::kGainCodeA1] & 0x20) << way.name;
        EXPECT_TRUE(W().Shared().flags.SettingsDirty)
            << way.name << ": the instrument gets the old settings again";
        EXPECT_FALSE(W().IsBusy());
    }
}

TEST_F(FftSettingsDialogTest, OkKeepsTheEdits) {
    WhileOpen(W(), harness.Action("Menu_FFTSet"), "Form_FFTSet", [&](QDialog& d) {
        EditEverything(d);
        ClickOk(d);
    });
    EXPECT_EQ(Fft().Size, 1);
    EXPECT_EQ(Fft().Win, 1);
    EXPECT_EQ(Fft().Scale, 2);
    EXPECT_TRUE(Fft().dbv_v && Fft().Mdl && Fft().Dither);
}

// Without a new frame the screen shows a spectrum only as new as its last
// request: each edit must ask for one, and Cancel too.
TEST_F(FftSettingsDialogTest, TheScreenShowsTheSpectrumOfTheSettingsInForce) {
    ShowSineSpectrum();
    ASSERT_TRUE(WaitForFreshSpectrum());
    const QImage before = W().Bitmap();
    WhileOpen(W(), harness.Action("Menu_FFTSet"), "Form_FFTSet", [&](QDialog& d) {
        for (const auto& [group, item] : {std::pair{"RadioGroup_FFT_Win", 0},
                                          {"RadioGroup_FFT_Size", 0},
                                          {"RadioGroup_FFT_Scale", 1}}) {
            const QImage last = W().Bitmap();
            Item(d, group, item)->click();
            EXPECT_TRUE(WaitForFreshSpectrum()) << group << " " << item;
            EXPECT_NE(W().Bitmap(), last) << group << " " << item;
        }
        Check(d, "CheckBox_FFT_Mdl")->click();
        EXPECT_TRUE(WaitForFreshSpectrum()) << "averaging starts from one spectrum";
        d.reject();
    });
    EXPECT_TRUE(WaitForFreshSpectrum());
    EXPECT_EQ(W().Bitmap(), before);
}

TEST_F(FftSettingsDialogTest, KeyboardMovesThroughAGroupAndEnterIsOk) {
    WhileOpen(W(), harness.Action("Menu_FFTSet"), "Form_FFTSet", [&](QDialog& d) {
        QRadioButton* flatTop = Item(d, "RadioGroup_FFT_Win", 2);
        ASSERT_TRUE(flatTop->isChecked());
        QApplication::setActiveWindow(&d);
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.isActiveWindow(); }));
        flatTop->setFocus();
        QTest::keyClick(flatTop, Qt::Key_Down);
        EXPECT_EQ(Fft().Win, 3) << "the arrow key checks Hamming and it takes effect";
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &d,
                        Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(Fft().Win, 3) << "Enter is OK";
}

class FftSettingsDialogRussianTest : public FftSettingsDialogTest {
protected:
    FftSettingsDialogRussianTest() : FftSettingsDialogTest("[Common]\nRussian=1\n") {}
};

TEST_F(FftSettingsDialogRussianTest, CaptionsOfTheLanguageAtOpeningAndNothingCutOff) {
    WhileOpen(W(), harness.Action("Menu_FFTSet"), "Form_FFTSet", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Установки БПФ");
        EXPECT_EQ(d.findChild<QGroupBox*>("RadioGroup_FFT_Win")->title(), "Весовое окно");
        EXPECT_EQ(Item(d, "RadioGroup_FFT_Win", 5)->text(), "Блэкмана — Харриса");
        EXPECT_EQ(Item(d, "RadioGroup_FFT_Size", 6)->text(), "Авто");
        EXPECT_EQ(Check(d, "CheckBox_FFT_dbv_v")->text(), "дБВ -> Вольты");
        EXPECT_EQ(d.findChild<QAbstractButton*>("Button_Cancel")->text(), "Отмена");
        EXPECT_FALSE(Check(d, "CheckBox_FFT_Dither")->isVisibleTo(&d)) << "a service control";
        testing_support::ExpectNothingClipped(d);
        d.reject();
    });
    harness.Action("Menu_English")->trigger();
    WhileOpen(W(), harness.Action("Menu_FFTSet"), "Form_FFTSet", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "FFT Settings");
        EXPECT_EQ(d.findChild<QGroupBox*>("RadioGroup_FFT_Scale")->title(), "Scale");
        EXPECT_EQ(d.findChild<QAbstractButton*>("Button_Cancel")->text(), "Cancel");
        testing_support::ExpectNothingClipped(d);
        d.reject();
    });
}

}  // namespace
}  // namespace qx40
