#include "device/usb/sim/simulated_link.h"

#include <algorithm>

#include "device/manual_reset_event.h"

namespace qx40 {
namespace {

constexpr std::int64_t kTicksPerMicrosecond = kSimTicksPerSecond / 1000000;
// The producer looks at least this often: a trigger search moves on with
// the clock even when no frame is known to be due.
constexpr std::int64_t kLongestSleepTicks = kSimTicksPerSecond / 200;
// What the producer lets a trigger search look at per round: a few
// milliseconds of work, so the mutex is never held for long.
constexpr std::int64_t kRealTimeScanBudget = std::int64_t{1} << 17;

}  // namespace

SimulatedLink::SimulatedLink(SimulatedLinkOptions options)
    : clock_(options.Clock),
      epoch_(std::chrono::steady_clock::now()),
      instrument_(options.Instrument) {
    if (clock_ == SimClockMode::RealTime) {
        instrument_.SetScanBudget(kRealTimeScanBudget);
        producer_ = std::thread([this] { Run(); });
    }
}

SimulatedLink::~SimulatedLink() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (producer_.joinable()) producer_.join();
}

std::int64_t SimulatedLink::RealTick() const {
    const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now() - epoch_);
    return elapsed.count() / 10;
}

void SimulatedLink::Run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        const std::int64_t now = RealTick();
        instrument_.AdvanceTo(now, *this);
        const std::int64_t sleep =
            std::clamp<std::int64_t>(instrument_.NextDue() - now, 0, kLongestSleepTicks);
        wake_.wait_for(lock, std::chrono::nanoseconds(sleep * 10),
                       [this] { return stop_ || kicked_; });
        kicked_ = false;
    }
}

void SimulatedLink::OnFrame(std::span<const std::uint8_t> bytes, bool data) {
    if (open_ == kNoHandle) return;  // nobody has the device open: the bytes go nowhere
    (data ? dataFrames_ : statusFrames_)++;
    const std::size_t before = rx_.size();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (dropAfter_ > 0) {
            --dropAfter_;
        } else if (dropCount_ > 0) {
            --dropCount_;
            continue;
        }
        if (rx_.size() - rxHead_ >= kReceiveQueueLimit) break;
        std::uint8_t b = bytes[i];
        if (i + 1 == bytes.size() && corruptFrames_ > 0) {
            // A wrong checksum that is still not a start byte.
            b ^= (b ^ 0x01) == 0xFF ? 0x02 : 0x01;
        }
        rx_.push_back(b);
    }
    if (corruptFrames_ > 0) --corruptFrames_;
    if (rx_.size() > before && event_) event_->Set();
}

UsbStatus SimulatedLink::Check(UsbHandle h) const {
    if (h != kNoHandle && h == open_) return kUsbOk;
    return dead_.count(h) ? kUsbIoError : kUsbInvalidHandle;
}

void SimulatedLink::ClearReceive() {
    rx_.clear();
    rxHead_ = 0;
}

UsbStatus SimulatedLink::ListDeviceCount(std::uint32_t& count) {
    std::lock_guard lock(mutex_);
    count = plugged_ ? 1 : 0;
    return kUsbOk;
}

UsbStatus SimulatedLink::ListDeviceLocation(std::uint32_t index, std::uint32_t& location) {
    std::lock_guard lock(mutex_);
    if (!plugged_ || index != 0) return kUsbDeviceNotFound;
    location = kLocation;
    return kUsbOk;
}

UsbStatus SimulatedLink::ListDeviceDescription(std::uint32_t index, std::string& description) {
    std::lock_guard lock(mutex_);
    if (!plugged_ || index != 0) return kUsbDeviceNotFound;
    description = kDescription;
    return kUsbOk;
}

UsbStatus SimulatedLink::OpenByLocation(std::uint32_t location, UsbHandle& handle) {
    std::lock_guard lock(mutex_);
    if (!plugged_ || location != kLocation) return kUsbDeviceNotFound;
    if (open_ != kNoHandle) return kUsbDeviceNotOpened;  // already open elsewhere
    open_ = handle = nextHandle_++;
    ClearReceive();
    instrument_.ResetInput();
    return kUsbOk;
}

