// The three calibration windows on the simulated instrument, through the
// menu commands as a user runs them, the message boxes answered by the
// dialog service: the boxes before a calibration, Start, Cancel restoring,
// OK writing the program settings file or storing the TDC values.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <deque>

#include "calibration/calibration_texts.h"
#include "device/usb/fake_link.h"
#include "device/usb/sim/simulated_link.h"
#include "files/ini_document.h"
#include "resources/fpga_image.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::WindowHarness;

constexpr int kPatience = 30000;  // ms: the instrument, the threads, a slow machine

class CalibrationDialogsTest : public testing::Test {
protected:
    // The link the next window opens on; it outlives that window (a window
    // already open on an older link is closed first).
    template <typename Link, typename... Args>
    Link& MakeLink(Args&&... args) {
        harness.reset();
        auto made = std::make_unique<Link>(std::forward<Args>(args)...);
        Link& link = *made;
        link_ = std::move(made);
        return link;
    }
    // answers: the Yes/No questions opening the instrument asks (Debug_qx asks
    // before it opens one).
    MainWindow& Open(UsbLink& link, const std::string& settings, bool waitForInstrument = true,
                     std::deque<MessageAnswer> answers = {}) {
        harness = std::make_unique<WindowHarness>(settings);
        harness->dialogs.answers = std::move(answers);
        harness->Build(link, EmbeddedFpgaImage(), true);
        EXPECT_TRUE(harness->ShowAndWaitIdle(kPatience));
        if (waitForInstrument) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return bool(W().Shared().flags.DeviceInfoValid); }, kPatience));
        }
        return W();
    }
    MainWindow& W() { return harness->Window(); }

    // Triggers the menu command; inside runs once its window is shown (and
    // the window is closed after it, if inside left it open). False when the
    // window never showed.
    bool RunMenu(const char* menu, const char* dialog, const std::function<void(QDialog&)>& inside) {
        bool shown = false;
        QTimer::singleShot(0, &W(), [&] {
            QDialog* d = W().findChild<QDialog*>(dialog);
            if (!d || !QTest::qWaitFor([&] { return d->isVisible(); }, 5000)) return;
            shown = true;
            inside(*d);
            if (d->isVisible()) d->reject();
        });
        harness->Action(menu)->trigger();
        return shown;
    }

    template <typename T>
    static T& Child(QDialog& d, const char* name) {
        T* child = d.findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return *child;
    }
    static QString Text(QDialog& d, const char* label) { return Child<QLabel>(d, label).text(); }
    // Start, and wait until the procedure has ended (OK or Start enabled again).
    static bool StartAndWait(QDialog& d) {
        Child<QPushButton>(d, "Button_Start").click();
        EXPECT_FALSE(Child<QPushButton>(d, "Button_Start").isEnabled()) << "measuring";
        EXPECT_FALSE(Child<QPushButton>(d, "Button_OK").isEnabled());
        return QTest::qWaitFor([&] { return Child<QPushButton>(d, "Button_Start").isEnabled(); }, kPatience);
    }

    std::unique_ptr<UsbLink> link_;  // declared first: destroyed after the window
    std::unique_ptr<WindowHarness> harness;
};

