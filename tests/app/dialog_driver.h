// Plays the user while one of the window's modal dialogs is open: the test's
// moves run inside the dialog's own event loop, after it has loaded itself.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace qx40::testing_support {

// The named child, or the test stops here with its name.
template <typename T>
T& Child(QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    if (child == nullptr) qFatal("no %s named %s", T::staticMetaObject.className(), name);
    return *child;
}

// Runs open (which shows the dialog modally and returns when it closes) and
// plays while the dialog is open. A dialog that play left open is cancelled,
// so a failing test never hangs. False when the dialog never opened.
inline bool WhileOpen(QWidget& window, const char* dialogName,
                      const std::function<void(QDialog&)>& play,
                      const std::function<void()>& open) {
    bool ran = false;
    QPointer<QDialog> dialog = window.findChild<QDialog*>(dialogName);
    if (!dialog) {
        ADD_FAILURE() << "no dialog " << dialogName;
        return false;
    }
    QTimer timer;  // stops with this call, also when the dialog never opened
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, dialog, [&] {
        if (!dialog->isVisible() || !dialog->isModal()) return;
        ran = true;
        play(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    timer.start(0);
    open();
    timer.stop();
    return ran;
}

}  // namespace qx40::testing_support
