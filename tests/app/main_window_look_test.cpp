// What the panel and the menus show a new user: buttons that are down at a
// glance, radio marks on choose-one menus, captions that fit their buttons
// in both languages and a tooltip on every control.
#include <gtest/gtest.h>

#include <QActionGroup>
#include <QApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QScrollBar>
#include <QStyleOptionToolButton>
#include <QToolButton>

#include "app/main_window.h"
#include "device/usb/fake_link.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::WindowHarness;

void NoWait(std::chrono::milliseconds) {}

class MainWindowLookTest : public testing::Test {
protected:
    explicit MainWindowLookTest(std::string programSettings = "[Common]\nRussian=0\n")
        : harness(std::move(programSettings)) {}

    MainWindow& Build() { return harness.Build(fake, image, false, NoWait); }
    // The buttons of the control panel and the generator strip.
    std::vector<QToolButton*> PanelButtons() {
        std::vector<QToolButton*> buttons;
        for (const char* box : {"GroupBox1", "GroupBox2"})
            for (QToolButton* b :
                 harness.Window().findChild<QGroupBox*>(box)->findChildren<QToolButton*>())
                buttons.push_back(b);
        return buttons;
    }

    FakeLink fake;
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(1024, 0x11);
    WindowHarness harness;
};

// The share of a button's pixels in the highlight colour.
double HighlightShare(QToolButton* b) {
    const QImage picture = b->grab().toImage();
    const QRgb highlight =
        b->palette().color(QPalette::Active, QPalette::Highlight).rgb() & 0xFFFFFF;
    int hits = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            hits += (picture.pixel(x, y) & 0xFFFFFF) == highlight;
    return static_cast<double>(hits) / (picture.width() * picture.height());
}

TEST_F(MainWindowLookTest, EveryButtonThatIsDownShowsTheHighlight) {
    Build();
    harness.Window().show();
    int checkable = 0;
    for (QToolButton* b : PanelButtons()) {
        if (!b->isCheckable()) continue;
        ++checkable;
        SCOPED_TRACE(b->objectName().toStdString());
        const bool was = b->isChecked();
        b->setChecked(false);
        EXPECT_LT(HighlightShare(b), 0.05) << "up";
        b->setChecked(true);
        EXPECT_GT(HighlightShare(b), 0.4) << "down";
        b->setChecked(was);
    }
    EXPECT_GE(checkable, 60) << "every group of the panel and the strip";
}

TEST_F(MainWindowLookTest, ChooseOneMenusShowRadioMarks) {
    Build();
    // The items of each submenu that form one choice; other items stay
    // independent check boxes.
    const std::pair<const char*, std::vector<const char*>> groups[] = {
        {"Menu_Device", {"Menu_4001A", "Menu_4002", "Menu_4003"}},
        {"Menu_Probe_A1", {"Menu_A1_x1", "Menu_A1_x10", "Menu_A1_x100"}},
        {"Menu_Probe_A2", {"Menu_A2_x1", "Menu_A2_x10", "Menu_A2_x100"}},
        {"Menu_Sampling", {"Menu_Smpl_2000", "Menu_Smpl_5000", "Menu_Smpl_10000", "Menu_Smpl_Max"}},
        {"Menu_Divisions",
         {"Menu_10_Div", "Menu_20_Div", "Menu_50_Div", "Menu_100_Div", "Menu_200_Div"}},
        {"Menu_Max_FPS",
         {"Menu_FPS_8", "Menu_FPS_15", "Menu_FPS_25", "Menu_FPS_40", "Menu_FPS_NO_LIM"}},
        {"Menu_FreqMeter",
         {"Menu_FM_A1", "Menu_FM_A2", "Menu_FM_D1", "Menu_FM_D2", "Menu_FM_D1_HF", "Menu_FM_D2_HF",
          "Menu_FM_TRIG"}},
        {"Menu_Language", {"Menu_Russian", "Menu_English"}},
        {"Menu_DrawMode", {"Menu_Dots", "Menu_Vectors", "Menu_Sinxx"}},
    };
    for (const auto& [menu, items] : groups) {
        SCOPED_TRACE(menu);
        // Qt draws a radio mark for a checkable item of an exclusive group.
        const QActionGroup* group = harness.Action(items.front())->actionGroup();
        ASSERT_NE(group, nullptr);
        EXPECT_TRUE(group->isExclusive());
        std::vector<std::string> members, expected(items.begin(), items.end());
        for (QAction* a : group->actions()) members.push_back(a->objectName().toStdString());
        EXPECT_EQ(members, expected);
    }
    EXPECT_EQ(harness.Action("Menu_SmplPeakDet")->actionGroup(), nullptr);

    // The state still decides: a choice made from the menu checks one item.
    harness.Action("Menu_FPS_8")->trigger();
    EXPECT_EQ(harness.Window().Model().state.Common.FrameRate, FrameRate::FPS_8);
    EXPECT_EQ(harness.Action("Menu_FPS_8")->actionGroup()->checkedAction(),
              harness.Action("Menu_FPS_8"));
    EXPECT_FALSE(harness.Action("Menu_FPS_25")->isChecked());
}