TEST_F(CalibrationDialogsTest, ZeroCalibrationCancelRestoresAndOkWritesTheFile) {
    SimInstrumentConfig config;
    config.Zero[0] = {3500, 620, 160};
    config.Zero[1] = {3100, 800, -48};
    SimulatedLinkOptions options;
    options.Instrument = config;
    SimulatedLink& sim = MakeLink<SimulatedLink>(options);
    Open(sim, "[Common]\nRussian=0\nFPS_NO_LIM=1\n[Calibrate]\nZ_A1P1=3357\nZ_A1P2=725\nZ_A1SH=0\n");
    const CalibrateSection before = W().Model().state.Calibrate;
    const std::string fileBefore = harness->dir.Read("qx40.ini");
    W().Model().state.Common.CH_A2 = false;  // the calibration shows both traces, then gives this back

    const CalibrateSection found{0, 3500, 620, 160, 3100, 800, -48};
    ASSERT_TRUE(RunMenu("Menu_ZeroCalibrate", "Form_ZeroCalibrate", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Zero Calibrate");
        EXPECT_EQ(Text(d, "Label_Info"), "Disconnect anything from BNC's and press Start button.");
        EXPECT_FALSE(Child<QLabel>(d, "Label_D").isVisible()) << "only with Debug_qx";
        EXPECT_EQ(Child<QProgressBar>(d, "ProgressBar_ZeroClbr").maximum(), 72);
        EXPECT_TRUE(Child<QPushButton>(d, "Button_Start").isEnabled());
        EXPECT_FALSE(Child<QPushButton>(d, "Button_OK").isEnabled());
        EXPECT_TRUE(W().IsBusy());
        ASSERT_TRUE(StartAndWait(d));
        EXPECT_EQ(Text(d, "Label_Info"), "Calibration OK.");
        EXPECT_TRUE(Child<QPushButton>(d, "Button_OK").isEnabled());
        EXPECT_EQ(Child<QProgressBar>(d, "ProgressBar_ZeroClbr").value(), 72);
        EXPECT_EQ(W().Model().state.Calibrate, found) << "in force as soon as the run succeeds";
        Child<QPushButton>(d, "Button_Cancel").click();
    }));
    EXPECT_EQ(W().Model().state.Calibrate, before);
    EXPECT_EQ(harness->dir.Read("qx40.ini"), fileBefore);
    EXPECT_FALSE(W().Model().state.Common.CH_A2);
    EXPECT_EQ(W().Model().state.Scope.A1_Zero, 191);
    EXPECT_FALSE(W().IsBusy());

    ASSERT_TRUE(RunMenu("Menu_ZeroCalibrate", "Form_ZeroCalibrate", [&](QDialog& d) {
        ASSERT_TRUE(StartAndWait(d));
        Child<QPushButton>(d, "Button_OK").click();
    }));
    EXPECT_EQ(W().Model().state.Calibrate, found);
    const IniDocument ini = IniDocument::Parse(harness->dir.Read("qx40.ini"));
    EXPECT_EQ(ini.Get("Calibrate", "Z_A1P1"), "3500");
    EXPECT_EQ(ini.Get("Calibrate", "Z_A2SH"), "-48");
    EXPECT_EQ(ini.Get("Common", "CH_A2"), "0") << "the user's channels are written, not the calibration's";
    for (const UserMessage& m : harness->dialogs.shown) ADD_FAILURE() << m.caption << ": " << m.text;
}

// Cancel while a stage measures: the procedure ends at the next frame without
// a word, and everything it changed is put back.
TEST_F(CalibrationDialogsTest, CancelDuringAMeasurementPutsEverythingBackWithoutAWord) {
    SimulatedLink& sim = MakeLink<SimulatedLink>();
    Open(sim, "[Common]\nRussian=0\nFPS_NO_LIM=1\nCH_A2=0\n[Calibrate]\nZ_A1P1=3357\nZ_A1P2=725\nZ_A1SH=0\n");
    harness->Button("SpeedButton_Run")->click();
    const ScopeState before = W().Model().state;
    const std::string fileBefore = harness->dir.Read("qx40.ini");
    ASSERT_TRUE(RunMenu("Menu_ZeroCalibrate", "Form_ZeroCalibrate", [&](QDialog& d) {
        Child<QPushButton>(d, "Button_Start").click();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return Child<QProgressBar>(d, "ProgressBar_ZeroClbr").value() >= 5; }, kPatience))
            << "measuring";
        EXPECT_TRUE(W().Model().state.Common.CH_A2) << "both traces while it measures";
        Child<QPushButton>(d, "Button_Cancel").click();
    }));
    EXPECT_FALSE(W().IsBusy());
    EXPECT_EQ(W().Model().state.Calibrate, before.Calibrate);
    EXPECT_EQ(W().Model().state.Scope.A1_Zero, before.Scope.A1_Zero);
    EXPECT_EQ(W().Model().state.Scope.A2_Zero, before.Scope.A2_Zero);
    EXPECT_FALSE(W().Model().state.Common.CH_A2);
    EXPECT_EQ(harness->dir.Read("qx40.ini"), fileBefore);
    for (const UserMessage& m : harness->dialogs.shown) ADD_FAILURE() << m.caption << ": " << m.text;
    const std::int32_t frames = W().FramesShown();
    EXPECT_TRUE(QTest::qWaitFor([&] { return W().FramesShown() > frames + 2; }, kPatience))
        << "the window's own run goes on";
}

