// qx40: the desktop program. One copy runs per user; a second one hands its
// file over to it and ends.
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/program_icon.h"
#include "app/runtime_folder.h"
#include "app/single_instance.h"
#include "base/program_version.h"
#include "device/usb/instrument_access.h"
#include "device/usb/link_factory.h"
#include "dialogs/qt_user_dialogs.h"
#include "files/program_paths.h"
#include "files/settings_file.h"
#include "resources/fpga_image.h"

namespace {

constexpr const char* kUsage =
    "usage: qx40 [--device DEV] [--fpga-image PATH] [FILE.qxd | FILE.qxs]\n"
    "DEV: auto (default, or $QX40_DEVICE), usb, sim, sim:CODE or tcp:HOST:PORT\n";

struct CommandLine {
    std::string device;
    std::string fpgaImage;
    std::vector<std::string> files;
};

int Refuse(const std::string& text) {
    QMessageBox::critical(nullptr, QStringLiteral("QX40"), QString::fromStdString(text));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line;
    const char* env = std::getenv("QX40_DEVICE");
    line.device = env ? env : "auto";
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--version") {
            std::printf("%s\n", qx40::ProgramVersionText().c_str());
            return 0;
        }
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if ((a == "--device" || a == "--fpga-image") && i + 1 < argc) {
            (a == "--device" ? line.device : line.fpgaImage) = argv[++i];
            continue;
        }
        line.files.push_back(a);
    }

    QApplication app(argc, argv);
    QApplication::setWindowIcon(qx40::ProgramIcon());
    // Lets the desktop match the window to its entry (and so to its icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.qx40.Scope"));
    const std::string executable = QCoreApplication::applicationFilePath().toStdString();
    const std::string name = std::filesystem::path(executable).stem().string();

    // A running copy takes the file (or just comes to the front) and this one
    // ends. Without a private folder for the socket every copy runs alone.
    const std::optional<std::string> runtime =
        qx40::RuntimeFolder(std::getenv("XDG_RUNTIME_DIR"), "/tmp", ::getuid());
    const QString socketPath =
        runtime ? qx40::SingleInstance::SocketPath(QString::fromStdString(*runtime),
                                                   QString::fromStdString(name))
                : QString();
    if (runtime && qx40::SingleInstance::HandOver(
                       socketPath, static_cast<int>(line.files.size()),
                       QString::fromStdString(line.files.empty() ? "" : line.files.back())))
        return 0;

    std::string error;
    const auto choice = qx40::ParseDeviceSpec(line.device, error);
    if (!choice) return Refuse(error + "\n\n" + kUsage);
    const std::string configDir = qx40::ConfigDir(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    const std::string executableDir = std::filesystem::path(executable).parent_path().string();
    const qx40::FpgaImageLoad image = qx40::LoadFpgaImage(line.fpgaImage, executableDir, configDir,
                                                          qx40::SystemDataDir(executableDir));
    if (image.error != qx40::FpgaImageError::None) return Refuse(qx40::FpgaImageErrorText(image, false));

    const std::string settingsPath = qx40::ProgramSettingsPath(executable, configDir);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(settingsPath).parent_path(), ec);

    const qx40::CreatedLink created = qx40::CreateLink(*choice);
    qx40::UsbLink* const link = created.link.get();
    qx40::QtUserDialogs dialogs;
    qx40::MainWindowOptions options;
    options.link = link;
    options.dialogs = &dialogs;
    options.settingsPath = settingsPath;
    // File dialogs start beside the program in a build tree; an installed
    // program's folder is no place for the user's files.
    const char* home = std::getenv("HOME");
    options.dialogFolder = qx40::SystemDataDir(executableDir).empty() || !home ? executableDir : home;
    options.arguments = line.files;
    options.fpgaImage = image.image.bytes;
    options.placeholderImage = image.image.placeholder;
    options.programName = name;
    options.firstStartRussian = qx40::LocaleIsRussian(
        std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
    qx40::MainWindow window(options);
    dialogs.SetParent(&window);

    // A failed listen only means that later copies open windows of their own.
    qx40::SingleInstance instance;
    if (runtime) instance.Listen(socketPath);
    QObject::connect(&instance, &qx40::SingleInstance::HandOverReceived, &window,
                     [&window](int count, const QString& path) { window.HandleCopyData(count, path); });

    window.show();
    if (created.access != qx40::InstrumentAccess::Granted) {
        // Said once the window is up, in the language of its settings.
        QTimer::singleShot(0, &window, [&] {
            const bool russian = window.Model().state.Common.Russian;
            dialogs.Show({qx40::InstrumentAccessCaption(russian),
                          qx40::InstrumentAccessText(created.access, russian),
                          qx40::MessageIcon::Error, qx40::MessageButtons::Ok});
        });
    }
    return app.exec();
}
