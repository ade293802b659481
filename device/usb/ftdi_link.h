// The instrument's FTDI USB bridge through libftdi1 and libusb-1.0, with the
// vendor library's operations and status codes. What the vendor's driver did
// on its own happens here: the bridges are enumerated, one is opened by
// location and configured, and a reader thread pulls received bytes from the
// bulk-in endpoint into a bounded ring and sets the wake event. Read never
// waits: the caller reads what GetStatus reported.
//
// Devices listed: vendor 0x0403 with the product ids of FTDI's USB-serial
// chips (kProductIds); the description is the USB product string (at most 63
// characters), read from the kernel's device list (sysfs) where this user
// may not open the device. A listing by index refers to the last
// ListDeviceCount. A multi-channel chip is listed once and opened on its
// first channel.
//
// Location ids (LocationOf): bits 31..24 hold the USB bus number, bits 23..0
// the port path from the root hub, one port per 4 bits from bits 23..20 down,
// unused nibbles zero. Bus 1, ports 2 then 4: 0x01240000. The id stays the
// same while the instrument stays in the same socket, across replugging and
// restarts. A path that does not fit (more than six hops or a port above 15)
// gets bits 23..20 zero and a non-zero 20-bit hash of the path below, a form
// no fitting path produces. Buses count from 1, so 0 is never a location.
//
// Status codes:
//   0  success
//   1  handle unknown or already closed
//   2  no bridge at that location (nor, without a USB subsystem, anywhere);
//      description of a device unplugged since the count
//   3  the bridge is there but cannot be opened: already open (here or in
//      another program), no permission (see packaging/70-qx40.rules), or
//      its serial driver would not let go; Access() then says which, where
//      it is one this user can do something about
//   4  I/O error: a control request or transfer failed. Once the reader or a
//      write sees the device gone, every later call on the handle returns 4;
//      Close still releases it.
//   5  out of memory, or no thread for the reader
//   6  a line setting the chip cannot take (baud rate, data bits, stop bits,
//      parity, flow control mode, latency)
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "device/usb/usb_link.h"

namespace qx40 {

class FtdiLink : public UsbLink {
public:
    static constexpr std::uint16_t kVendorId = 0x0403;
    // FT232R/FT245R, FT2232, FT4232H, FT232H, FT-X series.
    static constexpr std::array<std::uint16_t, 5> kProductIds{0x6001, 0x6010, 0x6011, 0x6014,
                                                              0x6015};
    static constexpr std::size_t kReceiveBufferBytes = std::size_t{1} << 20;

    static std::uint32_t LocationOf(std::uint8_t bus, std::span<const std::uint8_t> ports);
    // The device's name in /sys/bus/usb/devices: bus 1, ports 2 then 4: "1-2.4".
    static std::string SysfsName(std::uint8_t bus, std::span<const std::uint8_t> ports);

    FtdiLink();
    ~FtdiLink() override;
    FtdiLink(const FtdiLink&) = delete;
    FtdiLink& operator=(const FtdiLink&) = delete;

    LinkKind Kind() const override { return LinkKind::Hardware; }
    InstrumentAccess Access() const override { return access_; }
    // Whether the bridge of that index in the last listing could be opened
    // now, found without opening it for use: Granted also when it is gone.
    InstrumentAccess ProbeAccess(std::uint32_t index);
    UsbStatus ListDeviceCount(std::uint32_t& count) override;
    UsbStatus ListDeviceLocation(std::uint32_t index, std::uint32_t& location) override;
    UsbStatus ListDeviceDescription(std::uint32_t index, std::string& description) override;
    UsbStatus OpenByLocation(std::uint32_t location, UsbHandle& handle) override;
    // The chip's reset; the receive ring is emptied with it.
    UsbStatus ResetDevice(UsbHandle h) override;
    UsbStatus SetBaudRate(UsbHandle h, std::uint32_t baud) override;
    UsbStatus SetDataCharacteristics(UsbHandle h, std::uint8_t wordLength, std::uint8_t stopBits,
                                     std::uint8_t parity) override;
    UsbStatus SetFlowControl(UsbHandle h, std::uint16_t flow, std::uint8_t xon,
                             std::uint8_t xoff) override;
    // The write timeout ends a write once the chip has taken nothing for that
    // long (0: the default 500 ms, never an endless wait); reads never wait.
    UsbStatus SetTimeouts(UsbHandle h, std::uint32_t readMs, std::uint32_t writeMs) override;
    // The chip's shortest latency is 1 ms; 0 asks for the fastest and gets 1.
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
    // A USB reset of the device (libusb); the handle stays usable when the
    // device comes back as the same device.
    UsbStatus ResetPort(UsbHandle h) override;

private:
    class Device;

    // The open device `h` names; status 1 for any other handle, 4 once the
    // device is lost.
    std::shared_ptr<Device> Find(UsbHandle h, UsbStatus& status) const;
    // Runs `request` under the device's USB lock, after the handle checks.
    template <typename Request>
    UsbStatus Control(UsbHandle h, Request request);

    mutable std::mutex mutex_;
    std::vector<std::uint32_t> listed_;  // locations of the last count, by index
    std::map<UsbHandle, std::shared_ptr<Device>> open_;
    UsbHandle nextHandle_ = 1;
    std::atomic<InstrumentAccess> access_{InstrumentAccess::Granted};
};

}  // namespace qx40
