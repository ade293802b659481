#include "app/window_bounds.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <vector>

#include "scope/scope_state.h"
#include "screen/window_placement.h"

namespace qx40 {
namespace {

WindowRect ToRect(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

}  // namespace

void RestoreWindowBounds(QWidget& window, const CommonSection& saved) {
    if (saved.Window_Width <= 0 || saved.Window_Height <= 0) return;
    std::vector<WindowRect> screens;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) screens.push_back(ToRect(primary->availableGeometry()));
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary) screens.push_back(ToRect(screen->availableGeometry()));
    const WindowRect r = VisibleWindowRect(
        {saved.Window_Left, saved.Window_Top, saved.Window_Width, saved.Window_Height}, screens);
    window.resize(r.width, r.height);
    window.move(r.left, r.top);
    if (saved.Window_Maximized) window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void SaveWindowBounds(const QWidget& window, CommonSection& saved) {
    saved.Window_Maximized = window.isMaximized();
    // A maximised window knows its normal place only without the frame.
    const QRect normal =
        saved.Window_Maximized ? window.normalGeometry() : QRect(window.pos(), window.size());
    saved.Window_Left = normal.x();
    saved.Window_Top = normal.y();
    saved.Window_Width = normal.width();
    saved.Window_Height = normal.height();
}

}  // namespace qx40
