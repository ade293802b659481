// qx40cli: the instrument from scripts, without a window.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli/capture_command.h"
#include "app/program_paths.h"
#include "device/program_version.h"
#include "device/usb/link_factory.h"
#include "resources/fpga_image.h"

namespace {

using qx40::kExitUsage;

constexpr const char* kUsage =
    "usage: qx40cli --version\n"
    "       qx40cli capture --device DEV [--settings FILE.qxs] [--frames N] [--timeout SECONDS]\n"
    "                       [--single] [--fpga-image PATH] --output FILE.qxd\n"
    "DEV: auto, usb, sim, sim:CODE or tcp:HOST:PORT (default: $QX40_DEVICE, else auto)\n"
    "exit codes: 0 done, 2 usage, 3 device not found or failed, 4 no frame in time, 5 file error\n";

int Usage(const std::string& problem) {
    std::cerr << "qx40cli: " << problem << '\n' << kUsage;
    return kExitUsage;
}

std::string ExecutableDir() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

int Capture(const std::vector<std::string>& args) {
    qx40::CaptureOptions options;
    const char* env = std::getenv("QX40_DEVICE");
    std::string device = env ? env : "auto";
    std::string fpgaPath;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--single") {
            options.single = true;
        } else if (a == "--device") {
            if (!value(device)) return Usage("--device needs a value");
        } else if (a == "--settings") {
            if (!value(options.settingsPath)) return Usage("--settings needs a file");
        } else if (a == "--output") {
            if (!value(options.outputPath)) return Usage("--output needs a file");
        } else if (a == "--fpga-image") {
            if (!value(fpgaPath)) return Usage("--fpga-image needs a file");
        } else if (a == "--frames") {
            if (!value(v)) return Usage("--frames needs a number");
            char* end = nullptr;
            const long n = std::strtol(v.c_str(), &end, 10);
            if (*end != '\0' || n < 1 || n > 1000000) return Usage("--frames needs a number from 1 to 1000000");
            options.frames = static_cast<int>(n);
        } else if (a == "--timeout") {
            if (!value(v)) return Usage("--timeout needs seconds");
            char* end = nullptr;
            const double t = std::strtod(v.c_str(), &end);
            if (*end != '\0' || !(t > 0) || t > 86400) return Usage("--timeout needs seconds above 0");
            options.timeoutSeconds = t;
        } else {
            return Usage("unknown option " + a);
        }
    }
    if (options.outputPath.empty()) return Usage("capture needs --output FILE.qxd");

    std::string error;
    const auto spec = qx40::ParseDeviceSpec(device, error);
    if (!spec) return Usage(error);
    const qx40::FpgaImageLoad image = qx40::LoadFpgaImage(
        fpgaPath, ExecutableDir(), qx40::ConfigDir(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")));
    if (image.error != qx40::FpgaImageError::None) {
        std::string text = qx40::FpgaImageErrorText(image, false);
        for (char& c : text)
            if (c == '\r' || c == '\n') c = ' ';
        std::cerr << "qx40cli: " << text << '\n';
        return qx40::kExitFile;
    }
    const std::unique_ptr<qx40::UsbLink> link = qx40::CreateLink(*spec);
    return qx40::RunCapture(options, *link, image.image.bytes, image.image.placeholder, std::cerr);
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
    if (args[0] == "capture") return Capture({args.begin() + 1, args.end()});
    return Usage("unknown command: " + args[0]);
}
