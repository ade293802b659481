// The paint area: shows the off-screen bitmap as it is and passes pointer
// events on. It never takes the keyboard focus.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace qx40 {

class ScreenView : public QWidget {
    Q_OBJECT
public:
    ScreenView(const QImage& bitmap, QWidget* parent);

    // x, y in the bitmap; buttons: Qt's mouse buttons held or pressed.
    std::function<void(int x, int y, Qt::MouseButtons)> pressed;
    std::function<void(int x, int y, Qt::MouseButtons)> moved;
    std::function<void(Qt::MouseButtons)> released;       // the button that went up
    std::function<void(Qt::MouseButtons)> doubleClicked;  // the button clicked

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const QImage& bitmap_;
};

}  // namespace qx40
