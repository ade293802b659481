// Data files (.qxd): one record, its FrameInfo and the samples of every
// channel it holds. Layout: "QXD_QX40:" and a zero byte, the 41 FrameInfo
// words (little-endian, word 40 the sum of words 0..39), then per channel
// present (A1, A2, D1, D2) one byte per point from the minimum buffer,
// followed by one from the maximum buffer with peak detect. 255 marks an
// empty slot.
#pragma once

#include <string>
#include <string_view>

#include "device/sample_record.h"
#include "files/settings_file.h"

namespace qx40 {

enum class DataFileError { None, NotFound, InvalidFormat, OldVersion, CrcError, CantWrite };

// Writes record to the file (under a temporary name, renamed over the
// target), with the reserved words (33..38) as -1 and the checksum (word 40)
// of the words written. The record itself is not changed. On failure the
// reason is in error and the file on disk is as it was.
DataFileError WriteDataFile(const std::string& path, const SampleRecord& record,
                            std::string& error);

// Loads into record. Every failure (file missing, wrong magic, checksum,
// extent beyond the buffers) leaves record exactly as it was, so a bad file
// never costs the record on screen; only a file that passes those checks
// replaces it. A file that ends early inside the samples loads up to its
// end, the rest of the record empty.
DataFileError ReadDataFile(const std::string& path, SampleRecord& record);
// The same on a file's bytes.
DataFileError ParseDataFile(std::string_view data, SampleRecord& record);

// The message for a failed open or save, in the language asked for.
MessageText DataFileMessage(DataFileError error, const std::string& path, bool russian);

std::int32_t FrameInfoChecksum(const FrameInfo& info);

}  // namespace qx40