UsbStatus SimulatedLink::ResetDevice(UsbHandle h) {
    std::lock_guard lock(mutex_);
    if (const UsbStatus s = Check(h); s != kUsbOk) return s;
    ClearReceive();
    instrument_.ResetInput();
    return kUsbOk;
}

UsbStatus SimulatedLink::ResetPort(UsbHandle h) {
    return ResetDevice(h);
}

UsbStatus SimulatedLink::SetBaudRate(UsbHandle h, std::uint32_t) {
    std::lock_guard lock(mutex_);
    return Check(h);
}

UsbStatus SimulatedLink::SetDataCharacteristics(UsbHandle h, std::uint8_t, std::uint8_t,
                                                std::uint8_t) {
    std::lock_guard lock(mutex_);
    return Check(h);
}

UsbStatus SimulatedLink::SetFlowControl(UsbHandle h, std::uint16_t, std::uint8_t, std::uint8_t) {
    std::lock_guard lock(mutex_);
    return Check(h);
}

UsbStatus SimulatedLink::SetTimeouts(UsbHandle h, std::uint32_t, std::uint32_t) {
    std::lock_guard lock(mutex_);
    return Check(h);
}

UsbStatus SimulatedLink::SetLatencyTimer(UsbHandle h, std::uint8_t) {
    std::lock_guard lock(mutex_);
    return Check(h);
}

UsbStatus SimulatedLink::SetEventNotification(UsbHandle h, std::uint32_t mask,
                                              ManualResetEvent* event) {
    std::lock_guard lock(mutex_);
    if (const UsbStatus s = Check(h); s != kUsbOk) return s;
    event_ = (mask & kEventRxChar) ? event : nullptr;
    return kUsbOk;
}

UsbStatus SimulatedLink::Purge(UsbHandle h, std::uint32_t mask) {
    std::lock_guard lock(mutex_);
    if (const UsbStatus s = Check(h); s != kUsbOk) return s;
    if (mask & kPurgeRx) ClearReceive();
    return kUsbOk;  // written bytes reach the instrument at once: nothing to purge
}

UsbStatus SimulatedLink::GetQueueStatus(UsbHandle h, std::uint32_t& rxBytes) {
    std::lock_guard lock(mutex_);
    rxBytes = 0;
    if (const UsbStatus s = Check(h); s != kUsbOk) return s;
    rxBytes = static_cast<std::uint32_t>(rx_.size() - rxHead_);
    return kUsbOk;
}

UsbStatus SimulatedLink::GetStatus(UsbHandle h, std::uint32_t& rxBytes, std::uint32_t& txBytes,
                                   std::uint32_t& eventStatus) {
    std::lock_guard lock(mutex_);
    rxBytes = txBytes = eventStatus = 0;
    if (const UsbStatus s = Check(h); s != kUsbOk) return s;
    rxBytes = static_cast<std::uint32_t>(rx_.size() - rxHead_);
    eventStatus = rxBytes ? kEventRxChar : 0;
    return kUsbOk;
}

UsbStatus SimulatedLink::Read(UsbHandle h, std::uint8_t* buffer, std::uint32_t length,
                              std::uint32_t& bytesRead) {
    std::lock_guard lock(mutex_);
    bytesRead = 0;
    if (const UsbStatus s = Check(h); s != kUsbOk) return s;
    std::size_t n = std::min<std::size_t>(length, rx_.size() - rxHead_);
    if (readChunk_ > 0) n = std::min(n, readChunk_);
    std::copy_n(rx_.begin() + static_cast<std::ptrdiff_t>(rxHead_), n, buffer);
    rxHead_ += n;
    if (rxHead_ == rx_.size()) {
        ClearReceive();
    } else if (rxHead_ > rx_.size() / 2) {
        rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(rxHead_));
        rxHead_ = 0;
    }
    bytesRead = static_cast<std::uint32_t>(n);
    return kUsbOk;
}

