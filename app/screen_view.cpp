#include "app/screen_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace qx40 {

ScreenView::ScreenView(const QImage& bitmap, QWidget* parent) : QWidget(parent), bitmap_(bitmap) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScreenView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, bitmap_);  // one plain copy of the finished screen
}

void ScreenView::mousePressEvent(QMouseEvent* e) {
    if (pressed) pressed(e->position().toPoint().x(), e->position().toPoint().y(), e->buttons());
}

void ScreenView::mouseMoveEvent(QMouseEvent* e) {
    if (moved) moved(e->position().toPoint().x(), e->position().toPoint().y(), e->buttons());
}

void ScreenView::mouseReleaseEvent(QMouseEvent* e) {
    if (released) released(e->button());
}

// A double click arrives in place of the second press; the program expects
// the double click first and then that press.
void ScreenView::mouseDoubleClickEvent(QMouseEvent* e) {
    if (doubleClicked) doubleClicked(e->button());
    if (pressed) pressed(e->position().toPoint().x(), e->position().toPoint().y(), e->buttons());
}

}  // namespace qx40
