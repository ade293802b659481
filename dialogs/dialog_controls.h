// Small pieces the settings dialogs build their controls from.
#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QScrollBar>
#include <QString>
#include <QToolButton>
#include <initializer_list>
#include <string_view>

#include "base/value_range.h"

namespace qx40 {

inline QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A horizontal bar the keyboard can reach.
QScrollBar* MakeBar(QWidget* parent, const char* name, ValueRange range, int largeChange);

// A button of an exclusive group, the dialogs' counterpart of the panel's
// speed buttons; Tab reaches it and Space presses it.
QToolButton* MakeGroupButton(QWidget* parent, const char* name);

// Keeps the widget as wide as the widest of the texts it will show, so that
// the dialog neither clips nor grows while it is open.
void ReserveWidthFor(QAbstractButton* widget, std::initializer_list<QString> texts);
void ReserveWidthFor(QLabel* widget, std::initializer_list<QString> texts);

}  // namespace qx40
