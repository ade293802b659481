// The recorder's texts: the information box, the size and time read-out and
// the companion text file of a recording, in English or Russian.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/frame_info.h"

namespace qx40 {

struct RecorderInfoLines {
    std::vector<std::string> lines;
    bool ready = false;  // the record has a sample interval: a recording may start
};

// The information box for the record now shown (its sample interval, peak
// detect flag, A1 volts per division and zero), ending with an empty line.
RecorderInfoLines RecorderInfo(const FrameInfo& info, bool russian, char decimalSeparator);

// 1234567 -> "1 234 567": a blank before the last three digits and, for
// longer numbers, before the last six.
std::string GroupedCount(std::uint64_t count);

// Whole days, two blanks, then the rest as hours, minutes and seconds:
// 90000 s -> "1  01:00:00".
std::string ElapsedText(std::int64_t seconds);

// "Size = ..." before a recording; after one, its size and duration.
std::string RecorderSizeLabel(bool recorded, std::uint64_t bytes, std::int64_t seconds,
                              bool russian);

// "Recorder": the recorder window's caption, and that of its refusal.
std::string RecorderCaption(bool russian);
// Why the recorder does not start: it takes roll mode, running.
std::string RecorderRefusalText(bool russian);

// The companion text file of the data file dataPath, CR LF line ends.
std::string RecorderTextContent(const std::string& dataPath,
                                const std::vector<std::string>& infoLines, std::uint64_t bytes,
                                std::int64_t seconds, bool russian);

}  // namespace qx40
