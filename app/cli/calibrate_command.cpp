#include "app/cli/calibrate_command.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "app/cli/cli_exit.h"
#include "app/cli/console_dialogs.h"
#include "app/cli/headless_scope.h"
#include "app/cli/help_texts.h"
#include "base/parse_number.h"
#include "calibration/calibration_texts.h"
#include "calibration/tdc_calibration.h"
#include "calibration/zero_calibration.h"
#include "files/file_io.h"
#include "files/ini_document.h"
#include "files/settings_file.h"
#include "scope/model_features.h"

namespace qx40 {
namespace {

constexpr std::int32_t kTimeRange = 250;  // Time: -250..250 steps of 0.2 ppm

int Refuse(std::ostream& err, const std::string& problem) {
    err << "qx40cli: calibrate: " << problem << '\n';
    return kExitUsage;
}

// The keys into section Calibrate of the program settings file. A file that
// exists but cannot be read is not replaced.
int WriteCalibrateKeys(const std::string& path, const std::vector<IniValue>& values, std::ostream& err) {
    std::string text, error;
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && !ReadWholeFile(path, text)) {
        err << "qx40cli: " << path << ": cannot be read\n";
        return kExitFile;
    }
    if (!WriteFileAtomically(path, UpdateIniText(text, "Calibrate", values), error)) {
        err << "qx40cli: " << path << ": " << error << '\n';
        return kExitFile;
    }
    return kExitOk;
}

void PrintValues(const std::vector<IniValue>& values, std::ostream& out) {
    for (const IniValue& v : values) out << v.key << '=' << v.value << '\n';
}

std::vector<IniValue> ZeroValues(const CalibrateSection& c, bool twoChannels) {
    std::vector<IniValue> values = {
        {"Z_A1P1", std::to_string(c.Z_A1P1)}, {"Z_A1P2", std::to_string(c.Z_A1P2)}, {"Z_A1SH", std::to_string(c.Z_A1SH)}};
    if (twoChannels)
        values.insert(values.end(), {{"Z_A2P1", std::to_string(c.Z_A2P1)},
                                     {"Z_A2P2", std::to_string(c.Z_A2P2)},
                                     {"Z_A2SH", std::to_string(c.Z_A2SH)}});
    return values;
}

std::vector<IniValue> TdcValues(const TdcSteps& steps) {
    const char* keys[] = {"TDC_D1_RISE", "TDC_D1_FALL", "TDC_D2_RISE", "TDC_D2_FALL"};
    std::vector<IniValue> values;
    for (std::size_t i = 0; i < steps.size(); ++i) values.push_back({keys[i], std::to_string(steps[i])});
    return values;
}

std::string Failure(const std::string& error, const char* timeoutText) {
    return error == "timeout" ? timeoutText : error;
}

int FailureExit(const std::string& error) { return error == "timeout" ? kExitTimeout : kExitDevice; }

}  // namespace

std::string CalibrateHelp() {
    return std::string(
               "usage: qx40cli calibrate zero [--device DEV] [--ini PATH] [--timeout SECONDS] [--fpga-image PATH]\n"
               "       qx40cli calibrate tdc [--device DEV] [--ini PATH] [--timeout SECONDS] [--fpga-image PATH]\n"
               "       qx40cli calibrate fm --ppm-steps N [--ini PATH]\n"
               "zero: with nothing connected to the inputs, measures where the zero lines lie and\n"
               "      writes Z_A1P1 .. Z_A2SH into the program settings file (A1 only on a\n"
               "      single-channel instrument).\n"
               "tdc:  with the generator output wired to D1 and D2, measures the TDC steps of each\n"
               "      channel and edge and stores them in the instrument (20 for D2 without it).\n"
               "fm:   sets the frequency meter's correction, Time, in the program settings file.\n"
               "The results are printed as KEY=VALUE lines; the rest of the file stays as it is.\n") +
           kDeviceOptionsHelp +
           "  --ini PATH           the program settings file (default: the window's)\n"
           "  --timeout SECONDS    how long the calibration may take (default 60)\n"
           "  --ppm-steps N        -250 to 250 steps of 0.2 ppm (+-50 ppm)\n" +
           kExitCodesHelp;
}

