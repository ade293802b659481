// Commands as the keyboard reaches them: the file commands wait for the stop
// also through their shortcuts, the volts/div keys do what the buttons do,
// and the edge button shows the edge it stands for.
#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>
#include <QToolButton>

#include "app/main_window.h"
#include "device/usb/fake_link.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::WindowHarness;

void NoWait(std::chrono::milliseconds) {}

class MainWindowCommandsTest : public testing::Test {
protected:
    explicit MainWindowCommandsTest(std::string programSettings = "[Common]\nRussian=0\n")
        : harness(std::move(programSettings)) {}

    MainWindow& Build() { return harness.Build(fake, image, false, NoWait); }
    MainWindow& W() { return harness.Window(); }
    void SetRunning(bool running) {
        W().Model().state.View.Run = running ? RunButton::Run : RunButton::None;
        W().ApplyAndRestart();
    }
    // Every item under the Export submenu, its submenus' items included.
    static std::vector<QAction*> ItemsUnder(QMenu* menu) {
        std::vector<QAction*> items;
        for (QAction* a : menu->actions()) {
            if (QMenu* sub = a->menu()) {
                items.push_back(a);
                for (QAction* inner : ItemsUnder(sub)) items.push_back(inner);
            } else if (!a->isSeparator()) {
                items.push_back(a);
            }
        }
        return items;
    }

    FakeLink fake;
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(1024, 0x11);
    WindowHarness harness;
};

TEST_F(MainWindowCommandsTest, FileCommandsWaitForTheStopAlsoThroughTheirShortcuts) {
    Build();
    ASSERT_TRUE(harness.ShowAndWaitIdle());
    W().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&W()));
    // An export added to the submenu later follows the rule as well.
    QAction* later = harness.Menu("Menu_Export")->addAction("later");
    later->setShortcut(QKeySequence("Ctrl+Shift+E"));
    later->setShortcutContext(Qt::ApplicationShortcut);

    SetRunning(true);
    ASSERT_TRUE(W().Shared().flags.RunFlag);
    for (const char* name : {"Menu_Open", "Menu_Save_As"})
        EXPECT_FALSE(harness.Action(name)->isEnabled()) << name;
    for (QAction* a : ItemsUnder(harness.Menu("Menu_Export")))
        EXPECT_FALSE(a->isEnabled())
            << a->objectName().toStdString() << " " << a->text().toStdString();
    EXPECT_FALSE(harness.Menu("Menu_Device")->menuAction()->isEnabled());
    EXPECT_TRUE(harness.Action("Menu_Open_Settings")->isEnabled());
    QTest::keyClick(&W(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&W(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(harness.dialogs.files.empty()) << "a file dialog opened while running";

    SetRunning(false);
    for (QAction* a : ItemsUnder(harness.Menu("Menu_Export")))
        EXPECT_TRUE(a->isEnabled())
            << a->objectName().toStdString() << " " << a->text().toStdString();
    EXPECT_TRUE(harness.Menu("Menu_Device")->menuAction()->isEnabled());
    QTest::keyClick(&W(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(harness.dialogs.files.size(), 1u) << "Ctrl+O opens once stopped";
    EXPECT_EQ(harness.dialogs.files[0].title, "Open");
}

class DebugSwitchCommandsTest : public MainWindowCommandsTest {
protected:
    DebugSwitchCommandsTest()
        : MainWindowCommandsTest("[Common]\nRussian=0\n[System]\nDebug_qx=1\n") {}
};

TEST_F(DebugSwitchCommandsTest, TheServiceSwitchKeepsThemWhileRunning) {
    Build();
    SetRunning(true);
    for (const char* name : {"Menu_Open", "Menu_Save_As", "Menu_Image", "Menu_EBin_A1"})
        EXPECT_TRUE(harness.Action(name)->isEnabled()) << name;
}

// A key steps the range as a click on the range button would: the trigger
// level keeps its voltage.
TEST_F(MainWindowCommandsTest, VoltsDivKeysDoWhatTheButtonsDo) {
    Build();
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        VoltsDiv from;
        const char* button;  // the button the key stands for
    } const cases[] = {
        {Qt::Key_Up, Qt::NoModifier, VoltsDiv::V1, "SpeedButton_2V_A1"},
        {Qt::Key_Down, Qt::NoModifier, VoltsDiv::V1, "SpeedButton_05V_A1"},
        {Qt::Key_Up, Qt::ShiftModifier, VoltsDiv::mV50, "SpeedButton_100mV_A2"},
        {Qt::Key_Down, Qt::ShiftModifier, VoltsDiv::V02, "SpeedButton_100mV_A2"},
    };
    ScopeState& s = W().Model().state;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        const bool a2 = c.modifiers & Qt::ShiftModifier;
        const auto start = [&] {
            (a2 ? s.Scope.A2 : s.Scope.A1) = c.from;
            s.Trigger.Lev_A1 = s.Scope.A1_Zero + 20;
            s.Trigger.Lev_A2 = s.Scope.A2_Zero - 20;
            W().ApplyAndRestart();
        };
        start();
        harness.Button(c.button)->click();
        const ScopeState byButton = s;
        start();
        QTest::keyClick(&W(), c.key, c.modifiers);
        EXPECT_TRUE(harness.Button(c.button)->isChecked());
        EXPECT_EQ(a2 ? s.Scope.A2 : s.Scope.A1, a2 ? byButton.Scope.A2 : byButton.Scope.A1);
        EXPECT_DOUBLE_EQ(s.Trigger.Lev_A1, byButton.Trigger.Lev_A1);
        EXPECT_DOUBLE_EQ(s.Trigger.Lev_A2, byButton.Trigger.Lev_A2);
        EXPECT_NE(a2 ? s.Trigger.Lev_A2 : s.Trigger.Lev_A1,
                  a2 ? s.Scope.A2_Zero - 20 : s.Scope.A1_Zero + 20)
            << "the level was rescaled";
    }
}

TEST_F(MainWindowCommandsTest, EdgeButtonShowsARisingEdgeUpAndAFallingEdgeDown) {
    Build();
    QToolButton* edge = harness.Button("SpeedButton_TrigEdge");
    const QString rising = edge->text();
    ASSERT_FALSE(edge->isChecked());
    edge->click();
    ASSERT_TRUE(W().Model().state.Trigger.Edge);
    EXPECT_TRUE(edge->isChecked());
    EXPECT_EQ(edge->text().toStdString(), "\\_");
    edge->click();
    EXPECT_EQ(edge->text().toStdString(), "_/");
    EXPECT_EQ(edge->text(), rising);
}

}  // namespace
}  // namespace qx40
