// The text table export: a short header with the time and voltage steps,
// then one row per point with the value of every channel the record holds.
// CR LF line ends.
#pragma once

#include <string>

#include "files/export_job.h"

namespace qx40 {

// The file's content. Empty slots are written as the empty-sample value.
std::string TextExportContent(const SampleRecord& record, std::int32_t modelCode,
                              char decimalSeparator);

// NoData when the record has no points or no channel; else writes the file
// under a temporary name and renames it over the target.
ExportResult WriteTextExport(const ExportJob& job);

// "Time step = " and the file headers share these.
std::string TimeStepText(const FrameInfo& info, char decimalSeparator);
std::string VoltageStepText(std::int32_t microVoltsPerDiv, char decimalSeparator);

}  // namespace qx40
