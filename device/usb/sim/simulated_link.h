// The USB link to a virtual QX40 (SimInstrument), so that the whole program
// runs without hardware and tests can drive a realistic instrument. It
// behaves like the vendor library: one device with a fixed location, open
// by location, calls on a closed or unknown handle return status 1, the
// receive queue can be purged and signals an event when bytes arrive.
//
// Time: with the real-time clock a producer thread runs the instrument on
// the steady clock; with the manual clock nothing happens until a test calls
// AdvanceTime. Faults can be injected for tests: corrupted checksums, lost
// bytes, reads in small pieces, unplugging, power failure, a lost FPGA
// configuration, a silent microcontroller.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <set>
#include <span>
#include <thread>
#include <vector>

#include "device/device_settings.h"
#include "device/usb/sim/sim_config.h"
#include "device/usb/sim/sim_instrument.h"
#include "device/usb/usb_link.h"

namespace qx40 {

enum class SimClockMode { RealTime, Manual };

struct SimulatedLinkOptions {
    SimClockMode Clock = SimClockMode::RealTime;
    SimInstrumentConfig Instrument{};
};

struct SimLinkCounters {
    std::int64_t DataFramesSent = 0;  // queued for the PC
    std::int64_t StatusFramesSent = 0;
    std::int64_t CommandsAccepted = 0;  // the FPGA load command included
    std::int64_t CommandsRejected = 0;  // bad length, segments or checksum, broken off
};

class SimulatedLink : public UsbLink, private SimFrameOutput {
public:
    static constexpr std::uint32_t kLocation = 0x00000A41;
    static constexpr const char* kDescription = "Digital Oscilloscope QX40";
    // Bytes the driver holds for a reader that does not read; more are lost.
    static constexpr std::size_t kReceiveQueueLimit = std::size_t{4} << 20;

    explicit SimulatedLink(SimulatedLinkOptions options = {});
    ~SimulatedLink() override;
    SimulatedLink(const SimulatedLink&) = delete;
    SimulatedLink& operator=(const SimulatedLink&) = delete;

    LinkKind Kind() const override { return LinkKind::Simulated; }
    UsbStatus ListDeviceCount(std::uint32_t& count) override;
    UsbStatus ListDeviceLocation(std::uint32_t index, std::uint32_t& location) override;
    UsbStatus ListDeviceDescription(std::uint32_t index, std::string& description) override;
    UsbStatus OpenByLocation(std::uint32_t location, UsbHandle& handle) override;
    UsbStatus ResetDevice(UsbHandle h) override;
    UsbStatus SetBaudRate(UsbHandle h, std::uint32_t baud) override;
    UsbStatus SetDataCharacteristics(UsbHandle h, std::uint8_t wordLength, std::uint8_t stopBits,
                                     std::uint8_t parity) override;
    UsbStatus SetFlowControl(UsbHandle h, std::uint16_t flow, std::uint8_t xon,
                             std::uint8_t xoff) override;
    UsbStatus SetTimeouts(UsbHandle h, std::uint32_t readMs, std::uint32_t writeMs) override;
    UsbStatus SetLatencyTimer(UsbHandle h, std::uint8_t ms) override;
    UsbStatus SetEventNotification(UsbHandle h, std::uint32_t mask,
                                   ManualResetEvent* event) override;
    UsbStatus Purge(UsbHandle h, std::uint32_t mask) override;
    UsbStatus GetQueueStatus(UsbHandle h, std::uint32_t& rxBytes) override;
    UsbStatus GetStatus(UsbHandle h, std::uint32_t& rxBytes, std::uint32_t& txBytes,
                        std::uint32_t& eventStatus) override;
    UsbStatus Read(UsbHandle h, std::uint8_t* buffer, std::uint32_t length,
                   std::uint32_t& bytesRead) override;
    UsbStatus Write(UsbHandle h, const std::uint8_t* buffer, std::uint32_t length,
                    std::uint32_t& bytesWritten) override;
    UsbStatus Close(UsbHandle h) override;
    UsbStatus ResetPort(UsbHandle h) override;

    // Manual clock: the instrument runs for this long (ignored with the
    // real-time clock, which moves by itself).
    void AdvanceTime(std::int64_t microseconds);
    std::int64_t NowMicroseconds() const;

    // Faults.
    void CorruptChecksums(std::size_t frames);                 // the next frames of either kind
    void DropBytes(std::size_t count, std::size_t after = 0);  // of the bytes sent from now on
    void SetReadChunkLimit(std::size_t maxBytesPerRead);       // 0: no limit
    // Unplugged, every call on the open handle fails with status 4, the
    // listing shows no device and the instrument loses power.
    void Unplug();
    void Replug();
    void SetPowerFailure(bool on);           // status byte 1 = 2
    void LoseFpgaConfiguration();            // until the next good FPGA load
    void SetMicrocontrollerSilent(bool on);  // no status frames

    // The bench, the calibration faults and the model the instrument reports.
    void SetBench(const SimBench& bench);
    void SetFaults(const SimFaults& faults);
    void SetModelCode(std::int32_t code);

    // Inspection.
    DeviceSettings Registers() const;
    std::array<std::uint8_t, 128> CalibrationMemory() const;
    std::int32_t LastCmdSeq() const;  // -1 before the first settings command
    bool FpgaConfigured() const;
    SimLinkCounters Counters() const;
    std::size_t PendingBytes() const;

private:
    void OnFrame(std::span<const std::uint8_t> bytes, bool data) override;
    UsbStatus Check(UsbHandle h) const;
    void ClearReceive();
    std::int64_t RealTick() const;
    void Run();

    const SimClockMode clock_;
    const std::chrono::steady_clock::time_point epoch_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    SimInstrument instrument_;
    bool plugged_ = true;
    UsbHandle open_ = kNoHandle;
    UsbHandle nextHandle_ = 1;
    std::set<UsbHandle> dead_;  // open when the cable was pulled
    ManualResetEvent* event_ = nullptr;
    std::vector<std::uint8_t> rx_;
    std::size_t rxHead_ = 0;
    std::size_t readChunk_ = 0;
    std::size_t corruptFrames_ = 0;
    std::size_t dropAfter_ = 0;
    std::size_t dropCount_ = 0;
    std::int64_t dataFrames_ = 0;
    std::int64_t statusFrames_ = 0;
    bool stop_ = false;
    bool kicked_ = false;
    std::thread producer_;
};

}  // namespace qx40