// The width a caption needs on its button: the text and the margins the
// button's style puts around it, up and down. The text is centred, so blanks
// at both of its ends may run over the edges without hiding a letter.
int NeededWidth(const QToolButton* b, const QFont& font) {
    QStyleOptionToolButton option;
    option.initFrom(b);
    option.font = font;
    option.text = b->text();
    option.toolButtonStyle = b->toolButtonStyle();
    option.subControls = QStyle::SC_ToolButton;
    const QFontMetrics metrics(font);
    const QString caption = b->text();
    qsizetype lead = 0, trail = 0;
    while (lead < caption.size() && caption[lead] == QLatin1Char(' ')) ++lead;
    while (trail < caption.size() - lead && caption[caption.size() - 1 - trail] == QLatin1Char(' '))
        ++trail;
    const int blank = metrics.horizontalAdvance(QString(std::min(lead, trail), QLatin1Char(' ')));
    const QSize text(metrics.horizontalAdvance(caption) - 2 * blank, metrics.height());
    int needed = 0;
    for (const QStyle::State state : {QStyle::State_Off, QStyle::State_On}) {
        option.state = (option.state & ~(QStyle::State_Off | QStyle::State_On)) | state;
        needed = std::max(
            needed, b->style()->sizeFromContents(QStyle::CT_ToolButton, &option, text, b).width());
    }
    return needed;
}

TEST_F(MainWindowLookTest, EveryCaptionFitsItsButtonInBothLanguagesAndFonts) {
    const QFont platform = QApplication::font();
    QFont liberation("Liberation Sans");
    liberation.setPointSizeF(platform.pointSizeF());
    ASSERT_TRUE(QFontInfo(liberation).family().contains("Liberation"))
        << "fonts-liberation is installed";
    MainWindow& w = Build();
    w.show();
    for (const QFont& font : {platform, liberation}) {
        w.setFont(font);
        for (const char* language : {"Menu_English", "Menu_Russian"}) {
            harness.Action(language)->trigger();
            // Pulse mode renames the range buttons.
            for (const char* mode : {"", "SpeedButton_Pulse", "SpeedButton_Pulse"}) {
                if (*mode) harness.Button(mode)->click();
                for (QToolButton* b : PanelButtons()) {
                    if (b->text().isEmpty()) continue;
                    EXPECT_LE(NeededWidth(b, b->font()), b->width())
                        << b->objectName().toStdString() << " \"" << b->text().toStdString()
                        << "\" in " << QFontInfo(b->font()).family().toStdString() << " "
                        << language;
                }
            }
        }
    }
}

TEST_F(MainWindowLookTest, EveryControlSaysWhatItDoesInBothLanguages) {
    MainWindow& w = Build();
    std::vector<QWidget*> controls = {w.findChild<QScrollBar*>("ScrollBar_X_POS")};
    for (QToolButton* b : PanelButtons()) controls.push_back(b);
    for (QScrollBar* bar : w.findChild<QGroupBox*>("GroupBox2")->findChildren<QScrollBar*>())
        controls.push_back(bar);
    std::map<QWidget*, QString> english;
    for (QWidget* c : controls) {
        english[c] = c->toolTip();
        EXPECT_FALSE(c->toolTip().isEmpty()) << c->objectName().toStdString();
    }
    harness.Action("Menu_Russian")->trigger();
    for (QWidget* c : controls) {
        const QString tip = c->toolTip();
        EXPECT_NE(tip, english[c]) << c->objectName().toStdString();
        EXPECT_TRUE(std::any_of(tip.begin(), tip.end(),
                                [](QChar ch) { return ch.script() == QChar::Script_Cyrillic; }))
            << c->objectName().toStdString() << ": " << tip.toStdString();
    }
    // The one-channel model names its channels by their short forms.
    harness.Action("Menu_English")->trigger();
    harness.Action("Menu_4001A")->trigger();
    EXPECT_EQ(harness.Button("SpeedButton_TrigA1")->toolTip().toStdString(),
              "Trigger on channel A; press again for no trigger source");
}

}  // namespace
}  // namespace qx40