int ParseCalibrateOptions(const std::vector<std::string>& args, CalibrateOptions& o, std::ostream& err) {
    if (args.empty()) return Refuse(err, "zero, tdc or fm is needed");
    if (args[0] == "zero")
        o.kind = CalibrateKind::Zero;
    else if (args[0] == "tdc")
        o.kind = CalibrateKind::Tdc;
    else if (args[0] == "fm")
        o.kind = CalibrateKind::Fm;
    else
        return Refuse(err, "unknown calibration " + args[0] + " (zero, tdc or fm)");
    const bool fm = o.kind == CalibrateKind::Fm;
    std::string timeout, ppm;
    bool ppmGiven = false;
    const std::pair<std::string_view, std::string*> instrumentOptions[] = {
        {"--device", &o.device}, {"--fpga-image", &o.fpgaPath}, {"--ini", &o.iniPath}, {"--timeout", &timeout}};
    const std::pair<std::string_view, std::string*> fmOptions[] = {{"--ppm-steps", &ppm}, {"--ini", &o.iniPath}};
    using Options = std::span<const std::pair<std::string_view, std::string*>>;
    const Options known = fm ? Options(fmOptions) : Options(instrumentOptions);
    for (std::size_t i = 1; i < args.size(); ++i) {
        const auto option =
            std::find_if(known.begin(), known.end(), [&](const auto& v) { return v.first == args[i]; });
        if (option == known.end()) return Refuse(err, "unknown option " + args[i]);
        if (i + 1 >= args.size()) return Refuse(err, args[i] + " needs a value");
        *option->second = args[++i];
        if (option->second == &ppm) ppmGiven = true;
    }
    if (o.iniPath.empty()) return Refuse(err, "--ini needs a file");
    if (!timeout.empty()) {
        const std::optional<double> t = ParseDecimal(timeout, 0.001, 86400);
        if (!t) return Refuse(err, "--timeout needs seconds from 0.001 to 86400");
        o.timeoutSeconds = *t;
    }
    if (fm) {
        if (!ppmGiven) return Refuse(err, "fm needs --ppm-steps N");
        const std::optional<std::int64_t> n = ParseInteger(ppm, -kTimeRange, kTimeRange);
        if (!n) return Refuse(err, "--ppm-steps needs a number from -250 to 250");
        o.ppmSteps = static_cast<std::int32_t>(*n);
    }
    return kExitOk;
}

int RunCalibrateFm(const CalibrateOptions& o, std::ostream& out, std::ostream& err) {
    const std::vector<IniValue> values = {{"Time", std::to_string(o.ppmSteps)}};
    if (const int e = WriteCalibrateKeys(o.iniPath, values, err); e != kExitOk) return e;
    PrintValues(values, out);
    return kExitOk;
}

int RunCalibrate(const CalibrateOptions& o, UsbLink& link, std::span<const std::uint8_t> fpgaImage,
                 bool placeholderImage, std::ostream& out, std::ostream& err) {
    ConsoleDialogs dialogs(err);
    HeadlessScope scope(link, fpgaImage, placeholderImage, dialogs);
    ScopeSession& session = scope.Session();
    ScopeState& state = session.State();
    // The window's settings: the calibration in force and the acquisition
    // choices the procedures keep (the frame rate).
    ReadSettings(o.iniPath, SettingsKind::Program, state);
    state.Common.Russian = false;
    ApplyModelFeatures(state);
    session.ApplySettings();

    std::string error;
    if (!scope.Open(error)) {
        err << "qx40cli: " << error << '\n';
        return kExitDevice;
    }
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long long>(o.timeoutSeconds * 1000));
    if (!scope.WaitFor([&] { return bool(session.Shared().flags.DeviceInfoValid); }, deadline, error)) {
        err << "qx40cli: "
            << (error == "timeout" ? ConsoleDialogs::OneLine(DeviceNotFoundMessage(false).text) : error) << '\n';
        return kExitDevice;
    }
    // The instrument's own model decides which channels there are.
    if (const std::int32_t reported = session.ReportedModelCode(); reported != state.System.Device_Type_Code) {
        state.System.Device_Type_Code = reported;
        ApplyModelFeatures(state);
        session.ApplySettings();
    }

    const ScopeSession::BusyHold busy(session);
    ZeroCalibration zero(session);
    TdcCalibration tdc(session);
    CalibrationProcedure& procedure =
        o.kind == CalibrateKind::Tdc ? static_cast<CalibrationProcedure&>(tdc) : static_cast<CalibrationProcedure&>(zero);
    const char* name = o.kind == CalibrateKind::Tdc ? "tdc" : "zero";
    session.SetFrameObserver([&](const SampleRecord& frame) {
        procedure.OnFrame(frame);
        if (o.progress && procedure.Measuring())
            err << "\rqx40cli: calibrate " << name << ": " << procedure.Progress() << '/'
                << procedure.ProgressMaximum() << " frames" << std::flush;
    });
    procedure.Start();
    const bool ended = scope.WaitFor([&] { return !procedure.Measuring(); }, deadline, error);
    session.SetFrameObserver({});
    if (o.progress) err << '\n';
    if (!ended) {
        procedure.Abort();
        err << "qx40cli: " << Failure(error, "no frame from the instrument in time") << '\n';
        return FailureExit(error);
    }
    if (procedure.Phase() != CalibrationPhase::Done) {
        err << "qx40cli: " << CalibrationFailedText(false) << '\n';
        return kExitCalibration;
    }

    if (o.kind == CalibrateKind::Tdc) {
        session.RequestTdcWrite(tdc.Measured());
        session.ApplyAndRestart();
    }
    // The front end's own settings (with the TDC segment) go out before the
    // link closes and anything is written.
    const LinkFlags& flags = session.Shared().flags;
    if (!scope.WaitFor([&] { return !flags.SettingsDirty && !flags.TdcWriteRequest; }, deadline, error)) {
        err << "qx40cli: " << Failure(error, "the instrument did not take the settings in time") << '\n';
        return FailureExit(error);
    }
    const std::vector<IniValue> values =
        o.kind == CalibrateKind::Tdc ? TdcValues(tdc.Measured()) : ZeroValues(state.Calibrate, zero.TwoChannels());
    if (o.kind == CalibrateKind::Zero) {
        if (const int e = WriteCalibrateKeys(o.iniPath, values, err); e != kExitOk) return e;
    }
    scope.Stop();
    PrintValues(values, out);
    return kExitOk;
}

}  // namespace qx40
