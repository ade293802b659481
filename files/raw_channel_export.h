// The raw export of one channel: its sample bytes alone (one per point, two
// with peak detect, minimum first), and beside it a text file with the
// steps that turn them into time and voltage.
#pragma once

#include <string>

#include "files/export_job.h"

namespace qx40 {

// The bytes, up to the first empty slot.
std::string RawChannelBytes(const SampleRecord& record, Channel channel);

// The companion text file's content for the binary file binaryPath.
std::string RawCompanionText(const SampleRecord& record, Channel channel,
                             const std::string& binaryPath, char decimalSeparator);

// NoData when the record has no points or not this channel. Else writes the
// binary file, then the companion (the path with ".txt"), asking before it
// replaces an existing one; a declined question keeps the old companion.
ExportResult WriteRawChannelExport(const ExportJob& job, Channel channel);

// "Save Row Binary (CH A1)", the channel named by the model.
std::string RawChannelTitle(Channel channel, bool russian, std::int32_t modelCode);

}  // namespace qx40
