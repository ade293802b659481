#include "app/cli/export_command.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

#include "app/cli/cli_exit.h"
#include "app/cli/file_screen.h"
#include "app/cli/help_texts.h"
#include "base/parse_number.h"
#include "display/export_formats.h"
#include "display/picture_export.h"

namespace qx40 {
namespace {

// Questions are answered Yes: a script that names an output wants it written.
class ReplacingDialogs : public UserDialogs {
public:
    MessageAnswer Show(const UserMessage& m) override {
        return m.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    }
    std::optional<std::string> ChooseFile(const FileRequest&) override { return std::nullopt; }
    std::optional<std::uint32_t> ChooseColour(std::uint32_t, const std::string&) override { return std::nullopt; }
};

int Refuse(std::ostream& err, const std::string& problem) {
    err << "qx40cli: export: " << problem << '\n';
    return kExitUsage;
}

}  // namespace

std::string ExportHelp() {
    std::string help =
        "usage: qx40cli export --input FILE.qxd [--settings FILE.qxs] --format FORMAT [--size "
        "WxH]\n"
        "                      --output PATH\n"
        "Writes a data file in an export format, as the window's Export menu does. Existing\n"
        "files are replaced; channels are named by the file's model.\n"
        "  --input FILE.qxd     the data file\n"
        "  --settings FILE.qxs  a user settings file for the screen of the picture formats\n"
        "  --format FORMAT      one of\n";
    for (const ExportFormat& f : ExportFormats()) {
        std::string id(f.id);
        id.resize(std::max<std::size_t>(id.size(), 8), ' ');
        help += "                         " + id + " " + std::string(f.description) + "\n";
    }
    help +=
        "  --size WxH           the picture's size, each from 50 to 10000 (default 1280x720)\n"
        "  --output PATH        the file written; for bin:* the text file beside it is PATH\n"
        "                       with .txt\n";
    return help + kExitCodesHelp;
}

int ParseExportOptions(const std::vector<std::string>& args, ExportOptions& o, std::ostream& err) {
    std::string size;
    const std::pair<std::string_view, std::string*> values[] = {
        {"--input", &o.inputPath}, {"--settings", &o.settingsPath}, {"--format", &o.format},
        {"--size", &size},         {"--output", &o.outputPath},
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto option = std::find_if(std::begin(values), std::end(values),
                                         [&](const auto& v) { return v.first == args[i]; });
        if (option == std::end(values)) return Refuse(err, "unknown option " + args[i]);
        if (i + 1 >= args.size()) return Refuse(err, args[i] + " needs a value");
        *option->second = args[++i];
    }
    if (!size.empty()) {
        const std::optional<IntegerPair> wh = ParseIntegerPair(size, 50, 10000);
        if (!wh) return Refuse(err, "--size needs WxH, each from 50 to 10000");
        o.width = static_cast<int>(wh->first);
        o.height = static_cast<int>(wh->second);
    }
    if (o.inputPath.empty()) return Refuse(err, "--input FILE.qxd is needed");
    if (o.outputPath.empty()) return Refuse(err, "--output PATH is needed");
    const ExportFormat* format = FindExportFormat(o.format);
    if (!format) {
        std::string known;
        for (const ExportFormat& f : ExportFormats())
            known += (known.empty() ? "" : "|") + std::string(f.id);
        return Refuse(err, "--format needs one of " + known);
    }
    // A picture named for the other picture format would mislead every viewer.
    const auto wanted = PictureEncodingOf("x." + std::string(format->extension));
    const auto named = PictureEncodingOf(o.outputPath);
    if (wanted && named && wanted != named)
        return Refuse(err, "--format " + o.format + " does not write " + o.outputPath);
    return kExitOk;
}

int RunExport(const ExportOptions& o, std::ostream& err) {
    const ExportFormat* format = FindExportFormat(o.format);
    if (!format) return Refuse(err, "unknown format " + o.format);
    FileScreen screen;
    if (const int e = LoadFileScreen(o.inputPath, o.settingsPath, screen, err); e != kExitOk)
        return e;

    ReplacingDialogs dialogs;
    const std::int32_t model = screen.main.Info[fi::DeviceTypeCode];
    const ExportJob job{o.outputPath, screen.main, dialogs, model};
    const ExportResult result = format->write(
        job, [&] { return RenderScreen(screen.model, screen.main, o.width, o.height); });
    switch (result.status) {
        case ExportStatus::Written:
            return kExitOk;
        case ExportStatus::NoData:
            err << "qx40cli: " << o.inputPath << ": No data for writing. (" << format->id << ")\n";
            return kExitNoData;
        case ExportStatus::CantWrite:
            err << "qx40cli: " << result.failedPath << ": " << result.reason << '\n';
    }
    return kExitFile;
}

}  // namespace qx40
