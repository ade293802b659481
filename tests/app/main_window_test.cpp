#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <cstring>

#include "device/usb/fake_link.h"
#include "files/data_file.h"
#include "files/ini_document.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

namespace qx40 {
namespace {

using testing_support::ScriptedDialogs;
using testing_support::TempDir;
using enum MessageAnswer;

class MainWindowTest : public testing::Test {
protected:
    MainWindowTest() {
        dir.Write("qx40.ini", "[Common]\nRussian=0\n");
    }
    MainWindow& Window(std::vector<std::string> arguments = {}) {
        if (!window) {
            MainWindowOptions o;
            o.link = &fake;
            o.dialogs = &dialogs;
            o.settingsPath = dir.File("qx40.ini");
            o.arguments = std::move(arguments);
            o.fpgaImage = image;
            o.threadSleep = [](std::chrono::milliseconds) {};
            window = std::make_unique<MainWindow>(std::move(o));
        }
        return *window;
    }
    QToolButton* Button(const char* name) { return Window().findChild<QToolButton*>(name); }
    QAction* Action(const char* name) { return Window().findChild<QAction*>(name); }
    // Lets queued events (hand-overs of the acquisition thread) run.
    void Spin(int ms = 50) { QTest::qWait(ms); }

    TempDir dir;
    FakeLink fake;
    ScriptedDialogs dialogs;
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(1024, 0x11);
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, EveryNamedControlExists) {
    for (const char* name : {"SpeedButton_Run", "SpeedButton_Sngl", "SpeedButton_20S", "SpeedButton_05mS",
                             "SpeedButton_50nS", "SpeedButton_2V_A1", "SpeedButton_50mV_A2", "SpeedButton_VoltsDiv_A1",
                             "SpeedButton_ACDC_A2", "SpeedButton_TrigA1", "SpeedButton_TrigD2", "SpeedButton_TrigEdge",
                             "SpeedButton_Auto", "SpeedButton_TPLUS", "SpeedButton_ret_trig", "SpeedButton_Trig",
                             "SpeedButton_GenOn", "SpeedButton_Sin", "SpeedButton_Dn_Trian", "SpeedButton_10K_1S",
                             "SpeedButton__10uS_Noise", "SpeedButton_Mod", "SpeedButton_Pulse", "SpeedButton_Sweep"})
        EXPECT_NE(Button(name), nullptr) << name;
    for (const char* name : {"Panel_Signal", "Image_M", "ScrollBar_X_POS", "GroupBox1", "GroupBox2", "Panel_Gen",
                             "Label_F", "Label_V", "Label_Mod", "Label_Pulse", "ScrollBar_F_fast", "ScrollBar_F_slow",
                             "ScrollBar_Amplitude", "StaticText_TimeDiv", "Panel_Color_A1", "Panel_Color_Trig"})
        EXPECT_NE(Window().findChild<QWidget*>(name), nullptr) << name;
    for (const char* name : {"Menu_Open", "Menu_Save_Settings_As", "Menu_4003", "Menu_A2_x100", "Menu_Smpl_Max",
                             "Menu_FPS_NO_LIM", "Menu_FM_TRIG", "Menu_ZeroCalibrate", "Menu_English", "Menu_BG_Do",
                             "Menu_Sinxx", "Menu_Lenta", "Menu_FFT_A2", "Menu_Compact", "Menu_On_Top", "Menu_About"})
        EXPECT_NE(Action(name), nullptr) << name;
    EXPECT_EQ(Window().objectName(), "QX4003MFrm");
}

TEST_F(MainWindowTest, TimebaseButtonPressedTwiceStillRestarts) {
    Window().Shared().flags.SettingsDirty = false;
    Button("SpeedButton_1mS")->click();
    EXPECT_TRUE(Button("SpeedButton_1mS")->isChecked());
    EXPECT_TRUE(Window().Shared().flags.SettingsDirty);
    Window().Shared().flags.SettingsDirty = false;
    Button("SpeedButton_1mS")->click();
    EXPECT_TRUE(Button("SpeedButton_1mS")->isChecked());  // stays down
    EXPECT_TRUE(Window().Shared().flags.SettingsDirty);
    Button("SpeedButton_2uS")->click();
    EXPECT_FALSE(Button("SpeedButton_1mS")->isChecked());
    EXPECT_EQ(Window().Model().derived.TimePerDivNs, 2000);
}

TEST_F(MainWindowTest, ProbeCyclingButton) {
    Button("SpeedButton_VoltsDiv_A1")->click();
    EXPECT_TRUE(Action("Menu_A1_x10")->isChecked());
    EXPECT_EQ(Button("SpeedButton_05V_A1")->text(), "5V");
    Action("Menu_A1_x100")->trigger();
    EXPECT_TRUE(Action("Menu_A1_x100")->isChecked());
    EXPECT_FALSE(Action("Menu_A1_x10")->isChecked());
    Button("SpeedButton_VoltsDiv_A1")->click();
    EXPECT_TRUE(Action("Menu_A1_x1")->isChecked());
    EXPECT_EQ(Button("SpeedButton_VoltsDiv_A1")->text(), "     A1 Volts/Div ");
}

TEST_F(MainWindowTest, MarkerMenusAreExclusive) {
    Action("Menu_Markers_1")->trigger();
    EXPECT_TRUE(Action("Menu_Markers_1")->isChecked());
    EXPECT_FALSE(Action("Menu_Markers_2")->isChecked());
    Action("Menu_Markers_1")->trigger();
    EXPECT_FALSE(Action("Menu_Markers_1")->isChecked());
    EXPECT_FALSE(Action("Menu_Markers_2")->isChecked());
    EXPECT_EQ(Window().Model().derived.MarkerMode, 0);
}

TEST_F(MainWindowTest, SpectrumMenusAreExclusive) {
    Action("Menu_FFT_A1")->trigger();
    Action("Menu_FFT_A2")->trigger();
    EXPECT_FALSE(Action("Menu_FFT_A1")->isChecked());
    EXPECT_TRUE(Action("Menu_FFT_A2")->isChecked());
}

TEST_F(MainWindowTest, FileMenuClosedWhileRunning) {
    auto* file = Window().findChild<QMenu*>("Menu_File");
    Window().Shared().flags.RunFlag = true;
    emit file->aboutToShow();
    EXPECT_FALSE(Action("Menu_Open")->isEnabled());
    EXPECT_FALSE(Action("Menu_Save_As")->isEnabled());
    EXPECT_FALSE(Window().findChild<QMenu*>("Menu_Export")->menuAction()->isEnabled());
    EXPECT_FALSE(Window().findChild<QMenu*>("Menu_Device")->menuAction()->isEnabled());
    EXPECT_TRUE(Action("Menu_Open_Settings")->isEnabled());
    Window().Shared().flags.RunFlag = false;
    emit file->aboutToShow();
    EXPECT_TRUE(Action("Menu_Open")->isEnabled());
}

TEST_F(MainWindowTest, ModelWithoutSecondChannelsHidesTheirControls) {
    Window().Model().state.Trigger.Lev_Mask = 0b1111;
    Window().show();
    Action("Menu_4001A")->trigger();
    EXPECT_EQ(Window().Model().state.System.Device_Type_Code, 28);
    for (const char* name : {"SpeedButton_TrigA2", "SpeedButton_VoltsDiv_A2", "SpeedButton_ACDC_A2", "SpeedButton_2V_A2",
                             "SpeedButton_50mV_A2", "SpeedButton_TrigD2"})
        EXPECT_FALSE(Button(name)->isVisible()) << name;
    for (const char* name : {"Menu_FM_A2", "Menu_CH_A2", "Menu_FFT_A2", "Menu_EBin_A2", "Menu_FM_D2", "Menu_FM_D2_HF",
                             "Menu_CH_D2", "Menu_EBin_D2"})
        EXPECT_FALSE(Action(name)->isVisible()) << name;
    EXPECT_FALSE(Window().findChild<QMenu*>("Menu_Probe_A2")->menuAction()->isVisible());
    EXPECT_FALSE(Window().findChild<QWidget*>("Panel_Color_A2")->isVisible());
    EXPECT_EQ(Window().Model().state.Trigger.Lev_Mask, 0b0101);
    EXPECT_EQ(Button("SpeedButton_TrigA1")->text(), "A");
    EXPECT_EQ(Button("SpeedButton_TrigA1")->width(), 51);
    EXPECT_EQ(Button("SpeedButton_TrigEdge")->x(), 58);
    EXPECT_EQ(Button("SpeedButton_Auto")->x(), 110);
    EXPECT_EQ(Button("SpeedButton_TrigD1")->text(), "D");
    EXPECT_EQ(Button("SpeedButton_TPLUS")->x(), 58);
    EXPECT_TRUE(Action("Menu_4001A")->isChecked());
    EXPECT_FALSE(Action("Menu_4003")->isChecked());
}

TEST_F(MainWindowTest, CompactViewEnterLeaveEnter) {
    Window().show();
    const QSize design = Window().size();
    Action("Menu_Compact")->trigger();
    EXPECT_TRUE(Window().CompactView());
    EXPECT_FALSE(Window().findChild<QWidget*>("GroupBox1")->isVisible());
    EXPECT_FALSE(Window().findChild<QWidget*>("GroupBox2")->isVisible());
    const QSize compact = Window().size();
    EXPECT_EQ(compact, QSize(design.width() - 166, design.height() - 114));
    Window().resize(compact.width() + 40, compact.height() + 30);
    const QSize chosen = Window().size();

    Action("Menu_Compact")->trigger();
    EXPECT_FALSE(Window().CompactView());
    EXPECT_EQ(Window().size(), design);
    EXPECT_TRUE(Window().findChild<QWidget*>("GroupBox1")->isVisible());

    Action("Menu_Compact")->trigger();  // again: the size it had before
    EXPECT_EQ(Window().size(), chosen);
}

TEST_F(MainWindowTest, SwapWithEmptyBackground) {
    SampleRecord& main = Window().MainRecord();
    main.Info[fi::RingLength] = main.Info[fi::ValidPoints] = 100;
    main.Min[kA1][5] = main.Max[kA1][5] = 77;
    Window().Model().state.Trigger.Lev_A1 = 150;
    Window().Model().state.Scope.A1_Zero = 120;
    Action("Menu_BG_Do")->trigger();
    EXPECT_TRUE(Action("Menu_BG_View")->isChecked());
    EXPECT_FALSE(Window().MainRecord().HasData());
    EXPECT_EQ(Window().BackgroundRecord().Min[kA1][5], 77);
    EXPECT_DOUBLE_EQ(Window().Model().state.Trigger.Lev_A1, 150);
    EXPECT_EQ(Window().Model().state.Scope.A1_Zero, 120);
    EXPECT_EQ(Window().BackgroundLevels().A1_Zero, 120);
}

TEST_F(MainWindowTest, HandOverOutcomes) {
    MainWindow& w = Window();
    w.HandleCopyData(1, QString::fromStdString(dir.File("s.qxs")));
    EXPECT_TRUE(dialogs.shown.empty()) << "dropped while the window is still starting";

    w.show();
    // First paint: the window is idle once the open has ended.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.IsBusy(); }, 20000));

    dir.Write("s.qxs", "[Common]\nCH_D1=1\nGrid=0\n");
    dialogs.answers = {No};
    w.HandleCopyData(1, QString::fromStdString(dir.File("s.qxs")));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "Open Settings");
    EXPECT_EQ(dialogs.shown[0].text, dir.File("s.qxs") + "\r\nOpen settings file?");
    EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(w.Model().state.Common.Grid);  // No changes nothing
    dialogs.answers = {Yes};
    w.HandleCopyData(1, QString::fromStdString(dir.File("s.qxs")));
    EXPECT_FALSE(w.Model().state.Common.Grid);

