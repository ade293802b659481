#include "dialogs/dialog_controls.h"

#include <algorithm>

namespace qx40 {
namespace {

template <typename W>
void Reserve(W* widget, std::initializer_list<QString> texts) {
    const QString shown = widget->text();
    int widest = 0;
    widget->setMinimumWidth(0);
    for (const QString& t : texts) {
        widget->setText(t);
        widest = std::max(widest, widget->sizeHint().width());
    }
    widget->setText(shown);
    widget->setMinimumWidth(widest);
}

}  // namespace

QScrollBar* MakeBar(QWidget* parent, const char* name, ValueRange range, int largeChange) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(range.min, range.max);
    bar->setPageStep(largeChange);
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setMinimumWidth(280);
    return bar;
}

QToolButton* MakeGroupButton(QWidget* parent, const char* name) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setCheckable(true);
    b->setFocusPolicy(Qt::StrongFocus);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setMinimumWidth(44);
    return b;
}

void ReserveWidthFor(QAbstractButton* widget, std::initializer_list<QString> texts) {
    Reserve(widget, texts);
}
void ReserveWidthFor(QLabel* widget, std::initializer_list<QString> texts) {
    Reserve(widget, texts);
}

}  // namespace qx40
