#include "device/usb/fake_link.h"

#include <algorithm>

#include "device/manual_reset_event.h"

namespace qx40 {

void FakeLink::AddDevice(Device d) {
    std::lock_guard lock(mutex_);
    devices_.push_back(std::move(d));
}

void FakeLink::SetListStatus(UsbStatus s) {
    std::lock_guard lock(mutex_);
    listStatus_ = s;
}

void FakeLink::QueueRead(std::span<const std::uint8_t> bytes) {
    ManualResetEvent* event;
    {
        std::lock_guard lock(mutex_);
        pending_.insert(pending_.end(), bytes.begin(), bytes.end());
        event = event_;
    }
    if (event && !bytes.empty()) event->Set();
}

void FakeLink::SetWriteLimit(std::size_t maxBytesPerCall) {
    std::lock_guard lock(mutex_);
    writeLimit_ = maxBytesPerCall;
}

void FakeLink::FailWriteCall(std::size_t callIndex, UsbStatus status) {
    std::lock_guard lock(mutex_);
    failingWrites_[callIndex] = status;
}

void FakeLink::SetQueueStatusResult(UsbStatus s) {
    std::lock_guard lock(mutex_);
    queueStatusResult_ = s;
}

void FakeLink::OnWrite(std::function<void(std::span<const std::uint8_t>)> hook) {
    std::lock_guard lock(mutex_);
    onWrite_ = std::move(hook);
}

std::vector<std::vector<std::uint8_t>> FakeLink::Writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
}

std::vector<std::uint8_t> FakeLink::WrittenBytes() const {
    std::lock_guard lock(mutex_);
    std::vector<std::uint8_t> all;
    for (const auto& w : writes_) all.insert(all.end(), w.begin(), w.end());
    return all;
}

std::vector<std::uint32_t> FakeLink::Purges() const {
    std::lock_guard lock(mutex_);
    return purges_;
}

std::vector<FakeLink::Call> FakeLink::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::size_t FakeLink::PendingReadBytes() const {
    std::lock_guard lock(mutex_);
    return pending_.size();
}

bool FakeLink::IsOpen(UsbHandle h) const {
    std::lock_guard lock(mutex_);
    return open_.count(h) != 0;
}

bool FakeLink::Record(const char* op, UsbHandle h, std::uint32_t arg) {
    calls_.push_back({op, h, arg});
    return open_.count(h) != 0;
}

UsbStatus FakeLink::ListDeviceCount(std::uint32_t& count) {
    std::lock_guard lock(mutex_);
    calls_.push_back({"ListDeviceCount", kNoHandle, 0});
    count = listStatus_ == kUsbOk ? static_cast<std::uint32_t>(devices_.size()) : 0;
    return listStatus_;
}

UsbStatus FakeLink::ListDeviceLocation(std::uint32_t index, std::uint32_t& location) {
    std::lock_guard lock(mutex_);
    calls_.push_back({"ListDeviceLocation", kNoHandle, index});
    if (index >= devices_.size()) return kUsbDeviceNotFound;
    location = devices_[index].location;
    return devices_[index].locationStatus;
}

UsbStatus FakeLink::ListDeviceDescription(std::uint32_t index, std::string& description) {
    std::lock_guard lock(mutex_);
    calls_.push_back({"ListDeviceDescription", kNoHandle, index});
    if (index >= devices_.size()) return kUsbDeviceNotFound;
    description = devices_[index].description.substr(0, 63);
    return devices_[index].descriptionStatus;
}

UsbStatus FakeLink::OpenByLocation(std::uint32_t location, UsbHandle& handle) {
    std::lock_guard lock(mutex_);
    calls_.push_back({"OpenByLocation", kNoHandle, location});
    const auto it = std::find_if(devices_.begin(), devices_.end(),
                                 [&](const Device& d) { return d.location == location; });
    if (it == devices_.end()) return kUsbDeviceNotFound;
    if (it->openStatus != kUsbOk) {
        access_ = it->access;
        return it->openStatus;
    }
    access_ = InstrumentAccess::Granted;
    handle = nextHandle_++;
    open_[handle] = location;
    return kUsbOk;
}

InstrumentAccess FakeLink::Access() const {
    std::lock_guard lock(mutex_);
    return access_;
}

UsbStatus FakeLink::RecordOnly(const char* op, UsbHandle h, std::uint32_t arg) {
    std::lock_guard lock(mutex_);
    if (!Record(op, h, arg)) return kUsbInvalidHandle;
    const auto failing = failingSettings_.find(op);
    return failing == failingSettings_.end() ? kUsbOk : failing->second;
}

void FakeLink::FailSetting(const std::string& op, UsbStatus status) {
    std::lock_guard lock(mutex_);
    failingSettings_[op] = status;
}

