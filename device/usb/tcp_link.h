// The instrument's raw byte stream over one TCP connection, for an
// instrument behind a serial-to-network bridge or a remote simulator. It
// behaves like the vendor library towards the device session: listing shows
// one device, "Digital Oscilloscope QX40", when the connection can be made;
// opening by its location connects (or keeps the connection the listing
// made); bytes written go to the socket, bytes read come from it. Line
// settings, timeouts, latency, resets and the transmit purge are accepted and
// do nothing. Once the peer closes or the connection fails, every later call
// on the handle returns status 4 (I/O error), so link supervision sees a lost
// device; Close still releases it.
//
// A reader thread moves received bytes into a bounded ring and sets the wake
// event; when the ring is full it stops reading, so the peer is held back by
// TCP flow control and no byte is dropped. Read never blocks; Write gives up
// once the peer has accepted nothing for the write timeout and reports the
// bytes written so far. One connection at a time.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "device/usb/usb_link.h"

namespace qx40 {

struct TcpLinkOptions {
    std::chrono::milliseconds ConnectTimeout{1000};
    // A write stops when the peer has taken nothing for this long.
    std::chrono::milliseconds WriteTimeout{500};
    std::size_t ReceiveBufferBytes = std::size_t{1} << 20;
};

class TcpLink : public UsbLink {
public:
    static constexpr std::uint32_t kLocation = 0x54435030;  // "TCP0"
    static constexpr const char* kDescription = "Digital Oscilloscope QX40";

    // The host is a name or a numeric IPv4 or IPv6 address.
    TcpLink(std::string host, std::uint16_t port, TcpLinkOptions options = {});
    ~TcpLink() override;
    TcpLink(const TcpLink&) = delete;
    TcpLink& operator=(const TcpLink&) = delete;

    LinkKind Kind() const override { return LinkKind::Network; }
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

private:
    class Connection;

    // The open connection when `h` names it; status 1 for any other handle,
    // 4 when the connection is lost.
    std::shared_ptr<Connection> Find(UsbHandle h, UsbStatus& status) const;
    UsbStatus CheckOnly(UsbHandle h) const;
    // True when the one device is there: the open connection is alive, or
    // the listing connection is (made now if there is none).
    bool DeviceVisibleLocked();
    void DropListingConnectionLocked();

    const std::string host_;
    const std::uint16_t port_;
    const TcpLinkOptions options_;
    mutable std::mutex mutex_;
    int listingSocket_ = -1;  // made while listing, taken over by the open
    bool listed_ = false;     // the last listing showed the device
    std::shared_ptr<Connection> open_;
    UsbHandle openHandle_ = kNoHandle;
    UsbHandle nextHandle_ = 1;
};

}  // namespace qx40
