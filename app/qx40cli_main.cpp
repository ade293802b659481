// qx40cli: the instrument from scripts, without a window.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/calibrate_command.h"
#include "app/cli/capture_command.h"
#include "app/cli/console_dialogs.h"
#include "app/cli/record_command.h"
#include "app/cli/stop_signals.h"
#include "base/parse_number.h"
#include "base/program_version.h"
#include "device/usb/instrument_access.h"
#include "device/usb/link_factory.h"
#include "files/program_paths.h"
#include "resources/fpga_image.h"

#ifdef QX40_WITH_VIEW
#include <QGuiApplication>

#include "app/cli/export_command.h"
#include "app/cli/screenshot_command.h"
#endif

namespace {

using qx40::kExitUsage;

constexpr const char* kUsage =
    "usage: qx40cli --version\n"
    "       qx40cli capture [--device DEV] [--ini FILE] [--settings FILE.qxs] [--frames N]\n"
    "                       [--timeout SECONDS] [--single] [--generator-on] [--fpga-image PATH]\n"
    "                       --output FILE.qxd\n"
#ifdef QX40_WITH_VIEW
    "       qx40cli screenshot [--device DEV | --input FILE.qxd] [--ini FILE] [--settings FILE.qxs]\n"
    "                          [--size WxH] [--timeout SECONDS] [--fpga-image PATH]\n"
    "                          --output FILE.bmp|FILE.png\n"
    "       qx40cli export --input FILE.qxd [--settings FILE.qxs] --format FORMAT [--size WxH]\n"
    "                      --output PATH\n"
#endif
    "       qx40cli record [--device DEV] [--ini FILE] [--settings FILE.qxs]\n"
    "                      (--seconds S | --bytes N) [--lang en|ru] [--generator-on]\n"
    "                      [--timeout SECONDS] [--fpga-image PATH] --output FILE.bin\n"
    "       qx40cli calibrate zero|tdc [--device DEV] [--ini PATH] [--timeout SECONDS] [--fpga-image PATH]\n"
    "       qx40cli calibrate fm --ppm-steps N [--ini PATH]\n"
    "       qx40cli COMMAND --help   every option of a command\n"
    "DEV: auto, usb, sim, sim:CODE or tcp:HOST:PORT (default: $QX40_DEVICE, else auto;\n"
    "     auto takes the simulated instrument when none is attached, and says so)\n"
    "FILE: the program settings file whose calibration is used (default: the window's qx40.ini)\n"
    "exit codes: 0 done, 2 usage or settings refused, 3 device not found or failed,\n"
    "            4 no frame in time, 5 file error, 6 no data for writing, 7 calibration failed\n";

int Usage(const std::string& problem) {
    std::cerr << "qx40cli: " << problem << '\n' << kUsage;
    return kExitUsage;
}

std::string ExecutablePath() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("./qx40cli") : exe.string();
}

std::string ExecutableDir() { return std::filesystem::path(ExecutablePath()).parent_path().string(); }

// The window's program settings file, whose folder may not exist yet.
std::string SharedIni() {
    return qx40::SharedSettingsPath(ExecutablePath(),
                                    qx40::ConfigDir(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")));
}

// The options both commands take.
struct Common {
    std::string device;
    std::string fpgaPath;
    std::string iniPath;
    std::string settingsPath;
    std::string outputPath;
    std::string inputPath;
    std::optional<qx40::IntegerPair> size;  // the screenshot's, in pixels
    double timeoutSeconds = 10.0;
    int frames = 1;
    bool single = false;
    bool generatorOn = false;
};

int ParseOptions(const std::vector<std::string>& args, bool screenshot, Common& options) {
    const char* env = std::getenv("QX40_DEVICE");
    options.device = env ? env : "auto";
    std::string& device = options.device;
    std::string& fpgaPath = options.fpgaPath;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--single" && !screenshot) {
            options.single = true;
        } else if (a == "--generator-on" && !screenshot) {
            options.generatorOn = true;
        } else if (a == "--ini") {
            if (!value(options.iniPath)) return Usage("--ini needs a file");
        } else if (a == "--input" && screenshot) {
            if (!value(options.inputPath)) return Usage("--input needs a file");
        } else if (a == "--size" && screenshot) {
            options.size = value(v) ? qx40::ParseIntegerPair(v, 50, 10000) : std::nullopt;
            if (!options.size) return Usage("--size needs WxH, each from 50 to 10000");
        } else if (a == "--device") {
            if (!value(device)) return Usage("--device needs a value");
        } else if (a == "--settings") {
            if (!value(options.settingsPath)) return Usage("--settings needs a file");
        } else if (a == "--output") {
            if (!value(options.outputPath)) return Usage("--output needs a file");
        } else if (a == "--fpga-image") {
            if (!value(fpgaPath)) return Usage("--fpga-image needs a file");
        } else if (a == "--frames" && !screenshot) {
            const auto n = value(v) ? qx40::ParseInteger(v, 1, 1000000) : std::nullopt;
            if (!n) return Usage("--frames needs a number from 1 to 1000000");
            options.frames = static_cast<int>(*n);
        } else if (a == "--timeout") {
            const auto t = value(v) ? qx40::ParseDecimal(v, 0.001, 86400) : std::nullopt;
            if (!t) return Usage("--timeout needs seconds from 0.001 to 86400");
            options.timeoutSeconds = *t;
        } else {
            return Usage("unknown option " + a);
        }
    }
    if (options.outputPath.empty()) return Usage(screenshot ? "screenshot needs --output FILE.bmp" : "capture needs --output FILE.qxd");
    return qx40::kExitOk;
}

