// The trigger settings dialog on the window: opened from three places, every
// edit in the register image while it is open, Cancel in all its forms
// putting back the eleven fields, OK keeping them.
#include "dialogs/trigger_settings_dialog.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>

#include "device/usb/fake_link.h"
#include "device/usb/sim/simulated_link.h"
#include "dialog_driver.h"
#include "dialog_harness.h"
#include "resources/fpga_image.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::Child;
using testing_support::WhileOpen;
using testing_support::WindowHarness;

QRadioButton& Item(QDialog& d, const char* group, int index) {
    return *Child<QGroupBox>(d, group).findChildren<QRadioButton*>().at(index);
}
QScrollBar& Bar(QDialog& d, const char* name) {
    return Child<QScrollBar>(d, name);
}
QCheckBox& Box(QDialog& d, const char* name) {
    return Child<QCheckBox>(d, name);
}
QToolButton& Button(QDialog& d, const char* name) {
    return Child<QToolButton>(d, name);
}

// The fields the dialog edits, as one comparable value.
std::array<std::int32_t, 11> DialogFields(const TriggerSection& t) {
    return {t.Pre,    t.Hyst, t.N,         t.PTmin,  t.PTmax,   t.PTmult,
            t.PTMode, t.Slew, t.Slew_Mode, t.Levels, t.Lev_Mask};
}

class TriggerSettingsDialogTest : public testing::Test {
protected:
    void Build() {
        harness.Build(fake, image);
        ASSERT_TRUE(harness.ShowAndWaitIdle());
    }
    MainWindow& W() { return harness.Window(); }
    TriggerSection& T() { return W().Model().state.Trigger; }
    const DeviceSettings& Registers() { return W().Model().registers; }
    std::uint32_t PulseMin() {
        return static_cast<std::uint32_t>(Registers().Get<4>(reg::kPulseMin));
    }
    std::uint32_t PulseMax() {
        return static_cast<std::uint32_t>(Registers().Get<4>(reg::kPulseMax));
    }
    bool Open(const std::function<void(QDialog&)>& play) {
        return WhileOpen(W(), "Form_TrigSet", play,
                         [this] { harness.Action("Menu_Trigger")->trigger(); });
    }

    FakeLink fake;  // outlives the window
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(1024, 0x11);
    WindowHarness harness;
};

TEST_F(TriggerSettingsDialogTest, OpenedByTheMenuCtrlTAndTheTriggerButton) {
    Build();
    W().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&W()));
    const std::function<void()> ways[] = {
        [&] { harness.Action("Menu_Trigger")->trigger(); },
        [&] { QTest::keyClick(&W(), Qt::Key_T, Qt::ControlModifier); },
        [&] { harness.Button("SpeedButton_Trig")->click(); },
    };
    QDialog* first = nullptr;
    for (std::size_t i = 0; i < std::size(ways); ++i) {
        QDialog* shown = nullptr;
        bool busy = false;
        EXPECT_TRUE(WhileOpen(
            W(), "Form_TrigSet",
            [&](QDialog& d) {
                shown = &d;
                busy = W().IsBusy();
                EXPECT_EQ(d.windowTitle(), "Trigger Settings");
                EXPECT_EQ(d.focusWidget(), &Child<QPushButton>(d, "Button_Cancel"));
                d.accept();
            },
            ways[i]))
            << "way " << i;
        EXPECT_TRUE(busy) << "way " << i;
        if (i == 0) first = shown;
        EXPECT_EQ(shown, first) << "one dialog, shown again";
    }
    EXPECT_FALSE(W().IsBusy());
    EXPECT_TRUE(harness.dialogs.shown.empty()) << "no message box, no \"not available yet\"";
}

