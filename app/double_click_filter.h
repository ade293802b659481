// Runs a function when the widget it watches is double-clicked with the left
// button (a label has no signal of its own for that).
#pragma once

#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <functional>

namespace qx40 {

class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QObject* watched, std::function<void()> onDoubleClick)
        : QObject(watched), onDoubleClick_(std::move(onDoubleClick)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            onDoubleClick_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onDoubleClick_;
};

}  // namespace qx40
