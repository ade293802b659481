// The USB bridge as the program uses it. Operations, arguments and status
// codes follow the bridge vendor's D2XX library, so that the device session
// reads the same whichever backend carries the bytes: the FTDI chip, the
// simulated instrument, a TCP stream or a test double.
#pragma once

#include <cstdint>
#include <string>

namespace qx40 {

class ManualResetEvent;

using UsbHandle = std::uintptr_t;  // 0: no device
inline constexpr UsbHandle kNoHandle = 0;

// D2XX status codes.
enum UsbStatus : std::int32_t {
    kUsbOk = 0,
    kUsbInvalidHandle = 1,
    kUsbDeviceNotFound = 2,
    kUsbDeviceNotOpened = 3,
    kUsbIoError = 4,
    kUsbInsufficientResources = 5,
    kUsbInvalidParameter = 6,
    kUsbOtherError = 18,
};

// Purge masks.
inline constexpr std::uint32_t kPurgeRx = 1;
inline constexpr std::uint32_t kPurgeTx = 2;
// Event notification mask: received characters.
inline constexpr std::uint32_t kEventRxChar = 1;

// Where the bytes go; decides what the window caption admits to and
// whether the built-in placeholder FPGA image may be sent.
enum class LinkKind { Hardware, Simulated, Network, Test };

// Whether this program may open the instrument's bridge: a bridge is there
// but this user lacks the permission (no udev rule), or another program
// holds it.
enum class InstrumentAccess { Granted, NoPermission, InUse };

class UsbLink {
public:
    virtual ~UsbLink() = default;
    virtual LinkKind Kind() const = 0;
    // Why the last open failed when the bridge was there but kept us out;
    // Granted before any such failure and after a successful open.
    virtual InstrumentAccess Access() const { return InstrumentAccess::Granted; }

    // FT_ListDevices: number only; location by index; description by index
    // (at most 63 characters).
    virtual UsbStatus ListDeviceCount(std::uint32_t& count) = 0;
    virtual UsbStatus ListDeviceLocation(std::uint32_t index, std::uint32_t& location) = 0;
    virtual UsbStatus ListDeviceDescription(std::uint32_t index, std::string& description) = 0;
    // FT_OpenEx by location.
    virtual UsbStatus OpenByLocation(std::uint32_t location, UsbHandle& handle) = 0;

    virtual UsbStatus ResetDevice(UsbHandle h) = 0;
    virtual UsbStatus SetBaudRate(UsbHandle h, std::uint32_t baud) = 0;
    virtual UsbStatus SetDataCharacteristics(UsbHandle h, std::uint8_t wordLength, std::uint8_t stopBits,
                                             std::uint8_t parity) = 0;
    virtual UsbStatus SetFlowControl(UsbHandle h, std::uint16_t flow, std::uint8_t xon, std::uint8_t xoff) = 0;
    virtual UsbStatus SetTimeouts(UsbHandle h, std::uint32_t readMs, std::uint32_t writeMs) = 0;
    virtual UsbStatus SetLatencyTimer(UsbHandle h, std::uint8_t ms) = 0;
    // The event is set whenever bytes arrive (mask kEventRxChar).
    virtual UsbStatus SetEventNotification(UsbHandle h, std::uint32_t mask, ManualResetEvent* event) = 0;
    virtual UsbStatus Purge(UsbHandle h, std::uint32_t mask) = 0;
    virtual UsbStatus GetQueueStatus(UsbHandle h, std::uint32_t& rxBytes) = 0;
    virtual UsbStatus GetStatus(UsbHandle h, std::uint32_t& rxBytes, std::uint32_t& txBytes,
                                std::uint32_t& eventStatus) = 0;
    virtual UsbStatus Read(UsbHandle h, std::uint8_t* buffer, std::uint32_t length,
                           std::uint32_t& bytesRead) = 0;
    // Fewer bytes written than asked means the rest must be written again.
    virtual UsbStatus Write(UsbHandle h, const std::uint8_t* buffer, std::uint32_t length,
                            std::uint32_t& bytesWritten) = 0;
    virtual UsbStatus Close(UsbHandle h) = 0;
    virtual UsbStatus ResetPort(UsbHandle h) = 0;
};

}  // namespace qx40