TEST_F(TriggerSettingsDialogTest, PulseTimeLimitsReachTheRegistersWhileOpenAndOkKeepsThem) {
    Build();
    harness.Button("SpeedButton_TPLUS")->click();  // the conditions are sent with T+ only
    ASSERT_TRUE(T().TPLUS);
    std::uint32_t minWhileOpen = 0, maxWhileOpen = 0;
    ASSERT_TRUE(Open([&](QDialog& d) {
        QCheckBox& mode = Box(d, "CheckBox_Trig_PTMode");
        EXPECT_FALSE(Bar(d, "ScrollBar_Trig_PTmin").isEnabled()) << "off: the limits are disabled";
        mode.click();  // grayed: inside the window
        EXPECT_EQ(mode.checkState(), Qt::PartiallyChecked);
        EXPECT_TRUE(Bar(d, "ScrollBar_Trig_PTmin").isEnabled());
        EXPECT_TRUE(Button(d, "SpeedButton_T1mS").isEnabled());
        Button(d, "SpeedButton_T1mS").click();
        Bar(d, "ScrollBar_Trig_PTmin").setValue(12);
        Bar(d, "ScrollBar_Trig_PTmax").setValue(345);
        EXPECT_EQ(mode.text().toStdString(), "Duration inside   12.0 uS ... 345 uS");
        minWhileOpen = PulseMin();
        maxWhileOpen = PulseMax();
        EXPECT_EQ(Registers().reg[reg::kChanMode] & 0x18, 0x18) << "duration on, inside";
        Child<QPushButton>(d, "Button_OK").click();
    }));
    EXPECT_EQ(minWhileOpen, 1200u);
    EXPECT_EQ(maxWhileOpen, 34500u);
    EXPECT_EQ(T().PTmin, 12);
    EXPECT_EQ(T().PTmax, 345);
    EXPECT_EQ(T().PTmult, 100);
    EXPECT_EQ(T().PTMode, 1);
    EXPECT_EQ(PulseMin(), 1200u);
    EXPECT_EQ(PulseMax(), 34500u);
}

TEST_F(TriggerSettingsDialogTest, CancelEscapeAndTheCloseBoxRestoreEveryFieldAndTheRegisters) {
    Build();
    TriggerSection& t = T();
    t.TPLUS = true;
    t.Source = TriggerSource::CH_A1;
    t.Pre = 3, t.Hyst = 4, t.N = 7, t.PTmin = 20, t.PTmax = 30, t.PTmult = 1000, t.PTMode = 2;
    t.Slew = 40, t.Slew_Mode = 1, t.Levels = 0b0100, t.Lev_Mask = 0b0110;
    W().ApplyAndRestart();
    const auto fields = DialogFields(t);
    const DeviceSettings registers = Registers();

    for (const testing_support::CloseWay& way : testing_support::kCancelWays) {
        bool edited = false;
        ASSERT_TRUE(Open([&](QDialog& d) {
            // Loaded from the state.
            EXPECT_TRUE(Item(d, "RadioGroup_PreTrig", 3).isChecked()) << way.name;
            EXPECT_TRUE(Item(d, "RadioGroup_NR", 4).isChecked()) << way.name;
            EXPECT_EQ(Bar(d, "ScrollBar_Trig_N").value(), 7) << way.name;
            EXPECT_TRUE(Button(d, "SpeedButton_T10mS").isChecked()) << way.name;
            EXPECT_EQ(Box(d, "CheckBox_Trig_PTMode").checkState(), Qt::Checked) << way.name;
            EXPECT_EQ(Box(d, "CheckBox_Slew_Mode").checkState(), Qt::PartiallyChecked) << way.name;
            EXPECT_EQ(Box(d, "CheckBox_LevA1").checkState(), Qt::Unchecked) << way.name;
            EXPECT_FALSE(Box(d, "CheckBox_LevA1").isEnabled())
                << way.name << ": the source's own level";
            EXPECT_EQ(Box(d, "CheckBox_LevA2").checkState(), Qt::PartiallyChecked) << way.name;
            EXPECT_EQ(Box(d, "CheckBox_LevD1").checkState(), Qt::Checked) << way.name;
            EXPECT_EQ(Box(d, "CheckBox_LevD1").text().toStdString(), "D1 = '1'") << way.name;

            // Every field edited.
            Item(d, "RadioGroup_PreTrig", 9).click();
            Item(d, "RadioGroup_NR", 0).click();
            Bar(d, "ScrollBar_Trig_N").setValue(200);
            Button(d, "SpeedButton_T1S").click();
            Bar(d, "ScrollBar_Trig_PTmax").setValue(900);
            Bar(d, "ScrollBar_Trig_PTmin").setValue(800);
            Box(d, "CheckBox_Trig_PTMode").click();  // checked -> off
            Box(d, "CheckBox_Slew_Mode").click();    // grayed -> checked
            Bar(d, "ScrollBar_Trig_Slew").setValue(250);
            Box(d, "CheckBox_LevA2").click();  // grayed -> checked
            Box(d, "CheckBox_LevD2").click();  // any -> grayed
            const TriggerSection& now = T();
            EXPECT_EQ(DialogFields(now), (std::array<std::int32_t, 11>{9, 0, 200, 800, 900, 100000,
                                                                       0, 250, 2, 0b0110, 0b1110}))
                << way.name;
            edited = Registers().reg != registers.reg;
            way.close(d);
        }));
        EXPECT_TRUE(edited) << way.name << ": the edits were in the register image";
        EXPECT_EQ(DialogFields(T()), fields) << way.name;
        EXPECT_EQ(Registers().reg, registers.reg) << way.name;
        EXPECT_FALSE(W().IsBusy()) << way.name;
    }
}