TEST_F(CalibrationDialogsTest, DebugSwitchShowsTheNumbersAndAFailure) {
    SimulatedLinkOptions options;
    options.Instrument.Faults.InputConnected = true;
    SimulatedLink& sim = MakeLink<SimulatedLink>(options);
    Open(sim, "[Common]\nRussian=0\nFPS_NO_LIM=1\n[System]\nDebug_qx=1\n", true, {MessageAnswer::Yes});
    const CalibrateSection before = W().Model().state.Calibrate;
    ASSERT_TRUE(RunMenu("Menu_ZeroCalibrate", "Form_ZeroCalibrate", [&](QDialog& d) {
        EXPECT_TRUE(Child<QLabel>(d, "Label_D").isVisible());
        EXPECT_EQ(Text(d, "Label_D"), QString::fromStdString(ZeroCalibrationText(before, true)).replace("\r\n", "\n"));
        ASSERT_TRUE(StartAndWait(d));
        EXPECT_EQ(Text(d, "Label_Info"), "Calibration failed.");
        EXPECT_FALSE(Child<QPushButton>(d, "Button_OK").isEnabled());
        EXPECT_EQ(Child<QProgressBar>(d, "ProgressBar_ZeroClbr").value(), 0);
    }));
    EXPECT_EQ(W().Model().state.Calibrate, before);
}

TEST_F(CalibrationDialogsTest, WithoutAnInstrumentSaysDeviceNotFound) {
    FakeLink& fake = MakeLink<FakeLink>();  // lists nothing: the instrument never reports itself
    Open(fake, "[Common]\nRussian=0\n[System]\nTDC_Clbr=1\n", false);
    for (const auto& [menu, dialog] : {std::pair{"Menu_ZeroCalibrate", "Form_ZeroCalibrate"},
                                      std::pair{"Menu_TDCCalibrate", "Form_TDCCalibrate"}}) {
        harness->dialogs.shown.clear();
        EXPECT_FALSE(RunMenu(menu, dialog, [](QDialog&) {})) << menu;
        ASSERT_EQ(harness->dialogs.shown.size(), 1u) << menu;
        const UserMessage& m = harness->dialogs.shown[0];
        EXPECT_EQ(m.caption, "Calibrate Error");
        EXPECT_EQ(m.text, "Device not found.");
        EXPECT_EQ(m.icon, MessageIcon::Error);
    }
}

TEST_F(CalibrationDialogsTest, ReportedModelReplacesTheWindowsModelFirst) {
    SimulatedLinkOptions options;
    options.Instrument.ModelCode = 25;  // QX4002; the window shows the QX4003
    SimulatedLink& sim = MakeLink<SimulatedLink>(options);
    Open(sim, "[Common]\nRussian=0\nFPS_NO_LIM=1\n");
    ASSERT_EQ(W().Model().state.System.Device_Type_Code, 31);
    std::int32_t modelWhileOpen = 0;
    ASSERT_TRUE(RunMenu("Menu_ZeroCalibrate", "Form_ZeroCalibrate",
                        [&](QDialog&) { modelWhileOpen = W().Model().state.System.Device_Type_Code; }));
    ASSERT_EQ(harness->dialogs.shown.size(), 1u);
    EXPECT_EQ(harness->dialogs.shown[0].caption, "Warning");
    EXPECT_EQ(harness->dialogs.shown[0].text, "Interface will be changed for QX4002. ");
    EXPECT_EQ(modelWhileOpen, 25);
}