    dialogs.shown.clear();
    w.Shared().flags.RunFlag = true;
    w.HandleCopyData(1, QString::fromStdString(dir.File("r.QXS")));  // capitals: a data file
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "Open");
    EXPECT_EQ(dialogs.shown[0].text, dir.File("r.QXS") + "\r\nCan't open while running.");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Error);

    dialogs.shown.clear();
    w.Shared().flags.RunFlag = false;
    dialogs.answers = {No};
    w.HandleCopyData(1, QString::fromStdString(dir.File("r.QXS")));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, dir.File("r.QXS") + "\r\nOpen data file?");
    EXPECT_FALSE(w.IsBusy());
}

TEST_F(MainWindowTest, OpeningADataFileShowsIt) {
    SampleRecord r;
    r.Info[fi::DeviceTypeCode] = 31;
    r.Info[fi::RingLength] = r.Info[fi::ValidPoints] = 50;
    r.Info[fi::Channels] = 1;
    for (std::size_t i = 0; i < 50; ++i) r.Min[kA1][i] = r.Max[kA1][i] = static_cast<std::int32_t>(100 + i);
    std::string error;
    ASSERT_EQ(WriteDataFile(dir.File("rec.qxd"), r, error), DataFileError::None);
    Window().OpenDataFile(dir.File("rec.qxd"));
    EXPECT_TRUE(Window().Shared().flags.ShowingFile);
    EXPECT_EQ(Window().MainRecord().Min[kA1][49], 149);
    EXPECT_TRUE(dialogs.shown.empty());  // no companion settings file: no question
}

