// The colour dialog on the window: a colour chosen shows at once on the
// screen and the panels, Default puts back the defaults, OK keeps the
// colours and writes the program settings file, Cancel, Escape and the close
// box put back the colours of the opening and leave the file alone.
#include "dialogs/colour_settings_dialog.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QPushButton>

#include "device/usb/fake_link.h"
#include "dialog_harness.h"
#include "files/ini_document.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::ClickOk;
using testing_support::kCancelWays;
using testing_support::WhileOpen;
using testing_support::WindowHarness;

constexpr std::uint32_t kMyBackground = 0x203040;  // 0x00BBGGRR
constexpr std::uint32_t kMyA1 = 0x10C0E0;
constexpr std::uint32_t kChosen = 0x336699;

std::string ProgramFile(std::int32_t model) {
    return "[Common]\nRussian=0\n[System]\nDevice_Type_Code=" + std::to_string(model) +
           "\n[Colors]\nBackground=" + std::to_string(kMyBackground) +
           "\nCH_A1=" + std::to_string(kMyA1) + "\n";
}

QColor Rgb(std::uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

class ColourSettingsDialogTest : public testing::Test {
protected:
    explicit ColourSettingsDialogTest(std::int32_t model = 31) : harness(ProgramFile(model)) {
        harness.Build(fake, image);
        EXPECT_TRUE(harness.ShowAndWaitIdle());
        file = harness.dir.Read("qx40.ini");
    }
    MainWindow& W() { return harness.Window(); }
    ColourSlots& Colours() { return W().Model().state.Colors; }
    QAction* Menu() { return harness.Action("Menu_Colors"); }

    // Inside the first grid cell, away from every grid line and mark.
    QColor ScreenBackground() {
        const ScreenGeometry& g = W().Geometry();
        return W().Bitmap().pixelColor(g.X0 + g.W / 20 + 3, g.Y0 + g.H / 16 + 3);
    }
    bool WaitForScreenBackground(std::uint32_t bgr) {
        return QTest::qWaitFor([&] { return ScreenBackground() == Rgb(bgr); }, 20000);
    }
    static QColor PanelColour(const QWidget* panel) {
        return panel->palette().color(QPalette::Window);
    }
    static QPushButton* Button(QDialog& d, const char* name) {
        return d.findChild<QPushButton*>(name);
    }
    static QFrame* Panel(QDialog& d, const char* name) { return d.findChild<QFrame*>(name); }

    FakeLink fake;
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(1024, 0x11);
    WindowHarness harness;
    std::string file;  // the program settings file as the window found it
};

TEST_F(ColourSettingsDialogTest, AColourChosenShowsAtOnce) {
    ASSERT_TRUE(WaitForScreenBackground(kMyBackground)) << "the file's colour is drawn";
    harness.dialogs.colours = {kChosen, std::nullopt};
    WhileOpen(W(), Menu(), "Form_ColorSet", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Color Settings");
        EXPECT_EQ(PanelColour(Panel(d, "Panel_clBackground")), Rgb(kMyBackground));
        EXPECT_EQ(PanelColour(Panel(d, "Panel_cl_A1")), Rgb(kMyA1));
        EXPECT_TRUE(Button(d, "Button_Cancel")->hasFocus() ||
                    Button(d, "Button_Cancel")->isDefault());
        EXPECT_TRUE(W().IsBusy());

        Button(d, "Button_clBackground")->click();
        ASSERT_EQ(harness.dialogs.colourRequests.size(), 1u);
        EXPECT_EQ(harness.dialogs.colourRequests[0].initial, kMyBackground)
            << "the chooser opens on the colour";
        EXPECT_EQ(harness.dialogs.colourRequests[0].title, "Background");
        EXPECT_EQ(Colours()[ColourSlot::Background], kChosen);
        EXPECT_EQ(PanelColour(Panel(d, "Panel_clBackground")), Rgb(kChosen));
        EXPECT_TRUE(WaitForScreenBackground(kChosen))
            << "the screen is drawn again in the new colour";

        // The chooser cancelled: nothing changes.
        Button(d, "Button_cl_A1")->click();
        EXPECT_EQ(Colours()[ColourSlot::CH_A1], kMyA1);
        EXPECT_EQ(PanelColour(Panel(d, "Panel_cl_A1")), Rgb(kMyA1));
        ClickOk(d);
    });
    EXPECT_EQ(Colours()[ColourSlot::Background], kChosen);
    EXPECT_FALSE(W().IsBusy());
}

TEST_F(ColourSettingsDialogTest, OkKeepsTheColoursAndWritesTheProgramFile) {
    harness.dialogs.colours = {kChosen};
    WhileOpen(W(), Menu(), "Form_ColorSet", [&](QDialog& d) {
        Button(d, "Button_clGrid")->click();
        EXPECT_EQ(harness.dir.Read("qx40.ini"), file)
            << "nothing is written while the dialog is open";
        ClickOk(d);
    });
    EXPECT_EQ(Colours()[ColourSlot::Grid], kChosen);
    const IniDocument ini = IniDocument::Parse(harness.dir.Read("qx40.ini"));
    EXPECT_EQ(ini.Get("Colors", "Grid"), std::to_string(kChosen));
    EXPECT_EQ(ini.Get("Colors", "Background"), std::to_string(kMyBackground));
    EXPECT_TRUE(harness.dialogs.shown.empty());
}