TEST_F(TriggerSettingsDialogTest, EachPulseTimeBarPushesTheOther) {
    Build();
    ASSERT_TRUE(Open([&](QDialog& d) {
        Box(d, "CheckBox_Trig_PTMode").click();
        QScrollBar& min = Bar(d, "ScrollBar_Trig_PTmin");
        QScrollBar& max = Bar(d, "ScrollBar_Trig_PTmax");
        max.setValue(500);
        min.setValue(999);
        EXPECT_EQ(max.value(), 1000);
        EXPECT_EQ(T().PTmin, 999);
        EXPECT_EQ(T().PTmax, 1000);
        max.setValue(1);
        EXPECT_EQ(min.value(), 0);
        EXPECT_EQ(T().PTmin, 0);
        EXPECT_EQ(T().PTmax, 1);
        // The keyboard moves them too, a page key by the large change.
        max.setFocus();
        QTest::keyClick(&max, Qt::Key_PageDown);
        EXPECT_EQ(T().PTmax, 11);
    }));
}

TEST_F(TriggerSettingsDialogTest, TheQx4001aHasOneChannelOfEachKind) {
    Build();
    W().SelectDeviceModel(28);
    ASSERT_EQ(W().Model().state.System.Device_Type_Code, 28);
    ASSERT_TRUE(Open([&](QDialog& d) {
        EXPECT_EQ(Box(d, "CheckBox_LevA1").text().toStdString(), "A = any");
        EXPECT_EQ(Box(d, "CheckBox_LevD1").text().toStdString(), "D = any");
        EXPECT_FALSE(Box(d, "CheckBox_LevA2").isVisible());
        EXPECT_FALSE(Box(d, "CheckBox_LevD2").isVisible());
        Box(d, "CheckBox_LevA1").click();
        EXPECT_EQ(Box(d, "CheckBox_LevA1").text().toStdString(), "A = '0'");
    }));
    W().SelectDeviceModel(31);
    ASSERT_TRUE(Open([&](QDialog& d) {
        EXPECT_EQ(Box(d, "CheckBox_LevA1").text().toStdString(), "A1 = any");
        EXPECT_TRUE(Box(d, "CheckBox_LevA2").isVisible());
        EXPECT_TRUE(Box(d, "CheckBox_LevD2").isVisible());
    }));
}

TEST_F(TriggerSettingsDialogTest, CaptionsInTheLanguageOfTheOpening) {
    Build();
    harness.Action("Menu_Russian")->trigger();
    ASSERT_TRUE(Open([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "Установки синхронизации");
        EXPECT_EQ(Child<QGroupBox>(d, "GroupBox_TP").title().toStdString(),
                  "Дополнительные условия синхронизации (T+)");
        EXPECT_EQ(Item(d, "RadioGroup_NR", 3).text().toStdString(), "0,5 дел");
        EXPECT_EQ(Child<QLabel>(d, "Label_TrigN").text().toStdString(), "Номер фронта/среза = 1");
        EXPECT_EQ(Child<QPushButton>(d, "Button_Cancel").text().toStdString(), "Отмена");
    }));
    harness.Action("Menu_English")->trigger();
    ASSERT_TRUE(Open([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "Trigger Settings");
        EXPECT_EQ(Item(d, "RadioGroup_PreTrig", 0).text().toStdString(), "Off");
        EXPECT_EQ(Box(d, "CheckBox_Slew_Mode").text().toStdString(), "Off");
        EXPECT_EQ(Child<QPushButton>(d, "Button_Cancel").text().toStdString(), "Cancel");
    }));
}

