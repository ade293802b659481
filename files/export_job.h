// What every export writer takes and returns. A writer turns the main record
// into one file (and perhaps a companion), asks its questions through
// dialogs, and reports the outcome; the caller turns a failure into a
// message box (ExportResultMessage) or a line on the error stream.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/user_dialogs.h"
#include "device/sample_record.h"

namespace qx40 {

struct ExportJob {
    std::string path;  // the file chosen
    const SampleRecord& record;
    UserDialogs& dialogs;         // answers "replace the companion?"
    std::int32_t modelCode = 0;   // names the channels ("A" and "D" without a second one)
    bool russian = false;         // language of the questions and messages
    char decimalSeparator = '.';  // of the user's locale, for values with units in text exports
};

enum class ExportStatus { Written, NoData, CantWrite };

struct ExportResult {
    ExportResult(ExportStatus s = ExportStatus::Written) : status(s) {}

    ExportStatus status;
    std::string failedPath;  // CantWrite: the file that could not be written
    std::string reason;      // CantWrite: why, from the system
    // CantWrite of a companion file (the export itself is written): the
    // caption of its box, in place of the export's title.
    std::string caption;
};

// "A1" or "A", "D1" or "D" by the model's second channels; "A2" and "D2".
std::string ExportChannelName(Channel channel, std::int32_t modelCode);

// The valid points of the record, never more than its buffers hold.
std::int32_t ExportPointCount(const SampleRecord& record);
// Points to write and at least one of the channels in mask present.
bool HasExportData(const SampleRecord& record, std::int32_t mask);

// The error box for a result (caption: the export's dialog title); nothing
// when the export was written.
std::optional<UserMessage> ExportResultMessage(const ExportResult& result, const std::string& title,
                                               bool russian);

}  // namespace qx40