UsbStatus SimulatedLink::Write(UsbHandle h, const std::uint8_t* buffer, std::uint32_t length,
                               std::uint32_t& bytesWritten) {
    {
        std::lock_guard lock(mutex_);
        bytesWritten = 0;
        if (const UsbStatus s = Check(h); s != kUsbOk) return s;
        // The command takes effect at the present moment of the instrument.
        if (clock_ == SimClockMode::RealTime) instrument_.AdvanceTo(RealTick(), *this);
        instrument_.Receive({buffer, length});
        bytesWritten = length;
        kicked_ = true;
    }
    wake_.notify_all();
    return kUsbOk;
}

UsbStatus SimulatedLink::Close(UsbHandle h) {
    std::lock_guard lock(mutex_);
    if (dead_.erase(h)) return kUsbIoError;
    if (h == kNoHandle || h != open_) return kUsbInvalidHandle;
    open_ = kNoHandle;
    event_ = nullptr;
    ClearReceive();
    return kUsbOk;
}

void SimulatedLink::AdvanceTime(std::int64_t microseconds) {
    std::lock_guard lock(mutex_);
    if (clock_ != SimClockMode::Manual || microseconds <= 0) return;
    instrument_.AdvanceTo(instrument_.Now() + microseconds * kTicksPerMicrosecond, *this);
}

std::int64_t SimulatedLink::NowMicroseconds() const {
    std::lock_guard lock(mutex_);
    return instrument_.Now() / kTicksPerMicrosecond;
}

void SimulatedLink::CorruptChecksums(std::size_t frames) {
    std::lock_guard lock(mutex_);
    corruptFrames_ = frames;
}

void SimulatedLink::DropBytes(std::size_t count, std::size_t after) {
    std::lock_guard lock(mutex_);
    dropAfter_ = after;
    dropCount_ = count;
}

void SimulatedLink::SetReadChunkLimit(std::size_t maxBytesPerRead) {
    std::lock_guard lock(mutex_);
    readChunk_ = maxBytesPerRead;
}

void SimulatedLink::Unplug() {
    std::lock_guard lock(mutex_);
    if (!plugged_) return;
    plugged_ = false;
    if (open_ != kNoHandle) dead_.insert(open_);
    open_ = kNoHandle;
    event_ = nullptr;
    ClearReceive();
    instrument_.PowerOff();
}

void SimulatedLink::Replug() {
    std::lock_guard lock(mutex_);
    plugged_ = true;
    instrument_.PowerOn();
}

void SimulatedLink::SetPowerFailure(bool on) {
    std::lock_guard lock(mutex_);
    instrument_.SetPowerFailure(on);
}

void SimulatedLink::LoseFpgaConfiguration() {
    std::lock_guard lock(mutex_);
    instrument_.LoseFpgaConfiguration();
}

void SimulatedLink::SetMicrocontrollerSilent(bool on) {
    std::lock_guard lock(mutex_);
    instrument_.SetSilent(on);
}

void SimulatedLink::SetBench(const SimBench& bench) {
    std::lock_guard lock(mutex_);
    instrument_.SetBench(bench);
}

void SimulatedLink::SetFaults(const SimFaults& faults) {
    std::lock_guard lock(mutex_);
    instrument_.SetFaults(faults);
}

void SimulatedLink::SetModelCode(std::int32_t code) {
    std::lock_guard lock(mutex_);
    instrument_.SetModelCode(code);
}

DeviceSettings SimulatedLink::Registers() const {
    std::lock_guard lock(mutex_);
    DeviceSettings s;
    s.reg = instrument_.Registers();
    return s;
}

std::array<std::uint8_t, 128> SimulatedLink::CalibrationMemory() const {
    std::lock_guard lock(mutex_);
    return instrument_.CalibrationMemory();
}

std::int32_t SimulatedLink::LastCmdSeq() const {
    std::lock_guard lock(mutex_);
    return instrument_.LastCmdSeq();
}

bool SimulatedLink::FpgaConfigured() const {
    std::lock_guard lock(mutex_);
    return instrument_.FpgaConfigured();
}

SimLinkCounters SimulatedLink::Counters() const {
    std::lock_guard lock(mutex_);
    return {dataFrames_, statusFrames_, instrument_.CommandsAccepted(),
            instrument_.CommandsRejected()};
}

std::size_t SimulatedLink::PendingBytes() const {
    std::lock_guard lock(mutex_);
    return rx_.size() - rxHead_;
}

}  // namespace qx40
