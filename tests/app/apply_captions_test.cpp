#include "app/apply_captions.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include <memory>
#include <string>

namespace qx40 {
namespace {

constexpr std::int32_t kQx4003 = 31;
constexpr std::int32_t kQx4001A = 28;

// A window shaped like the real one: buttons, a label and group boxes in the
// panel; menus in the menu bar with submenus and actions, one menu and one
// action owned outside the window, as a menu bar may hold them.
class ApplyCaptionsTest : public testing::Test {
protected:
    ApplyCaptionsTest() {
        window.setWindowTitle("QX4003 ");
        auto* g1 = new QGroupBox("design", &window);
        g1->setObjectName("GroupBox1");
        window.setCentralWidget(g1);
        Button(g1, "SpeedButton_Run");
        Button(g1, "SpeedButton_05mS");
        Button(g1, "SpeedButton_TrigA1")->setText("A");
        Button(g1, "SpeedButton_2V_A1")->setText("20V");
        auto* timeDiv = new QLabel("design", g1);
        timeDiv->setObjectName("StaticText_TimeDiv");

        QMenu* file = Menu(window.menuBar(), "Menu_File");
        Action(file, "Menu_Open");
        QMenu* exportMenu = Menu(file, "Menu_Export");
        QMenu* binary = Menu(exportMenu, "Menu_Row_Binary");
        Action(binary, "Menu_EBin_A1");
        QMenu* options = Menu(window.menuBar(), "Menu_Options");
        Action(Menu(options, "Menu_Probe_A1"), "Menu_A1_x10");
        language = Menu(options, "Menu_Language");
        language->setTitle("design");
        Action(language, "Menu_Russian");
        Action(language, "Menu_English");
        QMenu* view = Menu(window.menuBar(), "Menu_View");
        Action(view, "Menu_FFT_A1");

        // Owned here, reachable only through the menu bar and the menu.
        help = std::make_unique<QMenu>("design");
        help->setObjectName("Menu_Help");
        window.menuBar()->addMenu(help.get());
        about = std::make_unique<QAction>("design");
        about->setObjectName("Menu_About");
        help->addAction(about.get());
    }

    static QToolButton* Button(QWidget* parent, const char* name) {
        auto* b = new QToolButton(parent);
        b->setObjectName(name);
        b->setText("design");
        return b;
    }
    static QMenu* Menu(QWidget* parent, const char* name) {
        auto* m = new QMenu("design", parent);
        m->setObjectName(name);
        if (auto* bar = qobject_cast<QMenuBar*>(parent)) bar->addMenu(m);
        if (auto* menu = qobject_cast<QMenu*>(parent)) menu->addMenu(m);
        return m;
    }
    static QAction* Action(QMenu* menu, const char* name) {
        QAction* a = menu->addAction("design");
        a->setObjectName(name);
        return a;
    }

    // UTF-8, so that a failed comparison prints readable text.
    std::string Text(const char* name) const { return QText(name).toStdString(); }
    QString QText(const char* name) const {
        QObject* o = window.findChild<QObject*>(name);
        if (o == nullptr && help->objectName() == name) return help->title();
        if (o == nullptr && about->objectName() == name) return about->text();
        if (auto* a = qobject_cast<QAction*>(o)) return a->text();
        if (auto* m = qobject_cast<QMenu*>(o)) return m->title();
        if (auto* g = qobject_cast<QGroupBox*>(o)) return g->title();
        if (auto* b = qobject_cast<QToolButton*>(o)) return b->text();
        if (auto* l = qobject_cast<QLabel*>(o)) return l->text();
        return "<missing>";
    }

