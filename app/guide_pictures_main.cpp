// qx40_guide_pictures OUTDIR: draws the user guide's pictures of the window
// and its dialogs, in English (NAME.png) and Russian (NAME.ru.png), on the
// simulated instrument. Run by scripts/guide-pictures under Xvfb (or the
// offscreen platform), so the pictures do not depend on the developer's
// desktop.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "device/usb/device_spec.h"
#include "device/usb/link_factory.h"
#include "dialogs/qt_user_dialogs.h"
#include "resources/fpga_image.h"

namespace {

using qx40::MainWindow;

// Says Yes to the questions a debug start asks (open the instrument found),
// so nobody has to sit by; every other box is shown as usual.
class AnsweringDialogs : public qx40::QtUserDialogs {
public:
    qx40::MessageAnswer Show(const qx40::UserMessage& message) override {
        if (message.buttons == qx40::MessageButtons::YesNo) return qx40::MessageAnswer::Yes;
        return QtUserDialogs::Show(message);
    }
};

void Settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

class Pictures {
public:
    Pictures(QString outDir, bool russian) : outDir_(std::move(outDir)), russian_(russian) {}

    // The window on the simulated instrument, with the given service switches.
    bool Open(const std::string& system) {
        std::ofstream(Path("qx40.ini")) << "[Common]\nRussian=" << (russian_ ? 1 : 0) << "\n[System]\n" << system;
        std::string error;
        link_ = qx40::CreateLink(*qx40::ParseDeviceSpec("sim", error)).link;
        image_ = qx40::LoadFpgaImage("", "", "");
        qx40::MainWindowOptions o;
        o.link = link_.get();
        o.dialogs = &dialogs_;
        o.settingsPath = Path("qx40.ini");
        o.dialogFolder = "/home/user/measurements/";  // shown by the recorder, never written
        o.fpgaImage = image_.image.bytes;
        o.placeholderImage = image_.image.placeholder;
        o.firstStartRussian = russian_;
        window_ = std::make_unique<MainWindow>(std::move(o));
        dialogs_.SetParent(window_.get());
        window_->resize(900, 620);
        window_->show();
        Settle(1500);
        return link_ != nullptr;
    }
    void Close() {
        window_.reset();
        link_.reset();
    }

    void Click(const char* button) {
        if (auto* b = window_->findChild<QAbstractButton*>(button)) b->click();
    }
    void Trigger(const char* action) {
        if (auto* a = window_->findChild<QAction*>(action)) a->trigger();
    }
    void Scroll(const char* bar, int value) {
        if (auto* s = window_->findChild<QScrollBar*>(bar)) s->setValue(value);
    }

    // Conditions that fill the trigger dialog's captions (in force only with T+).
    void ShowSomeConditions() {
        qx40::TriggerSection& t = window_->Model().state.Trigger;
        t.PTMode = 1, t.PTmin = 12, t.PTmax = 345, t.PTmult = 100;
        t.Slew_Mode = 2, t.Slew = 25;
        t.Lev_Mask = 0b0110, t.Levels = 0b0100;
        window_->ApplyAndRestart();
    }

    bool SaveWindow(const char* name) {
        Settle(1200);
        return Save(window_->grab(), name);
    }

    // Opens the dialog as the menu item does, pictures it once it is up and
    // closes it with Cancel, which puts back what it changed.
    bool SaveDialog(const char* action, const char* name) {
        bool saved = false;
        QTimer::singleShot(900, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog && dialog != window_.get()) {
                saved = Save(dialog->grab(), name);
                if (auto* d = qobject_cast<QDialog*>(dialog)) d->reject();
            }
        });
        Trigger(action);
        Settle(1000);
        return saved;
    }

private:
    std::string Path(const char* file) const { return QDir(temp_.path()).filePath(file).toStdString(); }
    bool Save(const QPixmap& picture, const char* name) {
        const QString file = QDir(outDir_).filePath(QString::fromLatin1(name) + (russian_ ? ".ru.png" : ".png"));
        const bool ok = picture.save(file, "PNG");
        std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "FAILED", file.toLocal8Bit().constData());
        return ok;
    }

    QString outDir_;
    bool russian_;
    QTemporaryDir temp_;
    AnsweringDialogs dialogs_;
    qx40::FpgaImageLoad image_;
    std::unique_ptr<qx40::UsbLink> link_;
    std::unique_ptr<MainWindow> window_;
};

bool Draw(const QString& outDir, bool russian) {
    bool ok = true;
    {
        Pictures p(outDir, russian);
        ok &= p.Open("");
        p.Click("SpeedButton_GenOn");
        p.Scroll("ScrollBar_Amplitude", 1300);  // 1.5 V: the sine fits the screen at 1 V/div
        p.Click("SpeedButton_TrigA1");
        p.Click("SpeedButton_Run");
        ok &= p.SaveWindow("window");
        p.ShowSomeConditions();
        ok &= p.SaveDialog("Menu_Trigger", "trigger");
        ok &= p.SaveDialog("Menu_GeneratorSet", "generator");
        ok &= p.SaveDialog("Menu_FFTSet", "fft");
        ok &= p.SaveDialog("Menu_Colors", "colours");
        ok &= p.SaveDialog("Menu_About", "about");
        ok &= p.SaveDialog("Menu_ZeroCalibrate", "zero");
        // A 10 kHz rectangle: its odd harmonics stand apart.
        p.Click("SpeedButton_100K_100mS");
        p.Click("SpeedButton_01mS");
        p.Click("SpeedButton_Rect");
        p.Trigger("Menu_FFT_A1");
        ok &= p.SaveWindow("spectrum");
        p.Close();
    }
    {
        // The recorder needs roll mode (a slow time base and no trigger source)
        // and the service switch that shows it.
        Pictures p(outDir, russian);
        ok &= p.Open("Debug_qx=1\n");
        p.Click("SpeedButton_GenOn");
        p.Click("SpeedButton_100mS");
        p.Trigger("Menu_Lenta");
        p.Click("SpeedButton_Run");
        Settle(1500);
        ok &= p.SaveDialog("Menu_Recorder", "recorder");
        p.Close();
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: qx40_guide_pictures OUTDIR\n", stderr);
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(outDir)) return 1;
    const bool ok = Draw(outDir, false) & Draw(outDir, true);
    return ok ? 0 : 1;
}
