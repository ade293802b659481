// Opening one of the window's dialogs from its menu item and playing the
// user while it is open, and the three ways a user cancels it.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>

namespace qx40::testing_support {

// Triggers the item; `play` runs once the dialog is open. A dialog still
// open afterwards is cancelled, so that a failed test does not hang.
inline void WhileOpen(QWidget& window, QAction* item, const char* dialogName,
                      const std::function<void(QDialog&)>& play) {
    QDialog* dialog = window.findChild<QDialog*>(dialogName);
    ASSERT_NE(dialog, nullptr) << dialogName;
    ASSERT_NE(item, nullptr);
    bool played = false;
    QTimer::singleShot(0, dialog, [&] {
        played = true;
        EXPECT_TRUE(dialog->isVisible() && dialog->isModal()) << dialogName;
        play(*dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << dialogName << " still open";
            dialog->reject();
        }
    });
    item->trigger();
    EXPECT_TRUE(played) << dialogName << " did not open";
    EXPECT_FALSE(dialog->isVisible()) << dialogName;
}

struct CloseWay {
    const char* name;
    std::function<void(QDialog&)> close;
};

inline const CloseWay kCancelWays[] = {
    {"Cancel", [](QDialog& d) { d.findChild<QAbstractButton*>("Button_Cancel")->click(); }},
    {"Escape", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
    {"close box", [](QDialog& d) { d.close(); }},
};

inline void ClickOk(QDialog& d) {
    d.findChild<QAbstractButton*>("Button_OK")->click();
}

// Every caption shown fits its widget: nothing is cut off in the language
// in force. A group box needs room for its title and its items, a button or
// a label for its text.
inline void ExpectNothingClipped(const QDialog& d) {
    int checked = 0;
    for (const QWidget* w : d.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&d)) continue;
        QSize needed;
        QString text;
        if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
            needed = g->minimumSizeHint();
            text = g->title();
        } else if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
            needed = b->sizeHint();
            text = b->text();
        } else if (const auto* l = qobject_cast<const QLabel*>(w)) {
            needed = l->sizeHint();
            text = l->text();
        } else {
            continue;
        }
        ++checked;
        EXPECT_GE(w->width(), needed.width())
            << d.objectName().toStdString() << ": \"" << text.toStdString() << "\"";
        EXPECT_GE(w->height(), needed.height())
            << d.objectName().toStdString() << ": \"" << text.toStdString() << "\"";
    }
    EXPECT_GT(checked, 0) << d.objectName().toStdString();
}

}  // namespace qx40::testing_support
