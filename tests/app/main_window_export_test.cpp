// The Export menu of the window, answered through the dialog service: the
// writers themselves are tested on their own; here what the window adds,
// the box before any dialog, the proposed names, the folder, the question
// about the companion file and the boxes of a failed write.
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <filesystem>

#include "app/main_window.h"
#include "device/usb/fake_link.h"
#include "files/data_file.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

namespace qx40 {
namespace {

using testing_support::ScriptedDialogs;
using testing_support::TempDir;
using enum MessageAnswer;

class MainWindowExportTest : public testing::Test {
protected:
    MainWindow& Window(const std::string& programSettings = "[Common]\nRussian=0\n") {
        if (!window) {
            dir.Write("qx40.ini", programSettings);
            MainWindowOptions o;
            o.link = &fake;
            o.dialogs = &dialogs;
            o.settingsPath = dir.File("qx40.ini");
            o.fpgaImage = image;
            o.threadSleep = [](std::chrono::milliseconds) {};
            window = std::make_unique<MainWindow>(std::move(o));
        }
        return *window;
    }
    void Trigger(const char* item) {
        QAction* a = Window().findChild<QAction*>(item);
        ASSERT_NE(a, nullptr) << item;
        a->trigger();
    }
    // Fifty A1 points, 100 to 149, shown as the data file rec.qxd.
    void ShowRecordFile() {
        SampleRecord r;
        r.Info[fi::DeviceTypeCode] = 31;
        r.Info[fi::RingLength] = r.Info[fi::ValidPoints] = 50;
        r.Info[fi::Channels] = 1;
        r.Info[fi::Divider] = 100;
        for (std::size_t i = 0; i < 50; ++i)
            r.Min[kA1][i] = r.Max[kA1][i] = static_cast<std::int32_t>(100 + i);
        std::string error;
        ASSERT_EQ(WriteDataFile(dir.File("rec.qxd"), r, error), DataFileError::None);
        Window().OpenDataFile(dir.File("rec.qxd"));
        ASSERT_TRUE(Window().Shared().flags.ShowingFile);
        dialogs.shown.clear();
        dialogs.files.clear();
    }

    TempDir dir;
    FakeLink fake;
    ScriptedDialogs dialogs;
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(1024, 0x11);
    std::unique_ptr<MainWindow> window;
};

// Nothing to write is said before any dialog, with the export's own title
// as caption; the raw exports name the channel as the model has it.
TEST_F(MainWindowExportTest, NoDataIsSaidBeforeAnyDialog) {
    struct Case {
        const char* settings;
        const char* item;
        const char* caption;
        const char* text;
    };
    const Case cases[] = {
        {"[Common]\nRussian=0\n", "Menu_Text", "Save Text", "No data for writing."},
        {"[Common]\nRussian=0\n", "Menu_EBin_A1", "Save Row Binary (CH A1)",
         "No data for writing."},
        {"[Common]\nRussian=0\n", "Menu_CSV", "Save CSV", "No data for writing."},
        {"[Common]\nRussian=0\n[System]\nDevice_Type_Code=28\n", "Menu_EBin_D1",
         "Save Row Binary (CH D)", "No data for writing."},
        {"[Common]\nRussian=1\n[System]\nDevice_Type_Code=28\n", "Menu_EBin_A1",
         "Сохранение двоичного файла (канал A)", "Нет данных для записи."},
    };
    for (const Case& c : cases) {
        window.reset();
        dialogs = {};
        Window(c.settings);
        Trigger(c.item);
        ASSERT_EQ(dialogs.shown.size(), 1u) << c.item;
        EXPECT_EQ(dialogs.shown[0].caption, c.caption);
        EXPECT_EQ(dialogs.shown[0].text, c.text);
        EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Error);
        EXPECT_TRUE(dialogs.files.empty()) << c.item << ": no save dialog";
    }
}

TEST_F(MainWindowExportTest, TheShownFileNameIsProposedAndCancelWritesNothing) {
    ShowRecordFile();
    Trigger("Menu_Text");
    ASSERT_EQ(dialogs.files.size(), 1u);
    EXPECT_TRUE(dialogs.files[0].save);
    EXPECT_EQ(dialogs.files[0].title, "Save Text");
    EXPECT_EQ(dialogs.files[0].fileName, "rec.txt");
    EXPECT_EQ(dialogs.files[0].defaultExtension, "txt");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("rec.txt")));

    // A live record has no name: "*.bin".
    Window().Shared().flags.ShowingFile = false;
    Trigger("Menu_EBin_A1");
    ASSERT_EQ(dialogs.files.size(), 2u);
    EXPECT_EQ(dialogs.files[1].fileName, "*.bin");
    EXPECT_EQ(dialogs.files[1].title, "Save Row Binary (CH A1)");
}

