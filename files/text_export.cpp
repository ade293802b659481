#include "files/text_export.h"

#include "base/value_format.h"
#include "files/file_io.h"
#include "scope/scope_state.h"

namespace qx40 {

std::string TimeStepText(const FrameInfo& info, char decimalSeparator) {
    return FormatValue(info[fi::Divider] * 10.0, ValueKind::Time, -4, decimalSeparator);
}

std::string VoltageStepText(std::int32_t microVoltsPerDiv, char decimalSeparator) {
    return FormatValue(microVoltsPerDiv * 0.03125, ValueKind::Voltage, -4, decimalSeparator);
}

std::string TextExportContent(const SampleRecord& record, std::int32_t modelCode,
                              char decimalSeparator) {
    const FrameInfo& info = record.Info;
    const std::int32_t mask = info[fi::Channels];
    const bool peak = info[fi::PeakDetect] == 1;
    // Without A2 the labels name no channel.
    const bool twoAnalog = HasFeature(modelCode, feature::kSecondAnalog);

    std::string out = "Oscilloscope data. \r\n";
    out += "Time step = " + TimeStepText(info, decimalSeparator) + "\r\n";
    if (mask & 1) {
        out += (twoAnalog ? "Voltage step A1 = " : "Voltage step = ") +
               VoltageStepText(info[fi::VoltsDivA1], decimalSeparator) + "\r\n";
        out += (twoAnalog ? "Zero level A1 = " : "Zero level = ") +
               std::to_string(info[fi::ZeroA1]) + "\r\n";
    }
    if (mask & 2) {
        out +=
            "Voltage step A2 = " + VoltageStepText(info[fi::VoltsDivA2], decimalSeparator) + "\r\n";
        out += "Zero level A2 = " + std::to_string(info[fi::ZeroA2]) + "\r\n";
    }
    out += "\r\nN";
    for (std::size_t c = 0; c < kChannelCount; ++c)
        if (mask & (1 << c))
            out += "\t" + ExportChannelName(static_cast<Channel>(c), modelCode) +
                   (peak ? "(min,max)" : "");
    out += "\r\n\r\n";

    const std::int32_t count = ExportPointCount(record);
    for (std::int32_t i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        out += std::to_string(i);
        for (std::size_t c = 0; c < kChannelCount; ++c) {
            if (!(mask & (1 << c))) continue;
            out += '\t';
            out += std::to_string(record.Min[c][at]);
            if (peak) {
                out += ", ";
                out += std::to_string(record.Max[c][at]);
                out += '\t';
            }
        }
        out += "\r\n";
    }
    return out;
}

ExportResult WriteTextExport(const ExportJob& job) {
    if (!HasExportData(job.record, 0xF)) return {ExportStatus::NoData};
    ExportResult result;
    if (!WriteFileAtomically(job.path,
                             TextExportContent(job.record, job.modelCode, job.decimalSeparator),
                             result.reason)) {
        result.status = ExportStatus::CantWrite;
        result.failedPath = job.path;
    }
    return result;
}

}  // namespace qx40
