// The main window as the window tests build it: on a link the test owns,
// with its own program settings file in a fresh folder and every message box
// answered from a script.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

namespace qx40::testing_support {

class WindowHarness {
public:
    explicit WindowHarness(std::string programSettings = "[Common]\nRussian=0\n") {
        dir.Write("qx40.ini", programSettings);
    }

    // sleep: empty for the real clock; tests on a scripted link pass one that
    // returns at once.
    MainWindow& Build(UsbLink& link, std::span<const std::uint8_t> fpgaImage,
                      bool placeholderImage = false, SleepFunction sleep = {}) {
        MainWindowOptions o;
        o.link = &link;
        o.dialogs = &dialogs;
        o.settingsPath = SettingsPath();
        o.fpgaImage = fpgaImage;
        o.placeholderImage = placeholderImage;
        o.threadSleep = std::move(sleep);
        o.firstStartRussian = firstStartRussian;
        o.arguments = arguments;
        window = std::make_unique<MainWindow>(std::move(o));
        return *window;
    }

    // Shows the window and waits for its first paint, after which it has
    // opened (or tried to open) the instrument and is idle.
    [[nodiscard]] bool ShowAndWaitIdle(int timeoutMs = 20000) {
        window->show();
        return QTest::qWaitForWindowExposed(window.get(), timeoutMs) &&
               QTest::qWaitFor([this] { return !window->IsBusy(); }, timeoutMs);
    }

    MainWindow& Window() { return *window; }
    QToolButton* Button(const char* name) { return window->findChild<QToolButton*>(name); }
    QAction* Action(const char* name) { return window->findChild<QAction*>(name); }
    QMenu* Menu(const char* name) { return window->findChild<QMenu*>(name); }
    std::string SettingsPath() const { return dir.File("qx40.ini"); }

    TempDir dir;
    ScriptedDialogs dialogs;
    bool firstStartRussian = true;  // what the locale says
    std::vector<std::string> arguments;  // the command line, without the program name
    std::unique_ptr<MainWindow> window;
};

}  // namespace qx40::testing_support