// The program settings file the window keeps, or the one --ini names (which
// must exist); false after saying why.
bool ProgramSettings(const std::string& iniPath, std::string& path, int& exit) {
    if (!iniPath.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(iniPath, ec)) {
            std::cerr << "qx40cli: " << iniPath << ": file not found\n";
            exit = qx40::kExitFile;
            return false;
        }
        path = iniPath;
        return true;
    }
    path = SharedIni();
    return true;
}

// The FPGA image and the link the options name; false after saying why.
bool OpenInstrument(const Common& o, qx40::FpgaImageLoad& image, std::unique_ptr<qx40::UsbLink>& link, int& exit) {
    std::string error;
    const auto choice = qx40::ParseDeviceSpec(o.device, error);
    if (!choice) {
        exit = Usage(error);
        return false;
    }
    const std::string executableDir = ExecutableDir();
    image =
        qx40::LoadFpgaImage(o.fpgaPath, executableDir,
                            qx40::ConfigDir(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")),
                            qx40::SystemDataDir(executableDir));
    if (image.error != qx40::FpgaImageError::None) {
        std::cerr << "qx40cli: " << qx40::ConsoleDialogs::OneLine(qx40::FpgaImageErrorText(image, false)) << '\n';
        exit = qx40::kExitFile;
        return false;
    }
    qx40::CreatedLink created = qx40::CreateLink(*choice);
    if (created.access != qx40::InstrumentAccess::Granted) {
        std::cerr << "qx40cli: "
                  << qx40::ConsoleDialogs::OneLine(
                         qx40::InstrumentAccessText(created.access, false))
                  << '\n';
        exit = qx40::kExitDevice;
        return false;
    }
    link = std::move(created.link);
    // A script must be able to tell simulated data from real ones.
    if (choice->kind == qx40::DeviceSpec::Kind::Auto && link->Kind() == qx40::LinkKind::Simulated)
        std::cerr << "qx40cli: no instrument attached: using the simulated instrument\n";
    return true;
}

int Capture(const std::vector<std::string>& args) {
    Common o;
    if (const int e = ParseOptions(args, false, o); e != qx40::kExitOk) return e;
    qx40::CaptureOptions options;
    options.settingsPath = o.settingsPath;
    options.outputPath = o.outputPath;
    options.frames = o.frames;
    options.timeoutSeconds = o.timeoutSeconds;
    options.single = o.single;
    options.generatorOn = o.generatorOn;
    qx40::FpgaImageLoad image;
    std::unique_ptr<qx40::UsbLink> link;
    int exit = 0;
    if (!ProgramSettings(o.iniPath, options.programSettingsPath, exit)) return exit;
    if (!OpenInstrument(o, image, link, exit)) return exit;
    return qx40::RunCapture(options, *link, image.image.bytes, image.image.placeholder, std::cerr);
}

int Calibrate(const std::vector<std::string>& args) {
    qx40::CalibrateOptions options;
    const char* env = std::getenv("QX40_DEVICE");
    options.device = env ? env : "auto";
    const std::string shared = SharedIni();
    options.iniPath = shared;
    if (const int e = qx40::ParseCalibrateOptions(args, options, std::cerr); e != qx40::kExitOk) return e;
    if (options.iniPath == shared) {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(shared).parent_path(), ec);
    } else {
        // A mistyped --ini would otherwise start from defaults and leave the
        // calibration in a new file nobody reads.
        std::string named;
        int exit = 0;
        if (!ProgramSettings(options.iniPath, named, exit)) return exit;
    }
    options.progress = isatty(STDERR_FILENO) == 1;
    if (options.kind == qx40::CalibrateKind::Fm) return qx40::RunCalibrateFm(options, std::cout, std::cerr);
    Common o;
    o.device = options.device;
    o.fpgaPath = options.fpgaPath;
    qx40::FpgaImageLoad image;
    std::unique_ptr<qx40::UsbLink> link;
    int exit = 0;
    if (!OpenInstrument(o, image, link, exit)) return exit;
    return qx40::RunCalibrate(options, *link, image.image.bytes, image.image.placeholder, std::cout, std::cerr);
}

