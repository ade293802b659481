#include "app/cli/screenshot_command.h"

#include "app/cli/cli_exit.h"
#include "app/cli/console_dialogs.h"
#include "app/cli/file_screen.h"
#include "app/cli/headless_scope.h"
#include "app/cli/help_texts.h"
#include "display/picture_export.h"

namespace qx40 {
namespace {

bool Save(const ScopeModel& model, const SampleRecord& main, const ScreenshotOptions& o, PictureEncoding encoding,
          std::ostream& err) {
    const ExportResult result = WritePicture(o.outputPath, RenderScreen(model, main, o.width, o.height), encoding);
    if (result.status == ExportStatus::Written) return true;
    err << "qx40cli: " << o.outputPath << ": " << result.reason << '\n';
    return false;
}

}  // namespace

std::string ScreenshotHelp() {
    return std::string(
               "usage: qx40cli screenshot [--device DEV | --input FILE.qxd] [--ini FILE] [--settings FILE.qxs]\n"
               "                          [--size WxH] [--timeout SECONDS] [--fpga-image PATH]\n"
               "                          --output FILE.bmp|FILE.png\n"
               "Draws the screen as the window does, from a data file or a frame of the instrument.\n"
               "  --input FILE.qxd     draw this data file; without it a frame of the instrument\n") +
           kDeviceOptionsHelp +
           "  --settings FILE.qxs  a user settings file applied as the window would\n"
           "  --size WxH           the picture's size, each from 50 to 10000 (default 563x367,\n"
           "                       the window's)\n"
           "  --timeout SECONDS    how long to wait for a frame (default 10)\n"
           "  --output PATH        the picture: .bmp writes a bitmap, .png a PNG image;\n"
           "                       any other name is refused\n" +
           kExitCodesHelp;
}

int RunScreenshot(const ScreenshotOptions& o, UsbLink* link, std::span<const std::uint8_t> fpgaImage,
                  bool placeholderImage, std::ostream& err) {
    // The picture format follows the name, so a .png never holds a bitmap.
    const auto encoding = PictureEncodingOf(o.outputPath);
    if (!encoding) {
        err << "qx40cli: screenshot writes .bmp or .png files, not " << o.outputPath << '\n';
        return kExitUsage;
    }
    if (!o.inputPath.empty()) {
        FileScreen screen;
        if (const int e = LoadFileScreen(o.inputPath, o.settingsPath, screen, err); e != kExitOk) return e;
        return Save(screen.model, screen.main, o, *encoding, err) ? kExitOk : kExitFile;
    }

    ConsoleDialogs dialogs(err);
    HeadlessScope scope(*link, fpgaImage, placeholderImage, dialogs, o.programSettingsPath);
    std::string error;
    if (!o.settingsPath.empty())
        if (const int e = scope.LoadSettings(o.settingsPath, error); e != kExitOk) {
            err << "qx40cli: " << error << '\n';
            return e;
        }
    if (!scope.Open(error)) {
        err << "qx40cli: " << error << '\n';
        return kExitDevice;
    }
    scope.Press(RunButton::Run);
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long long>(o.timeoutSeconds * 1000));
    if (!scope.WaitFor([&] { return scope.FramesShown() >= 1; }, deadline, error)) {
        err << "qx40cli: " << (error == "timeout" ? "no frame from the instrument in time" : error) << '\n';
        return error == "timeout" ? kExitTimeout : kExitDevice;
    }
    scope.Stop();
    return Save(scope.Model(), scope.MainRecord(), o, *encoding, err) ? kExitOk : kExitFile;
}

}  // namespace qx40
