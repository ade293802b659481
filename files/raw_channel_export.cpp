#include "files/raw_channel_export.h"

#include "files/companion_file.h"
#include "files/file_io.h"
#include "files/text_export.h"

namespace qx40 {
namespace {

bool IsSample(std::int32_t v) {
    return v >= 0 && v <= 254;
}

}  // namespace

std::string RawChannelBytes(const SampleRecord& record, Channel channel) {
    const bool peak = record.Info[fi::PeakDetect] == 1;
    const std::int32_t count = ExportPointCount(record);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(count) * (peak ? 2 : 1));
    for (std::int32_t i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!IsSample(record.Min[channel][at])) break;
        bytes.push_back(static_cast<char>(record.Min[channel][at]));
        if (!peak) continue;
        if (!IsSample(record.Max[channel][at])) break;
        bytes.push_back(static_cast<char>(record.Max[channel][at]));
    }
    return bytes;
}

std::string RawCompanionText(const SampleRecord& record, Channel channel,
                             const std::string& binaryPath, char decimalSeparator) {
    const FrameInfo& info = record.Info;
    std::string out = "Oscilloscope binary file = " + FileNameOf(binaryPath) + "\r\n";
    out += "Time step = " + TimeStepText(info, decimalSeparator) + "\r\n";
    out += info[fi::PeakDetect] == 1 ? "Peak detector on, bytes per sample = 2"
                                     : "Peak detector off, bytes per sample = 1";
    out += "\r\n";
    if (channel == kA1 || channel == kA2) {
        const bool a1 = channel == kA1;
        out += "Voltage step = " +
               VoltageStepText(info[a1 ? fi::VoltsDivA1 : fi::VoltsDivA2], decimalSeparator);
        out +=
            "\r\nZero level = " + std::to_string(info[a1 ? fi::ZeroA1 : fi::ZeroA2]) + "\r\n\r\n";
    }
    return out;
}

ExportResult WriteRawChannelExport(const ExportJob& job, Channel channel) {
    if (!HasExportData(job.record, 1 << channel)) return {ExportStatus::NoData};
    ExportResult result;
    if (!WriteFileAtomically(job.path, RawChannelBytes(job.record, channel), result.reason)) {
        result.status = ExportStatus::CantWrite;
        result.failedPath = job.path;
        return result;
    }
    const std::string companion = CompanionPath(job.path, ".txt");
    const std::string caption =
        Tr(job.russian, "Save Text For Row Binary", "Сохранение сопутствующего текстового файла");
    if (!MayReplace(job.dialogs, caption, companion, job.russian)) return result;
    if (!WriteFileAtomically(companion,
                             RawCompanionText(job.record, channel, job.path, job.decimalSeparator),
                             result.reason)) {
        result.status = ExportStatus::CantWrite;
        result.failedPath = companion;
        result.caption = caption;
    }
    return result;
}

std::string RawChannelTitle(Channel channel, bool russian, std::int32_t modelCode) {
    return Tr(russian, "Save Row Binary (CH ", "Сохранение двоичного файла (канал ") +
           ExportChannelName(channel, modelCode) + ")";
}

}  // namespace qx40
