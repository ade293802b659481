// What every dialog that edits the live state shares: busy while open,
// centred on the window, OK keeps, and Cancel, Escape and the close box all
// put the copied fields back and apply again.
#include "dialogs/settings_dialog.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include "device/usb/fake_link.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::WindowHarness;

// Edits the grid flag; the test plays the user while the dialog is open.
class GridDialog : public SettingsDialog {
public:
    GridDialog(ScopeSession& s, QWidget* w) : SettingsDialog(s, w) {}
    std::function<void()> whileOpen;
    bool busyWhileOpen = false;
    int shows = 0;

protected:
    void CopyFields() override { copy_ = State().Common.Grid; }
    void RestoreFields() override { State().Common.Grid = copy_; }
    void ShowCaptions(bool russian) override { setWindowTitle(russian ? "Сетка" : "Grid"); }
    void FormShow() override {
        ++shows;
        busyWhileOpen = Session().Busy();
        QTimer::singleShot(0, this, [this] {
            State().Common.Grid = !State().Common.Grid;  // an edit, applied at once
            Session().ApplySettings();
            whileOpen();
        });
    }

private:
    bool copy_ = false;
};

class SettingsDialogTest : public testing::Test {
protected:
    SettingsDialogTest() {
        harness.Build(fake, image);
        EXPECT_TRUE(harness.ShowAndWaitIdle());
    }
    MainWindow& W() { return harness.Window(); }

    FakeLink fake;
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(1024, 0x11);
    WindowHarness harness;
};

TEST_F(SettingsDialogTest, CancelEscapeAndTheCloseBoxPutTheFieldsBack) {
    struct Way {
        const char* name;
        std::function<void(QDialog&)> close;
    };
    const Way ways[] = {
        {"cancel", [](QDialog& d) { d.reject(); }},
        {"escape", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"close box", [](QDialog& d) { d.close(); }},
    };
    GridDialog dialog(W().Session(), &W());
    for (const Way& way : ways) {
        const bool before = W().Model().state.Common.Grid;
        bool edited = !before;
        dialog.whileOpen = [&] {
            edited = W().Model().state.Common.Grid;
            way.close(dialog);
        };
        EXPECT_FALSE(dialog.Run()) << way.name;
        EXPECT_EQ(edited, !before) << way.name << ": the edit is in force while the dialog is open";
        EXPECT_EQ(W().Model().state.Common.Grid, before) << way.name;
        EXPECT_TRUE(dialog.busyWhileOpen) << way.name;
        EXPECT_FALSE(W().IsBusy()) << way.name;
    }
    EXPECT_EQ(dialog.shows, 3) << "one dialog, shown again each time";
}

TEST_F(SettingsDialogTest, OkKeepsTheEditsAndTheDialogSitsOnTheWindow) {
    GridDialog dialog(W().Session(), &W());
    const bool before = W().Model().state.Common.Grid;
    QPoint centre;
    dialog.whileOpen = [&] {
        centre = dialog.frameGeometry().center();
        dialog.accept();
    };
    EXPECT_TRUE(dialog.Run());
    EXPECT_EQ(W().Model().state.Common.Grid, !before);
    // Centred up to the rounding of two odd sizes and a frame.
    EXPECT_LE((centre - W().frameGeometry().center()).manhattanLength(), 4);
}

}  // namespace
}  // namespace qx40