#ifdef QX40_WITH_VIEW
int Screenshot(const std::vector<std::string>& args) {
    Common o;
    if (const int e = ParseOptions(args, true, o); e != qx40::kExitOk) return e;
    qx40::ScreenshotOptions options;
    options.settingsPath = o.settingsPath;
    options.inputPath = o.inputPath;
    options.outputPath = o.outputPath;
    options.timeoutSeconds = o.timeoutSeconds;
    if (o.size) {
        options.width = static_cast<int>(o.size->first);
        options.height = static_cast<int>(o.size->second);
    }
    // Fonts need a GUI application; no display is needed for an image.
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "qx40cli";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    if (!o.inputPath.empty())
        return qx40::RunScreenshot(options, nullptr, {}, false, std::cerr);
    qx40::FpgaImageLoad image;
    std::unique_ptr<qx40::UsbLink> link;
    int exit = 0;
    if (!ProgramSettings(o.iniPath, options.programSettingsPath, exit)) return exit;
    if (!OpenInstrument(o, image, link, exit)) return exit;
    return qx40::RunScreenshot(options, link.get(), image.image.bytes, image.image.placeholder, std::cerr);
}

int Export(const std::vector<std::string>& args) {
    qx40::ExportOptions options;
    if (const int e = qx40::ParseExportOptions(args, options, std::cerr); e != qx40::kExitOk) return e;
    // Pictures need a GUI application for their fonts, never a display.
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "qx40cli";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    return qx40::RunExport(options, std::cerr);
}
#endif

int Record(const std::vector<std::string>& args) {
    // Before any thread starts, so that every one of them leaves the signals
    // to the wait loop.
    qx40::StopSignals stop;
    qx40::RecordOptions options;
    if (const int e = qx40::ParseRecordOptions(args, options, std::cerr); e != qx40::kExitOk) return e;
    options.progress = ::isatty(STDERR_FILENO) == 1;
    Common o;
    const char* env = std::getenv("QX40_DEVICE");
    o.device = !options.device.empty() ? options.device : env ? env : "auto";
    o.fpgaPath = options.fpgaImagePath;
    qx40::FpgaImageLoad image;
    std::unique_ptr<qx40::UsbLink> link;
    int exit = 0;
    if (!ProgramSettings(options.iniPath, options.programSettingsPath, exit)) return exit;
    if (!OpenInstrument(o, image, link, exit)) return exit;
    return qx40::RunRecord(options, *link, image.image.bytes, image.image.placeholder,
                           [&stop] { return stop.Requested(); }, std::cerr);
}

// The help of a command, when its arguments ask for it.
bool PrintCommandHelp(const std::vector<std::string>& args) {
    if (std::find_if(args.begin() + 1, args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; }) ==
        args.end())
        return false;
    std::string help;
    if (args[0] == "capture") help = qx40::CaptureHelp();
    if (args[0] == "record") help = qx40::RecordHelp();
    if (args[0] == "calibrate") help = qx40::CalibrateHelp();
#ifdef QX40_WITH_VIEW
    if (args[0] == "screenshot") help = qx40::ScreenshotHelp();
    if (args[0] == "export") help = qx40::ExportHelp();
#endif
    if (help.empty()) return false;
    std::fputs(help.c_str(), stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::printf("%s\n", qx40::ProgramVersionText().c_str());
        return 0;
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.empty()) return Usage("no command given");
    if (PrintCommandHelp(args)) return 0;
    if (args[0] == "capture") return Capture({args.begin() + 1, args.end()});
    if (args[0] == "record") return Record({args.begin() + 1, args.end()});
    if (args[0] == "calibrate") return Calibrate({args.begin() + 1, args.end()});
#ifdef QX40_WITH_VIEW
    if (args[0] == "screenshot") return Screenshot({args.begin() + 1, args.end()});
    if (args[0] == "export") return Export({args.begin() + 1, args.end()});
#endif
    return Usage("unknown command: " + args[0]);
}
