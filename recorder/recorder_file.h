// The recorder's data file: raw bytes appended with one write per block,
// written straight to the target so that a crash keeps what was flushed.
#pragma once

#include "recorder/recorder_sink.h"

namespace qx40 {

// The sink of the program: creates or truncates path (permissions as the
// umask allows).
std::unique_ptr<RecorderSink> OpenRecorderFile(const std::string& path, int& error);

}  // namespace qx40
