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

// Sets the reserved words (33..38) to -1 and the checksum (word 40) of
// record.Info, then writes the file (under a temporary name, renamed over
// the target). On failure the reason is in error.
DataFileError WriteDataFile(const std::string& path, SampleRecord& record, std::string& error);

// Loads into record. A file with a wrong magic leaves record as it was;
// from the checksum test on, a failure leaves record cleared. A file that
// ends early loads up to its end.
DataFileError ReadDataFile(const std::string& path, SampleRecord& record);
// The same on a file's bytes.
DataFileError ParseDataFile(std::string_view data, SampleRecord& record);

// The message for a failed open or save, in the language asked for.
MessageText DataFileMessage(DataFileError error, const std::string& path, bool russian);

std::int32_t FrameInfoChecksum(const FrameInfo& info);

}  // namespace qx40
