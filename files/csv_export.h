// The CSV export, for spreadsheets, pandas and numpy: one row per point,
// time in seconds from the trigger point, analog channels in volts, digital
// ones as 0 or 1. Columns "time_s", then "A1_V", "A2_V", "D1", "D2" for the
// channels present ("_min" and "_max" pairs with peak detect); an empty slot
// is an empty cell. Always "." as the decimal point, LF line ends.
#pragma once

#include <string>

#include "files/export_job.h"

namespace qx40 {

std::string CsvExportContent(const SampleRecord& record);

// NoData when the record has no points or no channel; else writes the file
// under a temporary name and renames it over the target.
ExportResult WriteCsvExport(const ExportJob& job);

}  // namespace qx40