// An unsaved capture is never lost to a bad file, and saving leaves the
// record as it is but for its name.
TEST_F(MainWindowTest, ARefusedDataFileLeavesTheShownRecordAndSavingKeepsIt) {
    SampleRecord& shown = Window().MainRecord();
    shown.Info[fi::DeviceTypeCode] = 31;
    shown.Info[fi::RingLength] = shown.Info[fi::ValidPoints] = 40;
    shown.Info[fi::Channels] = 1;
    shown.Info[fi::FrameCounter] = 7;
    for (std::size_t i = 0; i < 40; ++i) shown.Min[kA1][i] = shown.Max[kA1][i] = static_cast<std::int32_t>(60 + i);
    const SampleRecord before = shown;

    std::string error;
    ASSERT_EQ(WriteDataFile(dir.File("good.qxd"), before, error), DataFileError::None);
    const std::string good = dir.Read("good.qxd");
    std::string badChecksum = good;
    badChecksum[10 + 4 * fi::FrameCounter] ^= 1;
    // More points than a record holds, with a checksum that agrees.
    std::string badExtent = good;
    for (const std::size_t w : {fi::ValidPoints, fi::Checksum}) {
        std::uint32_t v;
        std::memcpy(&v, &badExtent[10 + 4 * w], 4);
        v += 50000;
        std::memcpy(&badExtent[10 + 4 * w], &v, 4);
    }
    for (const auto& [name, bytes] : {std::pair{"magic.qxd", std::string("QXD:") + '\0' + "rest"},
                                      {"crc.qxd", badChecksum}, {"extent.qxd", badExtent}}) {
        dir.Write(name, bytes);
        dialogs.shown.clear();
        Window().OpenDataFile(dir.File(name));
        ASSERT_EQ(dialogs.shown.size(), 1u) << name;
        EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Error) << name;
        EXPECT_EQ(shown.Info.word, before.Info.word) << name;
        EXPECT_EQ(shown.Min, before.Min) << name;
        EXPECT_EQ(shown.Max, before.Max) << name;
        EXPECT_FALSE(Window().Shared().flags.ShowingFile) << name;
    }

    dialogs.chosen = {dir.File("saved.qxd")};
    dialogs.answers = {No};
    Window().findChild<QAction*>("Menu_Save_As")->trigger();
    EXPECT_EQ(shown.Info.word, before.Info.word);
    EXPECT_EQ(shown.Min, before.Min);
    EXPECT_TRUE(Window().Shared().flags.ShowingFile);
    EXPECT_EQ(Window().Session().MainFile().name, "saved.qxd");
}

