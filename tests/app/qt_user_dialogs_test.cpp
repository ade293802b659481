// The Qt colour chooser behind UserDialogs: colours cross as 0x00BBGGRR and
// are red, green and blue on the chooser's side.
#include "dialogs/qt_user_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QTimer>
#include <functional>

namespace qx40 {
namespace {

// Runs `play` on the chooser once it is open; a chooser still open
// afterwards is cancelled, so that a failed test does not hang.
std::optional<std::uint32_t> Choose(std::uint32_t initial,
                                    const std::function<void(QColorDialog&)>& play) {
    bool played = false;
    QTimer::singleShot(0, [&] {
        auto* chooser = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        if (!chooser) return;
        played = true;
        play(*chooser);
        if (chooser->isVisible()) chooser->reject();
    });
    QtUserDialogs dialogs;
    const std::optional<std::uint32_t> chosen = dialogs.ChooseColour(initial, "Grid");
    EXPECT_TRUE(played) << "no colour chooser opened";
    return chosen;
}

TEST(QtUserDialogsColourChooser, OpensOnTheColourAndReturnsTheOneConfirmed) {
    QColor opened;
    QString caption;
    const std::optional<std::uint32_t> chosen = Choose(0x336699, [&](QColorDialog& d) {
        opened = d.currentColor();
        caption = d.windowTitle();
        d.setCurrentColor(QColor(0x12, 0x34, 0x56));
        d.accept();
    });
    EXPECT_EQ(opened, QColor(0x99, 0x66, 0x33)) << "0x00BBGGRR: red is the lowest byte";
    EXPECT_EQ(caption, "Grid");
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, 0x563412u);
}

TEST(QtUserDialogsColourChooser, CancelledGivesNothing) {
    EXPECT_FALSE(Choose(0x336699, [](QColorDialog& d) {
                     d.setCurrentColor(Qt::red);
                     d.reject();
                 }).has_value());
}

}  // namespace
}  // namespace qx40