TEST_F(CalibrationDialogsTest, TdcMenuOnlyWithAServiceSwitch) {
    for (const char* system : {"", "TDC_Clbr=1\n", "Debug_qx=1\n", "No_Excuse=1\n"}) {
        FakeLink& fake = MakeLink<FakeLink>();
        Open(fake, std::string("[Common]\nRussian=0\n[System]\n") + system, false);
        const bool wanted = *system != '\0';
        QAction* tdc = harness->Action("Menu_TDCCalibrate");
        EXPECT_EQ(tdc->isVisible(), wanted) << system;
        EXPECT_EQ(tdc->isEnabled(), wanted) << system;
    }
}

TEST_F(CalibrationDialogsTest, TdcCalibrationStoresOnlyOnOk) {
    SimulatedLink& sim = MakeLink<SimulatedLink>();  // 23, 22, 25, 17 steps; it reports 20, 19, 21, 18
    Open(sim, "[Common]\nRussian=0\nFPS_NO_LIM=1\n[System]\nTDC_Clbr=1\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return bool(W().Shared().flags.TdcValid); }, kPatience));
    const auto memory = [&] {
        const auto m = sim.CalibrationMemory();
        return TdcSteps{m[8], m[9], m[10], m[11]};
    };
    const auto settled = [&] {
        return QTest::qWaitFor(
            [&] { return !W().Shared().flags.SettingsDirty && !W().Shared().flags.TdcWriteRequest; }, kPatience);
    };

    W().Model().state.Common.CH_D2 = false;  // the calibration shows both, then gives this back
    ASSERT_TRUE(RunMenu("Menu_TDCCalibrate", "Form_TDCCalibrate", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "TDC Calibrate");
        EXPECT_EQ(Text(d, "Label_D"), "Rise = 10/20 nS     Fall = 10/19 nS\nRise = 10/21 nS     Fall = 10/18 nS");
        EXPECT_EQ(Child<QProgressBar>(d, "ProgressBar_TDCClbr").maximum(), 200);
        EXPECT_TRUE(W().Model().state.Common.CH_D1 && W().Model().state.Common.CH_D2);
        ASSERT_TRUE(StartAndWait(d));
        EXPECT_EQ(Text(d, "Label_Info"), "Calibration OK.");
        EXPECT_EQ(Text(d, "Label_D"), "Rise = 10/23 nS     Fall = 10/22 nS\nRise = 10/25 nS     Fall = 10/17 nS");
        Child<QPushButton>(d, "Button_Cancel").click();
    }));
    ASSERT_TRUE(settled());
    EXPECT_EQ(memory(), (TdcSteps{20, 19, 21, 18})) << "cancelled: nothing stored";
    EXPECT_FALSE(W().Model().state.Common.CH_D2) << "the user's channels back after Cancel";
    EXPECT_TRUE(W().Model().state.Common.CH_D1);

    ASSERT_TRUE(RunMenu("Menu_TDCCalibrate", "Form_TDCCalibrate", [&](QDialog& d) {
        ASSERT_TRUE(StartAndWait(d));
        Child<QPushButton>(d, "Button_OK").click();
    }));
    ASSERT_TRUE(settled());
    EXPECT_EQ(memory(), (TdcSteps{23, 22, 25, 17}));
    EXPECT_FALSE(W().Model().state.Common.CH_D2) << "and after OK";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const DeviceFacts f = W().Shared().facts.Get();
            return W().Shared().flags.TdcValid && f.TDC_Rise_A1 == 23 && f.TDC_Fall_A2 == 17;
        },
        kPatience))
        << "the instrument reports the stored values";
}