UsbStatus FakeLink::ResetDevice(UsbHandle h) { return RecordOnly("ResetDevice", h, 0); }
UsbStatus FakeLink::SetBaudRate(UsbHandle h, std::uint32_t baud) { return RecordOnly("SetBaudRate", h, baud); }
UsbStatus FakeLink::SetDataCharacteristics(UsbHandle h, std::uint8_t wordLength, std::uint8_t stopBits,
                                           std::uint8_t parity) {
    return RecordOnly("SetDataCharacteristics", h,
                      static_cast<std::uint32_t>(wordLength << 16 | stopBits << 8 | parity));
}
UsbStatus FakeLink::SetFlowControl(UsbHandle h, std::uint16_t flow, std::uint8_t xon, std::uint8_t xoff) {
    return RecordOnly("SetFlowControl", h, static_cast<std::uint32_t>(flow << 16 | xon << 8 | xoff));
}
UsbStatus FakeLink::SetTimeouts(UsbHandle h, std::uint32_t readMs, std::uint32_t writeMs) {
    return RecordOnly("SetTimeouts", h, readMs << 16 | writeMs);
}
UsbStatus FakeLink::SetLatencyTimer(UsbHandle h, std::uint8_t ms) { return RecordOnly("SetLatencyTimer", h, ms); }
UsbStatus FakeLink::ResetPort(UsbHandle h) { return RecordOnly("ResetPort", h, 0); }

UsbStatus FakeLink::SetEventNotification(UsbHandle h, std::uint32_t mask, ManualResetEvent* event) {
    std::lock_guard lock(mutex_);
    if (!Record("SetEventNotification", h, mask)) return kUsbInvalidHandle;
    event_ = (mask & kEventRxChar) ? event : nullptr;
    return kUsbOk;
}

UsbStatus FakeLink::Purge(UsbHandle h, std::uint32_t mask) {
    std::lock_guard lock(mutex_);
    if (!Record("Purge", h, mask)) return kUsbInvalidHandle;
    purges_.push_back(mask);
    if (mask & kPurgeRx) pending_.clear();
    return kUsbOk;
}

UsbStatus FakeLink::GetQueueStatus(UsbHandle h, std::uint32_t& rxBytes) {
    std::lock_guard lock(mutex_);
    if (!Record("GetQueueStatus", h)) return kUsbInvalidHandle;
    rxBytes = static_cast<std::uint32_t>(pending_.size());
    return queueStatusResult_;
}

UsbStatus FakeLink::GetStatus(UsbHandle h, std::uint32_t& rxBytes, std::uint32_t& txBytes,
                              std::uint32_t& eventStatus) {
    std::lock_guard lock(mutex_);
    if (!Record("GetStatus", h)) return kUsbInvalidHandle;
    rxBytes = static_cast<std::uint32_t>(pending_.size());
    txBytes = 0;
    eventStatus = rxBytes ? kEventRxChar : 0;
    return kUsbOk;
}

UsbStatus FakeLink::Read(UsbHandle h, std::uint8_t* buffer, std::uint32_t length, std::uint32_t& bytesRead) {
    std::lock_guard lock(mutex_);
    bytesRead = 0;
    if (!Record("Read", h, length)) return kUsbInvalidHandle;
    const std::size_t n = std::min<std::size_t>(length, pending_.size());
    std::copy_n(pending_.begin(), n, buffer);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
    bytesRead = static_cast<std::uint32_t>(n);
    return kUsbOk;
}

UsbStatus FakeLink::Write(UsbHandle h, const std::uint8_t* buffer, std::uint32_t length,
                          std::uint32_t& bytesWritten) {
    std::function<void(std::span<const std::uint8_t>)> hook;
    std::vector<std::uint8_t> accepted;
    {
        std::lock_guard lock(mutex_);
        bytesWritten = 0;
        if (!Record("Write", h, length)) return kUsbInvalidHandle;
        const std::size_t call = writeCalls_++;
        if (const auto failing = failingWrites_.find(call); failing != failingWrites_.end())
            return failing->second;
        const std::size_t n = writeLimit_ ? std::min<std::size_t>(length, writeLimit_) : length;
        accepted.assign(buffer, buffer + n);
        writes_.push_back(accepted);
        bytesWritten = static_cast<std::uint32_t>(n);
        hook = onWrite_;
    }
    if (hook) hook(accepted);
    return kUsbOk;
}

UsbStatus FakeLink::Close(UsbHandle h) {
    std::lock_guard lock(mutex_);
    if (!Record("Close", h)) return kUsbInvalidHandle;
    open_.erase(h);
    if (open_.empty()) event_ = nullptr;
    return kUsbOk;
}

}  // namespace qx40
