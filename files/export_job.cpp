#include "files/export_job.h"

#include <algorithm>

#include "files/companion_file.h"
#include "scope/scope_state.h"

namespace qx40 {

std::string ExportChannelName(Channel channel, std::int32_t modelCode) {
    switch (channel) {
        case kA1:
            return HasFeature(modelCode, feature::kSecondAnalog) ? "A1" : "A";
        case kA2:
            return "A2";
        case kD1:
            return HasFeature(modelCode, feature::kSecondDigital) ? "D1" : "D";
        case kD2:
            return "D2";
    }
    return {};
}

std::int32_t ExportPointCount(const SampleRecord& record) {
    return std::clamp(record.Info[fi::ValidPoints], 0, static_cast<std::int32_t>(kRecordSlots));
}

bool HasExportData(const SampleRecord& record, std::int32_t mask) {
    return ExportPointCount(record) > 0 && (record.Info[fi::Channels] & mask & 0xF) != 0;
}

std::optional<UserMessage> ExportResultMessage(const ExportResult& result, const std::string& title,
                                               bool russian) {
    switch (result.status) {
        case ExportStatus::Written:
            return std::nullopt;
        case ExportStatus::NoData:
            return UserMessage{title, Tr(russian, "No data for writing.", "Нет данных для записи."),
                               MessageIcon::Error};
        case ExportStatus::CantWrite:
            return UserMessage{result.caption.empty() ? title : result.caption,
                               CantWriteText(result.failedPath, russian), MessageIcon::Error};
    }
    return std::nullopt;
}

}  // namespace qx40
