#include "app/cli/record_command.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

#include "app/cli/cli_exit.h"
#include "app/cli/console_dialogs.h"
#include "app/cli/headless_scope.h"
#include "app/cli/help_texts.h"
#include "base/parse_number.h"
#include "recorder/recorder_session.h"
#include "recorder/recorder_texts.h"

namespace qx40 {
namespace {

using Clock = std::chrono::steady_clock;

constexpr double kMaxSeconds = 1e8;            // three years
constexpr std::int64_t kMaxBytes = 1LL << 50;  // a petabyte

int Refuse(std::ostream& err, const std::string& problem) {
    err << "qx40cli: record: " << problem << '\n';
    return kExitUsage;
}

// The recorder's boxes for a script: its questions are answered Yes (the
// script named the file and asked for the stop); every other box is one
// line, and an error is counted.
class RecordDialogs : public UserDialogs {
public:
    explicit RecordDialogs(std::ostream& err) : err_(err) {}
    MessageAnswer Show(const UserMessage& m) override {
        if (m.buttons == MessageButtons::YesNo) return MessageAnswer::Yes;
        err_ << "qx40cli: record: " << ConsoleDialogs::OneLine(m.text) << '\n';
        if (m.icon == MessageIcon::Error) ++errors;
        return MessageAnswer::Ok;
    }
    std::optional<std::string> ChooseFile(const FileRequest&) override { return std::nullopt; }
    std::optional<std::uint32_t> ChooseColour(std::uint32_t, const std::string&) override { return std::nullopt; }

    int errors = 0;

private:
    std::ostream& err_;
};

// The bytes written and the time so far, rewritten in place a few times a
// second; the line ends when the recording does.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, bool on) : err_(err), on_(on) {}
    ~ProgressLine() {
        if (shown_) err_ << '\n';
    }
    void Show(std::uint64_t bytes, std::int64_t seconds) {
        const auto now = Clock::now();
        if (!on_ || (shown_ && now - last_ < std::chrono::milliseconds(250))) return;
        last_ = now;
        shown_ = true;
        err_ << "\rqx40cli: record: " << GroupedCount(bytes) << " bytes, " << ElapsedText(seconds)
             << std::flush;
    }

private:
    std::ostream& err_;
    bool on_;
    bool shown_ = false;
    Clock::time_point last_{};
};

std::string DeviceFailure(const std::string& error) {
    return error == "timeout" ? "no frame from the instrument in time" : error;
}

}  // namespace

std::string RecordHelp() {
    return std::string(
               "usage: qx40cli record [--device DEV] [--ini FILE] [--settings FILE.qxs]\n"
               "                      (--seconds S | --bytes N) [--lang en|ru] [--generator-on]\n"
               "                      [--timeout SECONDS] [--fpga-image PATH] --output FILE.bin\n"
               "Records A1 in roll mode as the window's recorder does: one byte per sample,\n"
               "two with peak detect, and beside the data file a .txt that describes them.\n"
               "SIGINT or SIGTERM stops the recording as the Stop button does.\n") +
           kDeviceOptionsHelp +
           "  --settings FILE.qxs  a user settings file; it must give roll mode (0.1 to\n"
           "                       20 S/div, no trigger source)\n"
           "  --seconds S          record for S seconds\n"
           "  --bytes N            record N bytes\n"
           "  --lang en|ru         the language of the text file (default en)\n"
           "  --generator-on       the generator output on (settings files do not keep it)\n"
           "  --timeout SECONDS    how long to wait for the first frame (default 10)\n"
           "  --output FILE.bin    the data file; an existing one is replaced, and so is\n"
           "                       the text file, FILE.txt\n"
           "A progress line goes to stderr when it is a terminal. Losing the instrument\n"
           "keeps every byte received and writes the text file (exit code 3).\n" +
           kExitCodesHelp;
}

int ParseRecordOptions(const std::vector<std::string>& args, RecordOptions& o, std::ostream& err) {
    std::string seconds, bytes, lang, timeout;
    const std::pair<std::string_view, std::string*> values[] = {
        {"--device", &o.device},     {"--fpga-image", &o.fpgaImagePath},
        {"--ini", &o.iniPath},       {"--settings", &o.settingsPath},
        {"--seconds", &seconds},     {"--bytes", &bytes},
        {"--lang", &lang},           {"--timeout", &timeout},
        {"--output", &o.outputPath},
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--generator-on") {
            o.generatorOn = true;
            continue;
        }
        const auto option = std::find_if(std::begin(values), std::end(values),
                                         [&](const auto& v) { return v.first == args[i]; });
        if (option == std::end(values)) return Refuse(err, "unknown option " + args[i]);
        if (i + 1 >= args.size()) return Refuse(err, args[i] + " needs a value");
        *option->second = args[++i];
    }
    if (seconds.empty() == bytes.empty()) return Refuse(err, "needs --seconds S or --bytes N");
    if (!seconds.empty()) {
        const std::optional<double> s = ParseDecimal(seconds, 0.001, kMaxSeconds);
        if (!s) return Refuse(err, "--seconds needs seconds from 0.001 to 100000000");
        o.seconds = *s;
    }
    if (!bytes.empty()) {
        const std::optional<std::int64_t> n = ParseInteger(bytes, 1, kMaxBytes);
        if (!n) return Refuse(err, "--bytes needs a number from 1 to " + std::to_string(kMaxBytes));
        o.bytes = static_cast<std::uint64_t>(*n);
    }
    if (!lang.empty() && lang != "en" && lang != "ru") return Refuse(err, "--lang needs en or ru");
    o.russian = lang == "ru";
    if (!timeout.empty()) {
        const std::optional<double> t = ParseDecimal(timeout, 0.001, 86400);
        if (!t) return Refuse(err, "--timeout needs seconds from 0.001 to 86400");
        o.timeoutSeconds = *t;
    }
    if (o.outputPath.empty()) return Refuse(err, "--output FILE.bin is needed");
    return kExitOk;
}