TEST_F(MainWindowTest, SettingsFileRefusedWithItsReason) {
    dir.Write("old.qxs", "[Common]\nExtTrig=1\n");
    Window().OpenSettingsFile(dir.File("old.qxs"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, dir.File("old.qxs") + "\r\nUse software version 1.xx to open.");
    Window().OpenSettingsFile(dir.File("missing.qxs"));
    EXPECT_EQ(dialogs.shown.back().text, dir.File("missing.qxs") + "\r\nFile not found.");
}

TEST_F(MainWindowTest, SaveSettingsAsWritesTheWholeFile) {
    dir.Write("mine.qxs", "[Foreign]\nx=1\n");
    dialogs.chosen = {dir.File("mine.qxs")};
    Action("Menu_Save_Settings_As")->trigger();
    ASSERT_EQ(dialogs.files.size(), 1u);
    EXPECT_EQ(dialogs.files[0].title, "Save Settings");
    EXPECT_EQ(dialogs.files[0].fileName, "*.qxs");
    EXPECT_TRUE(dialogs.files[0].save);
    const IniDocument ini = IniDocument::Parse(dir.Read("mine.qxs"));
    EXPECT_FALSE(ini.HasSection("Foreign"));
    EXPECT_EQ(ini.Get("System", "QX40_QXS_FILE"), "1");
}

TEST_F(MainWindowTest, CloseWritesTheProgramSettingsFile) {
    Window().show();
    Button("SpeedButton_5mS")->click();
    Window().close();
    const IniDocument ini = IniDocument::Parse(dir.Read("qx40.ini"));
    EXPECT_EQ(ini.Get("Scope", "5mS"), "1");
    EXPECT_EQ(ini.Get("System", "QX40_INI_FILE"), "1");
}

}  // namespace
}  // namespace qx40
