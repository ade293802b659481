// Draws the settings dialogs as a user sees them, for the README: the window
// on the simulated instrument, each dialog opened from its menu item and
// grabbed once it has loaded itself. Run under a real X server (Xvfb) so that
// the pictures have the platform's fonts: scripts/dialog-pictures.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <cstdio>
#include <string>

#include "app/main_window.h"
#include "device/usb/sim/simulated_link.h"
#include "resources/fpga_image.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

namespace {

using qx40::MainWindow;

// Opens the dialog through its menu item and saves what it shows; false
// when it did not open or the picture could not be written.
bool Picture(MainWindow& window, const char* action, const char* dialogName,
             const std::string& path) {
    auto* dialog = window.findChild<QDialog*>(dialogName);
    auto* item = window.findChild<QAction*>(action);
    if (dialog == nullptr || item == nullptr) return false;
    bool saved = false;
    QTimer::singleShot(200, dialog, [&] {
        if (dialog->isVisible()) saved = dialog->grab().save(QString::fromStdString(path));
        dialog->accept();
    });
    item->trigger();
    return saved;
}

// Conditions that fill the trigger dialog's captions.
void ShowSomeConditions(MainWindow& window) {
    qx40::TriggerSection& t = window.Model().state.Trigger;
    t.Source = qx40::TriggerSource::CH_A1;
    t.TPLUS = true;
    t.PTMode = 1, t.PTmin = 12, t.PTmax = 345, t.PTmult = 100;
    t.Slew_Mode = 2, t.Slew = 25;
    t.Lev_Mask = 0b0110, t.Levels = 0b0100;
    window.ApplyAndRestart();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: qx40_dialog_pictures OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    qx40::testing_support::TempDir dir;
    qx40::testing_support::ScriptedDialogs dialogs;
    qx40::SimulatedLink link;
    qx40::MainWindowOptions o;
    o.link = &link;
    o.dialogs = &dialogs;
    o.settingsPath = dir.Write("qx40.ini", "[Common]\nRussian=0\n");
    o.fpgaImage = qx40::EmbeddedFpgaImage();
    o.placeholderImage = true;
    MainWindow window(std::move(o));
    window.show();

    int status = 0;
    QTimer::singleShot(500, &window, [&] {
        ShowSomeConditions(window);
        const struct {
            const char* action;
            const char* dialog;
            const char* file;
        } pictures[] = {
            {"Menu_Trigger", "Form_TrigSet", "dialog_trigger.png"},
            {"Menu_GeneratorSet", "Form_GeneratorSet", "dialog_generator.png"},
        };
        for (const auto& p : pictures) {
            const std::string path = folder + "/" + p.file;
            if (!Picture(window, p.action, p.dialog, path)) {
                std::fprintf(stderr, "could not draw %s\n", path.c_str());
                status = 1;
            }
        }
        window.close();
    });
    app.exec();
    return status;
}