int RunRecord(const RecordOptions& o, UsbLink& link, std::span<const std::uint8_t> fpgaImage,
              bool placeholderImage, const std::function<bool()>& stopRequested,
              std::ostream& err) {
    ConsoleDialogs console(err);
    HeadlessScope scope(link, fpgaImage, placeholderImage, console, o.programSettingsPath);
    std::string error;
    if (!o.settingsPath.empty())
        if (const int e = scope.LoadSettings(o.settingsPath, error); e != kExitOk) {
            err << "qx40cli: " << error << '\n';
            return e;
        }
    if (o.generatorOn && !scope.GeneratorOn(error)) {
        err << "qx40cli: " << error << '\n';
        return kExitUsage;
    }
    if (!scope.Model().derived.RollActive) {
        err << "qx40cli: " << RecorderCaption(false) << ": " << RecorderRefusalText(false) << '\n';
        return kExitUsage;
    }
    if (!scope.Open(error)) {
        err << "qx40cli: " << error << '\n';
        return kExitDevice;
    }

    // The information of the recording is that of the frames it takes.
    scope.Press(RunButton::Run);
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(static_cast<long long>(o.timeoutSeconds * 1000));
    bool stopped = false;
    if (!scope.WaitFor([&] { return scope.FramesShown() >= 1 || (stopped = stopRequested()); },
                       deadline, error)) {
        err << "qx40cli: " << DeviceFailure(error) << '\n';
        return error == "timeout" ? kExitTimeout : kExitDevice;
    }
    if (scope.FramesShown() < 1) {
        err << "qx40cli: record: stopped before the first frame came; nothing was written\n";
        return kExitTimeout;
    }

    RecordDialogs dialogs(err);
    RecorderSession recorder(scope.Shared().flags.RecorderActive);
    const FrameInfo& info = scope.MainRecord().Info;
    recorder.Show(std::filesystem::path(o.outputPath).parent_path().string(), info, o.russian, '.');
    recorder.SetFile(o.outputPath, info);
    if (!recorder.Start(info, dialogs)) {
        if (dialogs.errors == 0)
            err << "qx40cli: record: the instrument's frames have no sample interval\n";
        return dialogs.errors ? kExitFile : kExitDevice;
    }
    const std::uint64_t limit = o.bytes ? o.bytes : UINT64_MAX;
    scope.Session().SetRecorderSink([&](std::span<const std::uint8_t> bytes, std::uint64_t lost) {
        // Bytes past the size asked for are not wanted: no gap then either.
        const std::uint64_t room = limit - recorder.Total();
        if (bytes.size() > room) bytes = bytes.first(static_cast<std::size_t>(room)), lost = 0;
        recorder.Write(bytes, lost);
    });

    const auto started = Clock::now();
    const auto end =
        o.seconds > 0 ? started + std::chrono::microseconds(static_cast<long long>(o.seconds * 1e6))
                      : Clock::time_point::max();
    bool connected = true;
    {
        ProgressLine progress(err, o.progress);
        connected = scope.WaitFor(
            [&] {
                const auto now = Clock::now();
                recorder.Tick(dialogs);  // the flush each second; a failed write ends here
                progress.Show(
                    recorder.Total(),
                    std::chrono::duration_cast<std::chrono::seconds>(now - started).count());
                return !recorder.Recording() || recorder.Total() >= limit || now >= end ||
                       stopRequested();
            },
            Clock::time_point::max(), error);
    }
    // Stopped as the Stop button does: the data file closed, its text written.
    recorder.Stop(dialogs);
    scope.Session().SetRecorderSink({});
    scope.Stop();
    if (!connected) {
        err << "qx40cli: " << DeviceFailure(error) << "; " << recorder.Total()
            << " bytes were kept\n";
        return kExitDevice;
    }
    return dialogs.errors ? kExitFile : kExitOk;
}

}  // namespace qx40
