// A scripted USB link for tests: it lists the devices a test gives it,
// serves the bytes a test queues, and records every call, write and purge.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "device/usb/usb_link.h"

namespace qx40 {

class FakeLink : public UsbLink {
public:
    struct Device {
        std::uint32_t location = 0;
        std::string description;
        UsbStatus locationStatus = kUsbOk;
        UsbStatus descriptionStatus = kUsbOk;
        UsbStatus openStatus = kUsbOk;
        InstrumentAccess access = InstrumentAccess::Granted;  // what a failed open reports
    };
    struct Call {
        std::string op;
        UsbHandle handle = kNoHandle;
        std::uint32_t arg = 0;
    };

    LinkKind Kind() const override { return kind_; }
    InstrumentAccess Access() const override;
    void SetKind(LinkKind kind) { kind_ = kind; }

    // Script.
    void AddDevice(Device d);
    void SetListStatus(UsbStatus s);
    void QueueRead(std::span<const std::uint8_t> bytes);  // bytes the device sends
    void SetWriteLimit(std::size_t maxBytesPerCall);       // 0: no limit
    // The write call of that index (0-based) returns status; with kUsbOk it
    // accepts nothing, like a write that timed out.
    void FailWriteCall(std::size_t callIndex, UsbStatus status);
    void SetQueueStatusResult(UsbStatus s);
    // A line setting (ResetDevice, SetBaudRate, ... by its name) returns status.
    void FailSetting(const std::string& op, UsbStatus status);
    // Runs after every accepted write, outside the lock (to answer commands).
    void OnWrite(std::function<void(std::span<const std::uint8_t>)> hook);

    // Record.
    std::vector<std::vector<std::uint8_t>> Writes() const;  // bytes accepted per call
    std::vector<std::uint8_t> WrittenBytes() const;         // all accepted bytes in order
    std::vector<std::uint32_t> Purges() const;
    std::vector<Call> Calls() const;
    std::size_t PendingReadBytes() const;
    bool IsOpen(UsbHandle h) const;

    UsbStatus ListDeviceCount(std::uint32_t& count) override;
    UsbStatus ListDeviceLocation(std::uint32_t index, std::uint32_t& location) override;
    UsbStatus ListDeviceDescription(std::uint32_t index, std::string& description) override;
    UsbStatus OpenByLocation(std::uint32_t location, UsbHandle& handle) override;
    UsbStatus ResetDevice(UsbHandle h) override;
    UsbStatus SetBaudRate(UsbHandle h, std::uint32_t baud) override;
    UsbStatus SetDataCharacteristics(UsbHandle h, std::uint8_t wordLength, std::uint8_t stopBits,
                                     std::uint8_t parity) override;
    UsbStatus SetFlowControl(UsbHandle h, std::uint16_t flow, std::uint8_t xon, std::uint8_t xoff) override;
    UsbStatus SetTimeouts(UsbHandle h, std::uint32_t readMs, std::uint32_t writeMs) override;
    UsbStatus SetLatencyTimer(UsbHandle h, std::uint8_t ms) override;
    UsbStatus SetEventNotification(UsbHandle h, std::uint32_t mask, ManualResetEvent* event) override;
    UsbStatus Purge(UsbHandle h, std::uint32_t mask) override;
    UsbStatus GetQueueStatus(UsbHandle h, std::uint32_t& rxBytes) override;
    UsbStatus GetStatus(UsbHandle h, std::uint32_t& rxBytes, std::uint32_t& txBytes,
                        std::uint32_t& eventStatus) override;
    UsbStatus Read(UsbHandle h, std::uint8_t* buffer, std::uint32_t length, std::uint32_t& bytesRead) override;
    UsbStatus Write(UsbHandle h, const std::uint8_t* buffer, std::uint32_t length,
                    std::uint32_t& bytesWritten) override;
    UsbStatus Close(UsbHandle h) override;
    UsbStatus ResetPort(UsbHandle h) override;

private:
    // Records the call; false when the handle is not open.
    bool Record(const char* op, UsbHandle h, std::uint32_t arg = 0);
    UsbStatus RecordOnly(const char* op, UsbHandle h, std::uint32_t arg);

    mutable std::mutex mutex_;
    std::vector<Device> devices_;
    UsbStatus listStatus_ = kUsbOk;
    UsbStatus queueStatusResult_ = kUsbOk;
    std::deque<std::uint8_t> pending_;
    std::size_t writeLimit_ = 0;
    std::size_t writeCalls_ = 0;
    std::map<std::size_t, UsbStatus> failingWrites_;
    std::map<std::string, UsbStatus> failingSettings_;
    std::function<void(std::span<const std::uint8_t>)> onWrite_;
    std::vector<std::vector<std::uint8_t>> writes_;
    std::vector<std::uint32_t> purges_;
    std::vector<Call> calls_;
    std::map<UsbHandle, std::uint32_t> open_;  // handle -> location
    UsbHandle nextHandle_ = 1;
    ManualResetEvent* event_ = nullptr;
    LinkKind kind_ = LinkKind::Test;
    InstrumentAccess access_ = InstrumentAccess::Granted;
};

}  // namespace qx40
