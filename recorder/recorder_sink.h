// Where a recording goes: the data file in the program, a stand-in in tests.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace qx40 {

class RecorderSink {
public:
    virtual ~RecorderSink() = default;
    // Each call returns 0 or the system's error number.
    // Appends bytes in one block. written says how many reached the file,
    // also when it fails (a disk that fills up takes part of a block).
    virtual int Write(std::span<const std::uint8_t> bytes, std::size_t& written) = 0;
    // Makes what was written survive a crash or a power cut.
    virtual int Flush() = 0;
    // Flushes and closes; no call follows.
    virtual int Close() = 0;
};

// Creates or truncates path; nullptr with the error number when it cannot.
using RecorderSinkFactory =
    std::function<std::unique_ptr<RecorderSink>(const std::string& path, int& error)>;

}  // namespace qx40
