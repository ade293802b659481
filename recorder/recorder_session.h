// The recorder as a state machine that the recorder dialog and qx40cli
// record drive: File, Start and Stop, the block write of every displayed
// frame, and the companion text file. Idle -> Start -> recording -> Stop
// (or a failed write) -> stopped, showing the final size and time -> Start
// again, or File.
//
// Everything runs on the main thread; Write runs inside the display
// hand-over while the acquisition thread waits, so it never opens a box: a
// failed write stops the recording at once and the next Tick reports it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/user_dialogs.h"
#include "device/frame_info.h"
#include "recorder/recorder_sink.h"

namespace qx40 {

using RecorderTime = std::chrono::system_clock::time_point;

struct RecorderEnvironment {
    RecorderSinkFactory openSink;                       // the data file
    std::function<RecorderTime()> now;                  // the clock
    std::function<std::string(RecorderTime)> dateTime;  // date and time in the user's format
};
// The data file, the system clock and local date and time as YYYY-MM-DD HH:MM:SS.
RecorderEnvironment DefaultRecorderEnvironment();

struct RecorderButtons {
    bool file = true;
    bool start = true;
    bool stop = false;
    bool exit = true;
};

class RecorderSession {
public:
    // active is the flag that makes the acquisition thread queue A1 bytes
    // (RecorderActive); the session sets it while a file is open.
    RecorderSession(std::atomic<bool>& active,
                    RecorderEnvironment environment = DefaultRecorderEnvironment());
    ~RecorderSession();

    // The window opens: "recorder.bin" in folder, nothing recorded, the
    // information of the record now shown.
    void Show(const std::string& folder, const FrameInfo& info, bool russian,
              char decimalSeparator);
    // The save dialog of File.
    FileRequest FileDialog(const std::string& folder) const;
    // File chosen: the new data path, nothing recorded.
    void SetFile(const std::string& path, const FrameInfo& info);
    // Asks before replacing an existing file; true when recording.
    bool Start(const FrameInfo& info, UserDialogs& dialogs);
    // The bytes queued for one displayed frame, in one block. lost counts
    // bytes the queue had to drop after them: the recording then ends with
    // what came before the gap, and the next Tick says so. Never waits for
    // the disk to flush.
    void Write(std::span<const std::uint8_t> bytes, std::uint64_t lost = 0);
    // Every few tens of milliseconds: the end time, the flush due each
    // second, and the report of a failed write (after which the recording
    // is finished as by Stop).
    void Tick(UserDialogs& dialogs);
    // Asks "Stop recording?"; true when stopped.
    bool Stop(UserDialogs& dialogs);
    // The window is closing: asks while recording; true when it may close.
    bool Close(UserDialogs& dialogs);

    bool Recording() const { return sink_ != nullptr; }
    const std::string& Path() const { return path_; }
    const std::vector<std::string>& InfoLines() const { return info_; }
    std::uint64_t Total() const { return total_; }  // RecorderTotal: bytes in the file since Start
    std::string SizeLabel() const;
    RecorderButtons Buttons() const;

private:
    void ShowInfo(const FrameInfo& info);
    void Fail(int error);
    void Fail(const std::string& reason);
    void Finish(UserDialogs& dialogs);
    void WriteRecorderText(UserDialogs& dialogs);
    std::int64_t ElapsedSeconds() const;

    std::atomic<bool>& active_;
    RecorderEnvironment env_;
    bool russian_ = false;
    char separator_ = '.';
    std::string path_;
    std::vector<std::string> info_;
    bool ready_ = false;
    bool recorded_ = false;  // a recording was started: the size and time stay shown
    std::unique_ptr<RecorderSink> sink_;
    std::uint64_t total_ = 0;
    bool unflushed_ = false;
    RecorderTime start_{};
    RecorderTime end_{};
    RecorderTime lastFlush_{};
    std::string failure_;  // a write failed; reported by the next Tick
};

}  // namespace qx40
