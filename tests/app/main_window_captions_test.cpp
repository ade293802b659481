// The captions of the real main window: the short forms of the one-channel
// model, switching the language from the menu, the language of the message
// boxes shown afterwards and where the language is kept.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>

#include "app/main_window.h"
#include "device/usb/fake_link.h"
#include "files/ini_document.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::WindowHarness;

void NoWait(std::chrono::milliseconds) {}

// An item's English and Russian captions.
struct Expected {
    const char* name;
    const char* english;
    const char* russian;
};

class MainWindowCaptionsTest : public testing::Test {
protected:
    explicit MainWindowCaptionsTest(std::string programSettings = "[Common]\nRussian=0\n")
        : harness(std::move(programSettings)) {}

    MainWindow& Build() { return harness.Build(fake, image, false, NoWait); }

    // The caption of any named item: button, label, group box, menu or action.
    QString Caption(const char* name) {
        MainWindow& w = harness.Window();
        if (auto* menu = w.findChild<QMenu*>(name)) return menu->title();
        if (auto* action = w.findChild<QAction*>(name)) return action->text();
        if (auto* button = w.findChild<QAbstractButton*>(name)) return button->text();
        if (auto* box = w.findChild<QGroupBox*>(name)) return box->title();
        if (auto* label = w.findChild<QLabel*>(name)) return label->text();
        ADD_FAILURE() << "no item " << name;
        return {};
    }

    void ExpectCaptions(const std::vector<Expected>& table, bool russian) {
        for (const Expected& e : table)
            EXPECT_EQ(Caption(e.name).toStdString(), russian ? e.russian : e.english) << e.name;
    }

    FakeLink fake;
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(1024, 0x11);
    WindowHarness harness;
};

// Items whose captions differ between the two languages, from every kind
// of control and from each menu.
const std::vector<Expected> kEveryKind = {
    {"GroupBox1", "Scope", "Осциллограф"},
    {"StaticText_TimeDiv", "Time/Div", "Время/Дел"},
    {"SpeedButton_Run", "RUN", "Пуск"},
    {"SpeedButton_Sngl", "SINGLE", "Однокр."},
    {"SpeedButton_Trig", "Trigger", "Синхронизация"},
    {"GroupBox2", "Generator", "Генератор"},
    {"SpeedButton_Sweep", "Sweep", "ГКЧ"},
    {"Menu_File", "File", "Файл"},
    {"Menu_Open", "Open...", "Открыть осциллограмму..."},
    {"Menu_Row_Binary", "Row Binary", "Двоичный"},
    {"Menu_Options", "Options", "Настройки"},
    {"Menu_Max_FPS", "FPS (max)", "Осциллограмм в секунду (макс.)"},
    {"Menu_View", "View", "Вид"},
    {"Menu_BG_Do", "Main <-> B.G. Oscillogram", "Обменять с фоновой"},
    {"Menu_Help", "Help", "Справка"},
    {"Menu_About", "About...", "О программе..."},
    {"Menu_Russian", "Russian", "Русский"},
    {"Menu_English", "English", "English"},
    {"Menu_Language", "Language", "Language"},
};

class OneChannelModelCaptionsTest : public MainWindowCaptionsTest {
protected:
    OneChannelModelCaptionsTest()
        : MainWindowCaptionsTest("[Common]\nRussian=0\n[System]\nDevice_Type_Code=28\n") {}
};

TEST_F(OneChannelModelCaptionsTest, ShortFormsInBothLanguages) {
    Build();
    ASSERT_EQ(harness.Window().Model().state.System.Device_Type_Code, 28);
    const std::vector<Expected> shortForms = {
        {"Menu_CH_A1", "CH A", "Канал A"},
        {"Menu_CH_D1", "CH D", "Канал D"},
        {"Menu_Probe_A1", "Probe", "Пробник для канала A"},
        {"Menu_FFT_A1", "FFT", "БПФ"},
        {"Menu_FM_A1", "CH A", "Канал A"},
        {"Menu_FM_D1", "CH D", "Канал D"},
        {"Menu_FM_D1_HF", "CH D (HF)", "Канал D (ВЧ)"},
        {"Menu_Smpl_Max", "20000", "20000"},
        {"Menu_EBin_A1", "CH A...", "Канал A..."},
        {"Menu_EBin_D1", "CH D...", "Канал D..."},
        {"SpeedButton_TrigA1", "A", "A"},
        {"SpeedButton_TrigD1", "D", "D"},
    };
    ExpectCaptions(shortForms, false);
    harness.Action("Menu_Russian")->trigger();
    ExpectCaptions(shortForms, true);
    harness.Action("Menu_English")->trigger();
    ExpectCaptions(shortForms, false);
}

