#include "app/cli/capture_command.h"

#include "app/cli/console_dialogs.h"
#include "app/cli/headless_scope.h"
#include "app/cli/help_texts.h"
#include "files/data_file.h"

namespace qx40 {

std::string CaptureHelp() {
    return std::string(
               "usage: qx40cli capture [--device DEV] [--ini FILE] [--settings FILE.qxs] [--frames N]\n"
               "                       [--timeout SECONDS] [--single] [--generator-on] [--fpga-image PATH]\n"
               "                       --output FILE.qxd\n"
               "Runs the instrument and saves the last of N frames as a data file.\n") +
           kDeviceOptionsHelp +
           "  --settings FILE.qxs  a user settings file applied before the run\n"
           "  --frames N           frames to wait for, 1 to 1000000 (default 1)\n"
           "  --timeout SECONDS    how long to wait for them all (default 10)\n"
           "  --single             SINGLE instead of RUN: one shot per frame; the instrument\n"
           "                       is left stopped\n"
           "  --generator-on       the generator output on for the capture (settings files\n"
           "                       do not keep it); it stays on afterwards\n"
           "  --output FILE.qxd    the data file written\n" +
           kExitCodesHelp;
}

int RunCapture(const CaptureOptions& options, UsbLink& link, std::span<const std::uint8_t> fpgaImage,
               bool placeholderImage, std::ostream& err) {
    ConsoleDialogs dialogs(err);
    HeadlessScope scope(link, fpgaImage, placeholderImage, dialogs, options.programSettingsPath);
    std::string error;
    if (!options.settingsPath.empty())
        if (const int e = scope.LoadSettings(options.settingsPath, error); e != kExitOk) {
            err << "qx40cli: " << error << '\n';
            return e;
        }
    if (options.generatorOn && !scope.GeneratorOn(error)) {
        err << "qx40cli: " << error << '\n';
        return kExitUsage;
    }
    if (!scope.Open(error)) {
        err << "qx40cli: " << error << '\n';
        return kExitDevice;
    }

    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long long>(options.timeoutSeconds * 1000));
    const RunButton button = options.single ? RunButton::Single : RunButton::Run;
    scope.Press(button);
    int wanted = 1;
    while (wanted <= options.frames) {
        const bool got = scope.WaitFor([&] { return scope.FramesShown() >= wanted; }, deadline, error);
        if (!got) {
            err << "qx40cli: " << (error == "timeout" ? "no frame from the instrument in time" : error) << '\n';
            return error == "timeout" ? kExitTimeout : kExitDevice;
        }
        ++wanted;
        // A single shot stops the instrument; the next one needs SINGLE again.
        if (options.single && wanted <= options.frames) scope.Press(RunButton::Single);
    }
    // After a single shot the stop goes out before the link closes, so the
    // instrument is left stopped as the window leaves it.
    if (options.single && !scope.WaitSent(deadline, error)) {
        err << "qx40cli: " << (error == "timeout" ? "the instrument did not take the stop in time" : error) << '\n';
        return error == "timeout" ? kExitTimeout : kExitDevice;
    }
    scope.Stop();

    if (DataFileError e = WriteDataFile(options.outputPath, scope.MainRecord(), error); e != DataFileError::None) {
        err << "qx40cli: " << options.outputPath << ": " << error << '\n';
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace qx40
