// The acquisition thread: after the device is open it owns all traffic
// with the instrument. It sends settings and the FPGA image, reads and
// parses the byte stream, decodes accepted frames, and hands each one to the
// main thread, waiting while the main thread shows it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <span>
#include <thread>

#include "device/command_sender.h"
#include "device/device_handle.h"
#include "device/frame_decoder.h"
#include "device/frame_receiver.h"
#include "device/main_thread_queue.h"
#include "device/sample_record.h"
#include "device/shared_link.h"
#include "device/usb_stats.h"
#include "recorder/recorder_queue.h"

namespace qx40 {

// What the main thread does inside the hand-over. Each runs on the main
// thread while the acquisition thread waits.
struct MainThreadSteps {
    std::function<void()> refreshScreen;   // draw the main record
    std::function<void()> drawIndicator;   // status frame: the activity indicator only
    std::function<void()> singleShotDone;  // a single shot is complete: release SINGLE, send the stop
    // Append to the recorder file the bytes queued since the last step; lost
    // counts those the queue had no room for.
    std::function<void(std::span<const std::uint8_t> bytes, std::uint64_t lost)> writeRecorder;
};

class AcquisitionThread {
public:
    AcquisitionThread(UsbLink& link, DeviceHandle& handle, SharedLink& shared, UsbStats& stats,
                      SampleRecord& mainRecord, MainThreadQueue& mainQueue, MainThreadSteps steps,
                      std::span<const std::uint8_t> fpgaImage, SleepFunction sleep);
    ~AcquisitionThread();
    AcquisitionThread(const AcquisitionThread&) = delete;
    AcquisitionThread& operator=(const AcquisitionThread&) = delete;

    void Start();
    // Asks the loop to end, wakes it and waits for it, running any pending
    // hand-over meanwhile. No USB call follows.
    void Stop();

    // One round of the loop; the thread repeats it. Tests call it directly.
    void RunOnce();
    // The main-thread step of the hand-over.
    void SyncToMain();

    std::uint8_t CmdSeq() const { return sender_.CmdSeq(); }
    std::int32_t FramesDecoded() const { return framesDecoded_.load(); }

private:
    class Sink;
    void Execute();
    void ReadAndParse(UsbHandle h);
    void OnDataFrame(std::span<const std::uint8_t> samples, const RegisterEcho& echo);
    void OnStatusFrame(const StatusRecord& status);

    UsbLink& link_;
    DeviceHandle& handle_;
    SharedLink& shared_;
    UsbStats& stats_;
    SampleRecord& main_;
    MainThreadQueue& mainQueue_;
    MainThreadSteps steps_;
    SleepFunction sleep_;
    CommandSender sender_;
    FrameReceiver receiver_;
    FrameDecoder decoder_;
    RecorderQueue recorder_;
    SampleRecord back_;  // the decoder's record; exchanged with the main one in the hand-over
    std::vector<std::uint8_t> readBuffer_;
    // Bytes read but not parsed yet: parsing pauses after each accepted
    // frame so that the main thread shows every frame, not only the last
    // of a read.
    std::size_t readBegin_ = 0;
    std::size_t readEnd_ = 0;

    // Status values the next frame carries to the display.
    std::array<std::int32_t, 4> fmData_{};
    bool fmFresh_ = false;
    bool frameReady_ = false;  // back_ holds a frame the main thread has not taken
    bool singleComplete_ = false;  // the single shot of the settings last sent is done
    std::atomic<bool> singleShotDone_{false};
    std::atomic<std::int32_t> framesDecoded_{0};

    std::atomic<bool> terminate_{false};
    std::thread thread_;
    std::mutex finishedMutex_;
    std::condition_variable finishedCv_;
    bool finished_ = false;
};

}  // namespace qx40