TEST_F(ColourSettingsDialogTest, ColoursChosenThenDefaultThenCancelPutBackTheColoursOfTheOpening) {
    const ColourSlots before = Colours();
    ASSERT_NE(before, ColourSlots{}) << "the file holds colours of its own";
    for (const auto& way : kCancelWays) {
        harness.dialogs.colours = {kChosen, 0x0000FF};
        WhileOpen(W(), Menu(), "Form_ColorSet", [&](QDialog& d) {
            Button(d, "Button_clBackground")->click();
            Button(d, "Button_clFFT")->click();
            EXPECT_TRUE(WaitForScreenBackground(kChosen)) << way.name;
            Button(d, "Button_clDefault")->click();
            EXPECT_EQ(Colours(), ColourSlots{}) << way.name << ": every default";
            EXPECT_EQ(PanelColour(Panel(d, "Panel_cl_A1")), Rgb(kDefaultColours[0])) << way.name;
            EXPECT_TRUE(WaitForScreenBackground(0x000000)) << way.name;
            way.close(d);
        });
        EXPECT_EQ(Colours(), before) << way.name;
        EXPECT_TRUE(WaitForScreenBackground(kMyBackground))
            << way.name << ": the screen in the old colours";
        EXPECT_EQ(harness.dir.Read("qx40.ini"), file) << way.name << ": the file stays as it was";
        EXPECT_FALSE(W().IsBusy()) << way.name;
    }
    // Opened again, the panels show the colours in force.
    WhileOpen(W(), Menu(), "Form_ColorSet", [&](QDialog& d) {
        EXPECT_EQ(PanelColour(Panel(d, "Panel_clBackground")), Rgb(kMyBackground));
        EXPECT_EQ(PanelColour(Panel(d, "Panel_clFFT")),
                  Rgb(kDefaultColours[static_cast<std::size_t>(ColourSlot::FFT)]));
        d.reject();
    });
}

TEST_F(ColourSettingsDialogTest, TheMainWindowsSwatchesFollow) {
    const QWidget* swatch = W().findChild<QWidget*>("Panel_Color_A1");
    ASSERT_NE(swatch, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return PanelColour(swatch) == Rgb(kMyA1); }, 20000));
    harness.dialogs.colours = {kChosen};
    WhileOpen(W(), Menu(), "Form_ColorSet", [&](QDialog& d) {
        Button(d, "Button_cl_A1")->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return PanelColour(swatch) == Rgb(kChosen); }, 20000));
        d.reject();
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return PanelColour(swatch) == Rgb(kMyA1); }, 20000));
}

TEST_F(ColourSettingsDialogTest, ModelWithoutSecondChannelsAndTheLanguageAtOpening) {
    const auto visibleButtons = [](QDialog& d) {
        int n = 0;
        for (const QPushButton* b : d.findChildren<QPushButton*>())
            if (b->objectName().startsWith("Button_cl") || b->objectName() == "Button_Extra_Info")
                n += b->isVisibleTo(&d) && b->objectName() != "Button_clDefault";
        return n;
    };
    WhileOpen(W(), Menu(), "Form_ColorSet", [&](QDialog& d) {
        EXPECT_EQ(visibleButtons(d), 12);
        EXPECT_EQ(Button(d, "Button_cl_A1")->text(), "Signal A1");
        EXPECT_EQ(Button(d, "Button_cl_D1")->text(), "Signal D1");
        testing_support::ExpectNothingClipped(d);
        d.reject();
    });
    harness.Action("Menu_4001A")->trigger();
    ASSERT_EQ(W().Model().state.System.Device_Type_Code, 28);
    harness.Action("Menu_Russian")->trigger();
    WhileOpen(W(), Menu(), "Form_ColorSet", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Установки цветов");
        EXPECT_EQ(visibleButtons(d), 10);
        for (const char* hidden : {"Button_cl_A2", "Panel_cl_A2", "Button_cl_D2", "Panel_cl_D2"})
            EXPECT_FALSE(d.findChild<QWidget*>(hidden)->isVisibleTo(&d)) << hidden;
        EXPECT_EQ(Button(d, "Button_cl_A1")->text(), "Сигнал A");
        EXPECT_EQ(Button(d, "Button_cl_D1")->text(), "Сигнал D");
        EXPECT_EQ(Button(d, "Button_clBorder")->text(), "Фон полей");
        EXPECT_EQ(Button(d, "Button_clDefault")->text(), "По умолч.");
        EXPECT_EQ(Button(d, "Button_Cancel")->text(), "Отмена");
        EXPECT_EQ(Button(d, "Button_OK")->text(), "OK");
        testing_support::ExpectNothingClipped(d);
        d.reject();
    });
    harness.Action("Menu_English")->trigger();
    WhileOpen(W(), Menu(), "Form_ColorSet", [&](QDialog& d) {
        EXPECT_EQ(Button(d, "Button_cl_A1")->text(), "Signal A");
        EXPECT_EQ(Button(d, "Button_cl_D1")->text(), "Signal D");
        EXPECT_EQ(Button(d, "Button_clDefault")->text(), "Default");
        d.reject();
    });
}

}  // namespace
}  // namespace qx40
