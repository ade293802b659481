#include "app/cli/screenshot_command.h"

#include <QBuffer>
#include <QImage>

#include "app/cli/capture_command.h"
#include "app/cli/console_dialogs.h"
#include "app/cli/headless_scope.h"
#include "device/apply_operations.h"
#include "scope/model_features.h"
#include "display/screen_renderer.h"
#include "files/data_file.h"
#include "files/file_io.h"
#include "files/settings_file.h"

namespace qx40 {
namespace {

// The window's screen of a record under a state: the display step's drawing
// with nothing being dragged and no link statistics.
bool Render(const ScopeModel& model, const SampleRecord& main, const ScreenshotOptions& o, std::ostream& err) {
    SampleRecord background;
    ScreenInput in{model.state, model.derived, main, background};
    in.Geometry = ComputeScreenGeometry(o.width, o.height);
    in.SpectrumNewData = true;
    QImage image(o.width, o.height, QImage::Format_RGB32);
    ScreenRenderer renderer;
    renderer.Render(in, image);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    std::string error;
    if (!image.save(&buffer, "BMP") ||
        !WriteFileAtomically(o.outputPath, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                             error)) {
        err << "qx40cli: " << o.outputPath << ": " << (error.empty() ? "cannot encode the image" : error) << '\n';
        return false;
    }
    return true;
}

bool ApplySettingsFile(const std::string& path, ScopeState& state, std::ostream& err) {
    const SettingsRefusal refusal = ReadSettings(path, SettingsKind::User, state);
    if (refusal == SettingsRefusal::None) return true;
    err << "qx40cli: " << ConsoleDialogs::OneLine(SettingsRefusalMessage(refusal, path, false).text) << '\n';
    return false;
}

}  // namespace

int RunScreenshot(const ScreenshotOptions& o, UsbLink* link, std::span<const std::uint8_t> fpgaImage,
                  bool placeholderImage, std::ostream& err) {
    if (!o.inputPath.empty()) {
        ScopeModel model;
        ReadSettings("", SettingsKind::Program, model.state);  // the program's defaults
        model.state.Common.Russian = false;
        SampleRecord main;
        if (const DataFileError e = ReadDataFile(o.inputPath, main); e != DataFileError::None) {
            err << "qx40cli: " << ConsoleDialogs::OneLine(DataFileMessage(e, o.inputPath, false).text) << '\n';
            return kExitFile;
        }
        // The window takes the file's model when it differs.
        model.state.System.Device_Type_Code = main.Info[fi::DeviceTypeCode];
        if (!o.settingsPath.empty() && !ApplySettingsFile(o.settingsPath, model.state, err)) return kExitFile;
        ApplyModelFeatures(model.state);
        RecordLevels background;
        SharedLink shared;
        ApplySettings(model, background, shared);
        return Render(model, main, o, err) ? kExitOk : kExitFile;
    }

    ConsoleDialogs dialogs(err);
    HeadlessScope scope(*link, fpgaImage, placeholderImage, dialogs);
    std::string error;
    if (!o.settingsPath.empty() && !scope.LoadSettings(o.settingsPath, error)) {
        err << "qx40cli: " << error << '\n';
        return kExitFile;
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
    return Render(scope.Model(), scope.MainRecord(), o, err) ? kExitOk : kExitFile;
}

}  // namespace qx40
