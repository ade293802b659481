#include "app/cli/file_screen.h"

#include <fstream>

#include "app/cli/capture_command.h"
#include "app/cli/console_dialogs.h"
#include "device/apply_operations.h"
#include "display/screen_renderer.h"
#include "files/data_file.h"
#include "files/settings_file.h"
#include "scope/model_features.h"

namespace qx40 {

int LoadFileScreen(const std::string& inputPath, const std::string& settingsPath, FileScreen& out,
                   std::ostream& err) {
    ScopeModel& model = out.model;
    ReadSettings("", SettingsKind::Program, model.state);  // the program's defaults
    model.state.Common.Russian = false;
    if (const DataFileError e = ReadDataFile(inputPath, out.main); e != DataFileError::None) {
        err << "qx40cli: " << ConsoleDialogs::OneLine(DataFileMessage(e, inputPath, false).text)
            << '\n';
        return kExitFile;
    }
    // The window takes the file's model when it differs.
    model.state.System.Device_Type_Code = out.main.Info[fi::DeviceTypeCode];
    if (!settingsPath.empty()) {
        if (!std::ifstream(settingsPath)) {
            err << "qx40cli: " << settingsPath << ": file not found\n";
            return kExitFile;
        }
        const SettingsRefusal refusal = ReadSettings(settingsPath, SettingsKind::User, model.state);
        if (refusal != SettingsRefusal::None) {
            err << "qx40cli: "
                << ConsoleDialogs::OneLine(
                       SettingsRefusalMessage(refusal, settingsPath, false).text)
                << '\n';
            return kExitUsage;
        }
    }
    ApplyModelFeatures(model.state);
    RecordLevels background;
    SharedLink shared;
    ApplySettings(model, background, shared);
    return kExitOk;
}

QImage RenderScreen(const ScopeModel& model, const SampleRecord& main, int width, int height) {
    const SampleRecord background;
    ScreenInput in{model.state, model.derived, main, background};
    in.Geometry = ComputeScreenGeometry(width, height);
    in.SpectrumNewData = true;
    QImage image(width, height, QImage::Format_RGB32);
    ScreenRenderer renderer;
    renderer.Render(in, image);
    return image;
}

}  // namespace qx40