TEST_F(CalibrationDialogsTest, FrequencyMeterCorrectionIsLiveAndKeptOnlyByOk) {
    FakeLink& fake = MakeLink<FakeLink>();
    Open(fake, "[Common]\nRussian=0\n[Calibrate]\nTime=10\n", false);
    const QChar separator = QLocale::system().decimalPoint().at(0);
    const auto ppm = [&](const char* text) { return QString(text).replace('.', separator); };
    ASSERT_TRUE(RunMenu("Menu_FM_Calibrate", "Form_TimeCalibrate", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Freq. Meter Calibrate");
        QSlider& bar = Child<QSlider>(d, "TrackBar_PPM");
        EXPECT_EQ(bar.minimum(), -250);
        EXPECT_EQ(bar.maximum(), 250);
        EXPECT_EQ(bar.value(), 10);
        EXPECT_EQ(Text(d, "Label_PPM"), ppm("PPM = 2.00"));
        for (const auto& [position, text] : {std::pair{250, "PPM = 50.00"}, std::pair{-1, "PPM = -0.20"}}) {
            bar.setValue(position);
            EXPECT_EQ(Text(d, "Label_PPM"), ppm(text));
            EXPECT_EQ(W().Model().state.Calibrate.Time, position);
            EXPECT_EQ(W().Shared().mailbox.Take().decode.Time, position) << "the decoder corrects with it at once";
        }
        Child<QPushButton>(d, "Button_Cancel").click();
    }));
    EXPECT_EQ(W().Model().state.Calibrate.Time, 10);
    EXPECT_EQ(W().Shared().mailbox.Take().decode.Time, 10);
    EXPECT_EQ(IniDocument::Parse(harness->dir.Read("qx40.ini")).Get("Calibrate", "Time"), "10");

    ASSERT_TRUE(RunMenu("Menu_FM_Calibrate", "Form_TimeCalibrate", [&](QDialog& d) {
        Child<QSlider>(d, "TrackBar_PPM").setValue(-250);
        Child<QPushButton>(d, "Button_OK").click();
    }));
    EXPECT_EQ(IniDocument::Parse(harness->dir.Read("qx40.ini")).Get("Calibrate", "Time"), "-250");
}

TEST_F(CalibrationDialogsTest, CaptionsInRussian) {
    SimulatedLink& sim = MakeLink<SimulatedLink>();
    Open(sim, "[Common]\nRussian=1\nFPS_NO_LIM=1\n[System]\nTDC_Clbr=1\n");
    struct Window {
        const char* menu;
        const char* dialog;
        std::span<const CalibrationCaption> captions;
    };
    for (const Window& w : {Window{"Menu_ZeroCalibrate", "Form_ZeroCalibrate", ZeroCalibrateCaptions()},
                            Window{"Menu_FM_Calibrate", "Form_TimeCalibrate", TimeCalibrateCaptions()},
                            Window{"Menu_TDCCalibrate", "Form_TDCCalibrate", TdcCalibrateCaptions()}}) {
        ASSERT_TRUE(RunMenu(w.menu, w.dialog, [&](QDialog& d) {
            for (const CalibrationCaption& row : w.captions) {
                const QString russian = QString::fromUtf8(row.russian.data(), static_cast<qsizetype>(row.russian.size()));
                const QString name = QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size()));
                QString shown = d.windowTitle();
                if (name != d.objectName()) {
                    if (auto* label = d.findChild<QLabel*>(name))
                        shown = label->text();
                    else if (auto* button = d.findChild<QPushButton*>(name))
                        shown = button->text();
                    else
                        ADD_FAILURE() << w.dialog << " has no " << name.toStdString();
                }
                EXPECT_EQ(shown, russian) << name.toStdString();
            }
            if (auto* start = d.findChild<QPushButton*>("Button_Start")) {
                start->click();
                EXPECT_EQ(Text(d, "Label_Info"), "Идет калибровка ...");
            }
        })) << w.menu;
    }
}

}  // namespace
}  // namespace qx40