TEST_F(MainWindowCaptionsTest, ModelMenuSwitchesBetweenShortAndFullForms) {
    Build();
    const std::vector<Expected> full = {
        {"Menu_CH_A1", "CH A1", ""},
        {"Menu_FFT_A1", "FFT A1", ""},
        {"Menu_Probe_A1", "Probe A1", ""},
        {"Menu_FM_D1_HF", "CH D1 (HF)", ""},
        {"Menu_Smpl_Max", "20000 (A or A+D)", ""},
        {"SpeedButton_TrigA1", "A1", ""},
        {"SpeedButton_TrigD1", "D1", ""},
    };
    ExpectCaptions(full, false);
    harness.Action("Menu_4001A")->trigger();
    ExpectCaptions({{"Menu_CH_A1", "CH A", ""},
                    {"Menu_FFT_A1", "FFT", ""},
                    {"Menu_Probe_A1", "Probe", ""},
                    {"Menu_FM_D1_HF", "CH D (HF)", ""},
                    {"Menu_Smpl_Max", "20000", ""},
                    {"SpeedButton_TrigA1", "A", ""},
                    {"SpeedButton_TrigD1", "D", ""}},
                   false);
    harness.Action("Menu_4003")->trigger();
    ExpectCaptions(full, false);
}

TEST_F(MainWindowCaptionsTest, LanguageMenuSwitchesEveryCaptionBackAndForth) {
    Build();
    ASSERT_FALSE(harness.Window().Model().state.Common.Russian);
    ExpectCaptions(kEveryKind, false);
    EXPECT_TRUE(harness.Action("Menu_English")->isChecked());

    harness.Action("Menu_Russian")->trigger();
    EXPECT_TRUE(harness.Window().Model().state.Common.Russian);
    EXPECT_TRUE(harness.Action("Menu_Russian")->isChecked());
    EXPECT_FALSE(harness.Action("Menu_English")->isChecked());
    ExpectCaptions(kEveryKind, true);

    harness.Action("Menu_English")->trigger();
    EXPECT_FALSE(harness.Window().Model().state.Common.Russian);
    EXPECT_FALSE(harness.Action("Menu_Russian")->isChecked());
    EXPECT_TRUE(harness.Action("Menu_English")->isChecked());
    ExpectCaptions(kEveryKind, false);

    // Choosing the language already in force changes nothing.
    harness.Action("Menu_English")->trigger();
    EXPECT_TRUE(harness.Action("Menu_English")->isChecked());
    ExpectCaptions(kEveryKind, false);
}

TEST_F(MainWindowCaptionsTest, MessageBoxesAfterASwitchSpeakTheNewLanguage) {
    Build();
    std::vector<UserMessage>& shown = harness.dialogs.shown;
    harness.Action("Menu_Russian")->trigger();
    harness.Action("Menu_Help_Contents")->trigger();  // the tests have no help page
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown.back().caption, "Справка");
    EXPECT_TRUE(shown.back().text.ends_with("\r\nФайл не найден.")) << shown.back().text;

    // A settings file of the old program is refused in Russian too.
    const std::string old = harness.dir.Write("old.qxs", "[Common]\nExtTrig=1\n");
    harness.dialogs.chosen = {old};
    harness.Action("Menu_Open_Settings")->trigger();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(harness.dialogs.files.back().title, "Открытие настроек");
    EXPECT_EQ(shown.back().caption, "Открытие файла настроек");
    EXPECT_EQ(shown.back().text, old + "\r\nДля открытия используйте программу версии 1.xx.");

    harness.Action("Menu_English")->trigger();
    harness.dialogs.chosen = {old};
    harness.Action("Menu_Open_Settings")->trigger();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown.back().caption, "Open Settings");
    EXPECT_EQ(shown.back().text, old + "\r\nUse software version 1.xx to open.");
}

TEST_F(MainWindowCaptionsTest, SettingsFilesLeaveTheLanguageAndTheProgramFileKeepsIt) {
    Build();
    const std::string russianFile =
        harness.dir.Write("ru.qxs", "[Common]\nCH_D1=1\nRussian=1\nGrid=0\n");
    harness.Window().OpenSettingsFile(russianFile);
    ASSERT_FALSE(harness.Window().Model().state.Common.Grid) << "the file was read";
    EXPECT_FALSE(harness.Window().Model().state.Common.Russian);
    EXPECT_EQ(Caption("Menu_File").toStdString(), "File");

    harness.Action("Menu_Russian")->trigger();
    harness.Window().close();
    EXPECT_EQ(IniDocument::Parse(harness.dir.Read("qx40.ini")).Get("Common", "Russian"), "1");
    harness.window.reset();

    Build();  // the next start reads the program file
    EXPECT_TRUE(harness.Window().Model().state.Common.Russian);
    EXPECT_TRUE(harness.Action("Menu_Russian")->isChecked());
    ExpectCaptions(kEveryKind, true);
}

// With no program settings file the locale chooses; the file then keeps it.
TEST(FirstStartLanguage, FollowsTheLocaleUntilTheFileHoldsOne) {
    FakeLink fake;
    const std::vector<std::uint8_t> image(1024, 0x11);
    for (const bool localeRussian : {false, true}) {
        WindowHarness harness("");
        harness.firstStartRussian = localeRussian;
        harness.Build(fake, image, false, NoWait);
        EXPECT_EQ(harness.Window().Model().state.Common.Russian, localeRussian);
        EXPECT_EQ(harness.Action("Menu_Russian")->isChecked(), localeRussian);
        EXPECT_EQ(harness.Menu("Menu_File")->title().toStdString(),
                  localeRussian ? "Файл" : "File");
        harness.Window().close();
        harness.window.reset();

        harness.firstStartRussian = !localeRussian;  // the locale changed since
        harness.Build(fake, image, false, NoWait);
        EXPECT_EQ(harness.Window().Model().state.Common.Russian, localeRussian);
    }
}

}  // namespace
}  // namespace qx40