// The longest captions, the pulse and slew conditions at their widest and
// every level box set, fit in both languages.
TEST_F(TriggerSettingsDialogTest, NothingIsClippedInEitherLanguage) {
    Build();
    T().PTMode = 2, T().PTmin = 999, T().PTmax = 1000, T().PTmult = 100000;
    T().Slew_Mode = 2, T().Slew = 255;
    T().Lev_Mask = 0b1111, T().Levels = 0b0101;
    for (const char* language : {"Menu_Russian", "Menu_English"}) {
        harness.Action(language)->trigger();
        ASSERT_TRUE(Open([&](QDialog& d) {
            SCOPED_TRACE(language);
            testing_support::ExpectNothingClipped(d);
        }));
    }
}

// Tab walks the dialog in reading order, stopping once in each radio group
// at its chosen item and skipping what the modes disable.
TEST_F(TriggerSettingsDialogTest, TabStopsOnceInEachGroupInReadingOrder) {
    Build();
    T().Pre = 4, T().Hyst = 2;
    ASSERT_TRUE(Open([&](QDialog& d) {
        const std::vector<QWidget*> expected = {
            &Item(d, "RadioGroup_PreTrig", 4),
            &Item(d, "RadioGroup_NR", 2),
            &Bar(d, "ScrollBar_Trig_N"),
            &Box(d, "CheckBox_Trig_PTMode"),
            &Box(d, "CheckBox_Slew_Mode"),
            &Box(d, "CheckBox_LevA1"),
            &Box(d, "CheckBox_LevA2"),
            &Box(d, "CheckBox_LevD1"),
            &Box(d, "CheckBox_LevD2"),
            &Child<QPushButton>(d, "Button_OK"),
            &Child<QPushButton>(d, "Button_Cancel"),
        };
        std::vector<QWidget*> visited;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
            visited.push_back(d.focusWidget());
        }
        EXPECT_EQ(visited, expected);

        // A choice made with the pointer moves the group's stop with it.
        Item(d, "RadioGroup_PreTrig", 7).click();
        Child<QPushButton>(d, "Button_Cancel").setFocus();
        QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(d.focusWidget(), &Item(d, "RadioGroup_PreTrig", 7));
    }));
}

// The simulated instrument receives the edits while the dialog is open, and
// the restored values after Cancel.
TEST(TriggerSettingsDialogOnTheInstrument, TheInstrumentFollowsWhileOpen) {
    SimulatedLink link;
    WindowHarness harness;
    MainWindow& w = harness.Build(link, EmbeddedFpgaImage(), true);
    ASSERT_TRUE(harness.ShowAndWaitIdle());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return link.FpgaConfigured() && w.Shared().flags.DeviceReady; }, 20000));
    harness.Button("SpeedButton_TPLUS")->click();
    const auto sentMin = [&] { return link.Registers().Get<4>(reg::kPulseMin); };
    const std::uint64_t before = sentMin();
    bool followed = false;
    ASSERT_TRUE(WhileOpen(
        w, "Form_TrigSet",
        [&](QDialog& d) {
            Box(d, "CheckBox_Trig_PTMode").click();
            Button(d, "SpeedButton_T1mS").click();
            Bar(d, "ScrollBar_Trig_PTmin").setValue(12);
            followed = QTest::qWaitFor([&] { return sentMin() == 1200; }, 20000);
            Child<QPushButton>(d, "Button_Cancel").click();
        },
        [&] { harness.Action("Menu_Trigger")->trigger(); }));
    EXPECT_TRUE(followed);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sentMin() == before; }, 20000));
}

}  // namespace
}  // namespace qx40
