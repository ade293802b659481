// The main window's place on the desktop across a close and a start, on the
// offscreen platform's one screen.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "device/usb/fake_link.h"
#include "files/ini_document.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::WindowHarness;

void NoWait(std::chrono::milliseconds) {}

std::string Saved(int left, int top, int width, int height, bool maximized = false) {
    return "[Common]\nRussian=0\nWindow_Left=" + std::to_string(left) +
           "\nWindow_Top=" + std::to_string(top) + "\nWindow_Width=" + std::to_string(width) +
           "\nWindow_Height=" + std::to_string(height) +
           "\nWindow_Maximized=" + (maximized ? "1" : "0") + "\n";
}

class WindowBoundsTest : public testing::Test {
protected:
    MainWindow& Build(const std::string& programSettings) {
        harness = std::make_unique<WindowHarness>(programSettings);
        return harness->Build(fake, image, false, NoWait);
    }
    QRect Screen() const { return QGuiApplication::primaryScreen()->availableGeometry(); }
    // The place the program file holds after a close.
    std::vector<std::string> Written() {
        harness->Window().close();
        const IniDocument ini = IniDocument::Parse(harness->dir.Read("qx40.ini"));
        std::vector<std::string> keys;
        for (const char* key :
             {"Window_Left", "Window_Top", "Window_Width", "Window_Height", "Window_Maximized"})
            keys.push_back(ini.Get("Common", key).value_or("-"));
        return keys;
    }

    FakeLink fake;
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(1024, 0x11);
    std::unique_ptr<WindowHarness> harness;
};

TEST_F(WindowBoundsTest, OpensWhereItWasSaved) {
    MainWindow& w = Build(Saved(20, 10, 760, 570));
    EXPECT_EQ(w.pos(), QPoint(20, 10));
    EXPECT_EQ(w.size(), QSize(760, 570));
}

TEST_F(WindowBoundsTest, SavedOffEveryScreenOpensOnOne) {
    for (const auto& [left, top] : {std::pair{-5000, 40}, {5000, 9000}, {30, -400}}) {
        MainWindow& w = Build(Saved(left, top, 760, 570));
        EXPECT_TRUE(Screen().contains(QRect(w.pos(), w.size()))) << left << "," << top;
        EXPECT_EQ(w.size(), QSize(760, 570));
    }
}

TEST_F(WindowBoundsTest, CloseKeepsTheNewPlace) {
    MainWindow& w = Build("[Common]\nRussian=0\n");
    ASSERT_TRUE(harness->ShowAndWaitIdle());
    w.move(12, 7);
    w.resize(770, 580);
    EXPECT_EQ(Written(), (std::vector<std::string>{"12", "7", "770", "580", "0"}));
}

TEST_F(WindowBoundsTest, MaximisedComesBackMaximisedAndKeepsItsNormalPlace) {
    MainWindow& w = Build(Saved(15, 5, 760, 570, true));
    EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
    ASSERT_TRUE(harness->ShowAndWaitIdle());
    EXPECT_EQ(Written(), (std::vector<std::string>{"15", "5", "760", "570", "1"}));
}

// The compact view's small window is not the place of the normal one.
TEST_F(WindowBoundsTest, CompactViewLeavesTheSavedPlace) {
    Build(Saved(20, 10, 760, 570));
    ASSERT_TRUE(harness->ShowAndWaitIdle());
    harness->Action("Menu_Compact")->trigger();
    ASSERT_TRUE(harness->Window().Model().state.View.Compact);
    EXPECT_EQ(Written(), (std::vector<std::string>{"20", "10", "760", "570", "0"}));
}

}  // namespace
}  // namespace qx40