    std::unique_ptr<QMenu> help;
    std::unique_ptr<QAction> about;
    QMainWindow window;
    QMenu* language = nullptr;
};

TEST_F(ApplyCaptionsTest, EnglishOnEveryKindOfItem) {
    ApplyCaptions(&window, false, kQx4003);
    EXPECT_EQ(Text("GroupBox1"), "Scope");
    EXPECT_EQ(Text("StaticText_TimeDiv"), "Time/Div");
    EXPECT_EQ(Text("SpeedButton_Run"), "RUN");
    EXPECT_EQ(Text("SpeedButton_05mS"), "0,5mS");
    EXPECT_EQ(Text("Menu_File"), "File");
    EXPECT_EQ(Text("Menu_Open"), "Open...");
    EXPECT_EQ(Text("Menu_Export"), "Export");
    EXPECT_EQ(Text("Menu_Row_Binary"), "Row Binary");
    EXPECT_EQ(Text("Menu_EBin_A1"), "CH A1...");
    EXPECT_EQ(Text("Menu_Probe_A1"), "Probe A1");
    EXPECT_EQ(Text("Menu_A1_x10"), "x10");
    EXPECT_EQ(Text("Menu_Language"), "Language");
    EXPECT_EQ(Text("Menu_Russian"), "Russian");
    EXPECT_EQ(Text("Menu_English"), "English");
    EXPECT_EQ(Text("Menu_FFT_A1"), "FFT A1");
    EXPECT_EQ(Text("Menu_Help"), "Help");
    EXPECT_EQ(Text("Menu_About"), "About...");
    // What the menu bar shows is the menu's own action.
    EXPECT_EQ(help->menuAction()->text().toStdString(), "Help");
}

TEST_F(ApplyCaptionsTest, RussianOnEveryKindOfItem) {
    ApplyCaptions(&window, true, kQx4003);
    EXPECT_EQ(Text("GroupBox1"), "Осциллограф");
    EXPECT_EQ(Text("StaticText_TimeDiv"), "Время/Дел");
    EXPECT_EQ(Text("SpeedButton_Run"), "Пуск");
    EXPECT_EQ(Text("SpeedButton_05mS"), "0,5mS");
    EXPECT_EQ(Text("Menu_File"), "Файл");
    EXPECT_EQ(Text("Menu_Open"), "Открыть осциллограмму...");
    EXPECT_EQ(Text("Menu_Row_Binary"), "Двоичный");
    EXPECT_EQ(Text("Menu_EBin_A1"), "Канал A1...");
    EXPECT_EQ(Text("Menu_Probe_A1"), "Пробник для канала A1");
    EXPECT_EQ(Text("Menu_Russian"), "Русский");
    EXPECT_EQ(Text("Menu_English"), "English");
    EXPECT_EQ(Text("Menu_FFT_A1"), "БПФ A1");
    EXPECT_EQ(Text("Menu_Help"), "Справка");
    EXPECT_EQ(Text("Menu_About"), "О программе...");
}

TEST_F(ApplyCaptionsTest, LanguageMenuKeepsItsEnglishCaption) {
    ApplyCaptions(&window, true, kQx4003);
    EXPECT_EQ(language->title().toStdString(), "design");
    ApplyCaptions(&window, false, kQx4003);
    ApplyCaptions(&window, true, kQx4003);
    EXPECT_EQ(language->title().toStdString(), "Language");
    EXPECT_EQ(Text("Menu_File"), "Файл");
}

TEST_F(ApplyCaptionsTest, ModelWithoutSecondChannelsUsesShortForms) {
    ApplyCaptions(&window, false, kQx4001A);
    EXPECT_EQ(Text("Menu_EBin_A1"), "CH A...");
    EXPECT_EQ(Text("Menu_Probe_A1"), "Probe");
    EXPECT_EQ(Text("Menu_FFT_A1"), "FFT");
    ApplyCaptions(&window, true, kQx4001A);
    EXPECT_EQ(Text("Menu_EBin_A1"), "Канал A...");
    EXPECT_EQ(Text("Menu_Probe_A1"), "Пробник для канала A");
    EXPECT_EQ(Text("Menu_FFT_A1"), "БПФ");
    // Back to a full model, the long forms return.
    ApplyCaptions(&window, false, kQx4003);
    EXPECT_EQ(Text("Menu_FFT_A1"), "FFT A1");
}

TEST_F(ApplyCaptionsTest, LeavesTitleAndStateCaptionsAlone) {
    ApplyCaptions(&window, true, kQx4001A);
    ApplyCaptions(&window, false, kQx4001A);
    EXPECT_EQ(window.windowTitle(), "QX4003 ");
    EXPECT_EQ(Text("SpeedButton_TrigA1"), "A");
    EXPECT_EQ(Text("SpeedButton_2V_A1"), "20V");
}

}  // namespace
}  // namespace qx40