// The export is written where the user chose, and the next dialog starts
// in that folder.
TEST_F(MainWindowExportTest, WritesTheChosenFileAndKeepsItsFolder) {
    ShowRecordFile();
    std::filesystem::create_directory(dir.File("out"));
    dialogs.chosen = {dir.File("out/table.txt"), dir.File("out/a1.bin")};
    Trigger("Menu_Text");
    const std::string text = dir.Read("out/table.txt");
    EXPECT_EQ(text.rfind("Oscilloscope data. \r\nTime step = ", 0), 0u) << text;
    EXPECT_NE(text.find("\r\n49\t149\r\n"), std::string::npos) << "the last row, CR LF";

    Trigger("Menu_EBin_A1");
    ASSERT_EQ(dialogs.files.size(), 2u);
    EXPECT_EQ(dialogs.files[1].folder, dir.File("out"));
    const std::string raw = dir.Read("out/a1.bin");
    ASSERT_EQ(raw.size(), 50u);
    EXPECT_EQ(static_cast<unsigned char>(raw[0]), 100);
    EXPECT_EQ(static_cast<unsigned char>(raw[49]), 149);
    EXPECT_EQ(dir.Read("out/a1.txt").rfind("Oscilloscope binary file = a1.bin\r\n", 0), 0u);
    EXPECT_TRUE(dialogs.shown.empty()) << "no question for a new companion";
}

// Declining to replace the companion keeps it as it was and the data
// file written.
TEST_F(MainWindowExportTest, TheCompanionIsReplacedOnlyWhenTheUserSaysYes) {
    ShowRecordFile();
    for (const MessageAnswer answer : {No, Yes}) {
        dir.Write("a1.txt", "mine");
        std::filesystem::remove(dir.File("a1.bin"));
        dialogs.shown.clear();
        dialogs.chosen = {dir.File("a1.bin")};
        dialogs.answers = {answer};
        Trigger("Menu_EBin_A1");
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].caption, "Save Text For Row Binary");
        EXPECT_EQ(dialogs.shown[0].text,
                  dir.File("a1.txt") + "\r\nThe file already exists. Replace existing file?");
        EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(dir.Read("a1.bin").size(), 50u);
        if (answer == No)
            EXPECT_EQ(dir.Read("a1.txt"), "mine");
        else
            EXPECT_EQ(dir.Read("a1.txt").rfind("Oscilloscope binary file = a1.bin\r\n", 0), 0u);
    }
}

TEST_F(MainWindowExportTest, AFileThatCannotBeWrittenIsSaidAndTheRecordStays) {
    ShowRecordFile();
    const SampleRecord before = Window().MainRecord();
    const std::string path = dir.File("no/such/folder/t.txt");
    dialogs.chosen = {path};
    Trigger("Menu_Text");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "Save Text");
    EXPECT_EQ(dialogs.shown[0].text.rfind(path + "\r\nCan't open file for writing.", 0), 0u)
        << dialogs.shown[0].text;
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(Window().MainRecord().Info.word, before.Info.word);
    EXPECT_TRUE(Window().Shared().flags.ShowingFile);
}

// The picture is the window's screen, as a bitmap or, for a name that asks
// for it, a PNG; the filter offers both.
TEST_F(MainWindowExportTest, ImageWritesBmpOrPngByTheName) {
    Window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window(), 20000));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Window().Bitmap().isNull(); }, 20000));
    dialogs.chosen = {dir.File("shot.bmp"), dir.File("shot.png")};
    Trigger("Menu_Image");
    Trigger("Menu_Image");
    ASSERT_EQ(dialogs.files.size(), 2u);
    EXPECT_EQ(dialogs.files[0].title, "Save Image");
    EXPECT_NE(dialogs.files[0].filter.find("*.png"), std::string::npos);
    EXPECT_EQ(dialogs.files[0].fileName, "*.bmp");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(dir.Read("shot.bmp").substr(0, 2), "BM");
    EXPECT_EQ(dir.Read("shot.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
}

}  // namespace
}  // namespace qx40
