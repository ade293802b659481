#include "device/usb/ftdi_link.h"

#include <ftdi.h>
#include <libusb.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <limits>
#include <system_error>
#include <thread>
#include <utility>

#include "device/manual_reset_event.h"
#include "device/usb/byte_ring.h"
#include "device/usb/ftdi_packets.h"

namespace qx40 {
namespace {

// One bulk transfer: a multiple of both packet sizes (64 and 512 bytes).
// Small enough that a steady stream still completes a transfer, and sets
// the event, every few milliseconds.
constexpr int kTransferBytes = 4096;
// The reader looks at its stop flag at least this often; the chip itself
// answers every latency period.
constexpr unsigned kReaderPollMs = 50;
constexpr unsigned kDefaultWriteTimeoutMs = 500;

struct FtdiFree {
    void operator()(ftdi_context* ftdi) const { ftdi_free(ftdi); }
};
using FtdiPtr = std::unique_ptr<ftdi_context, FtdiFree>;

// A libusb context of its own, for one listing.
class UsbSession {
public:
    UsbSession() {
        if (libusb_init(&context_) != 0) context_ = nullptr;
    }
    ~UsbSession() {
        if (context_) libusb_exit(context_);
    }
    UsbSession(const UsbSession&) = delete;
    UsbSession& operator=(const UsbSession&) = delete;
    libusb_context* Context() const { return context_; }

private:
    libusb_context* context_ = nullptr;
};

UsbStatus FromLibusb(int error) {
    switch (error) {
        case LIBUSB_SUCCESS:
            return kUsbOk;
        case LIBUSB_ERROR_NO_DEVICE:
        case LIBUSB_ERROR_NOT_FOUND:
            return kUsbDeviceNotFound;
        case LIBUSB_ERROR_ACCESS:
        case LIBUSB_ERROR_BUSY:
            return kUsbDeviceNotOpened;
        case LIBUSB_ERROR_NO_MEM:
            return kUsbInsufficientResources;
        default:
            return kUsbIoError;
    }
}

// Errors after which the device cannot be used again.
bool MeansLost(int error) {
    return error == LIBUSB_ERROR_NO_DEVICE || error == LIBUSB_ERROR_IO ||
           error == LIBUSB_ERROR_PIPE;
}

bool IsBridge(libusb_device* device) {
    libusb_device_descriptor d{};
    if (libusb_get_device_descriptor(device, &d) != 0 || d.idVendor != FtdiLink::kVendorId)
        return false;
    return std::find(FtdiLink::kProductIds.begin(), FtdiLink::kProductIds.end(), d.idProduct) !=
           FtdiLink::kProductIds.end();
}

struct PortPath {
    std::array<std::uint8_t, 8> ports{};  // USB allows seven hops
    std::size_t depth = 0;
    std::span<const std::uint8_t> Ports() const { return std::span(ports.data(), depth); }
};

PortPath PortPathOf(libusb_device* device) {
    PortPath path;
    const int depth =
        libusb_get_port_numbers(device, path.ports.data(), static_cast<int>(path.ports.size()));
    path.depth = static_cast<std::size_t>(std::max(depth, 0));
    return path;
}

std::uint32_t LocationOfDevice(libusb_device* device) {
    return FtdiLink::LocationOf(libusb_get_bus_number(device), PortPathOf(device).Ports());
}

// The product string as the kernel read it at enumeration; for everyone to
// read, so it names a device that this user may not open.
bool SysfsProduct(libusb_device* device, std::string& description) {
    const std::string name =
        FtdiLink::SysfsName(libusb_get_bus_number(device), PortPathOf(device).Ports());
    std::ifstream in("/sys/bus/usb/devices/" + name + "/product");
    std::string line;
    if (!std::getline(in, line)) return false;
    description = line.substr(0, 63);
    return true;
}

// What keeps us from opening a bridge that is there, found without taking it.
InstrumentAccess AccessOf(libusb_device* device) {
    libusb_device_handle* opened = nullptr;
    const int rc = libusb_open(device, &opened);
    if (rc == LIBUSB_ERROR_ACCESS) return InstrumentAccess::NoPermission;
    if (rc != 0) return InstrumentAccess::Granted;  // gone or failing: the open will say
    InstrumentAccess access = InstrumentAccess::Granted;
    // The kernel's serial driver lets go when we open; another program's
    // claim does not.
    if (libusb_kernel_driver_active(opened, 0) != 1) {
        const int claim = libusb_claim_interface(opened, 0);
        if (claim == LIBUSB_ERROR_BUSY) access = InstrumentAccess::InUse;
        if (claim == 0) libusb_release_interface(opened, 0);
    }
    libusb_close(opened);
    return access;
}

// The devices libusb sees on one context, held referenced until destroyed.
class DeviceList {
public:
    explicit DeviceList(libusb_context* context) {
        const ssize_t n = libusb_get_device_list(context, &devices_);
        if (n < 0) {
            error_ = static_cast<int>(n);
            devices_ = nullptr;
        } else {
            count_ = static_cast<std::size_t>(n);
        }
    }
    ~DeviceList() {
        if (devices_) libusb_free_device_list(devices_, 1);
    }
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;

    int Error() const { return error_; }
    std::vector<std::uint32_t> BridgeLocations() const {
        std::vector<std::uint32_t> locations;
        for (std::size_t i = 0; i < count_; ++i)
            if (IsBridge(devices_[i])) locations.push_back(LocationOfDevice(devices_[i]));
        return locations;
    }
    libusb_device* BridgeAt(std::uint32_t location) const {
        for (std::size_t i = 0; i < count_; ++i)
            if (IsBridge(devices_[i]) && LocationOfDevice(devices_[i]) == location)
                return devices_[i];
        return nullptr;
    }

private:
    libusb_device** devices_ = nullptr;
    std::size_t count_ = 0;
    int error_ = 0;
};

}  // namespace

// One open bridge: the libftdi context, the receive ring and the reader.
class FtdiLink::Device {
public:
    Device(FtdiPtr ftdi, std::uint32_t location)
        : ftdi_(std::move(ftdi)),
          location_(location),
          ring_(kReceiveBufferBytes),
          transfer_(kTransferBytes),
          payload_(kTransferBytes) {}
    ~Device() { StopReader(); }  // then the context closes the device
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // Control requests, writes, reset and close; the reader never takes it,
    // so a long write does not hold back reception.
    std::mutex usb;

    // Throws std::system_error when no thread can be started.
    void StartReader() {
        stopping_ = false;
        reader_ = std::thread([this] { Run(); });
    }
    void StopReader() {
        stopping_ = true;
        ring_.Clear();  // wakes a reader waiting for room
        if (reader_.joinable()) reader_.join();
    }

    ftdi_context* Ftdi() { return ftdi_.get(); }
    std::uint32_t Location() const { return location_; }
    ByteRing& Ring() { return ring_; }
    bool Lost() const { return lost_; }
    void MarkLost() { lost_ = true; }
    bool Closed() const { return closed_; }
    void MarkClosed() { closed_ = true; }
    void SetEvent(ManualResetEvent* event) { event_ = event; }
    void SetWriteTimeout(unsigned ms) { writeTimeoutMs_ = ms; }

    // Under the USB lock.
    UsbStatus Write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written) {
        const unsigned timeout = writeTimeoutMs_;
        while (written < length) {
            const int chunk =
                static_cast<int>(std::min<std::uint32_t>(length - written, kTransferBytes));
            int sent = 0;
            // libusb takes a non-const buffer for both directions; an OUT
            // transfer only reads it.
            const int rc = libusb_bulk_transfer(
                ftdi_->usb_dev, static_cast<unsigned char>(ftdi_->in_ep),
                const_cast<std::uint8_t*>(buffer + written), chunk, &sent, timeout);
            written += static_cast<std::uint32_t>(std::max(sent, 0));
            if (rc == LIBUSB_ERROR_TIMEOUT && sent == 0)
                return kUsbOk;  // stalled: the caller writes the rest again
            if (rc == LIBUSB_SUCCESS || rc == LIBUSB_ERROR_TIMEOUT ||
                rc == LIBUSB_ERROR_INTERRUPTED)
                continue;
            if (MeansLost(rc)) lost_ = true;
            return kUsbIoError;
        }
        return kUsbOk;
    }

private:
    void Run() {
        const std::size_t packet = ftdi_->max_packet_size > 2 ? ftdi_->max_packet_size : 64;
        while (!stopping_) {
            const ByteRing::Room room = ring_.WaitForRoom(kTransferBytes);
            if (stopping_) return;
            int got = 0;
            const int rc =
                libusb_bulk_transfer(ftdi_->usb_dev, static_cast<unsigned char>(ftdi_->out_ep),
                                     transfer_.data(), kTransferBytes, &got, kReaderPollMs);
            if (rc != LIBUSB_SUCCESS && rc != LIBUSB_ERROR_TIMEOUT &&
                rc != LIBUSB_ERROR_INTERRUPTED) {
                if (!stopping_) lost_ = true;  // unplugged, or the endpoint failed
                return;
            }
            const std::size_t n = StripFtdiStatusBytes(
                std::span(transfer_.data(), static_cast<std::size_t>(std::max(got, 0))), packet,
                payload_.data());
            if (n > 0 && ring_.Append(payload_.data(), n, room.epoch) > 0) {
                if (ManualResetEvent* event = event_.load()) event->Set();
            }
        }
    }

    FtdiPtr ftdi_;
    const std::uint32_t location_;
    ByteRing ring_;
    std::vector<std::uint8_t> transfer_;  // the reader's, allocated once
    std::vector<std::uint8_t> payload_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> lost_{false};
    std::atomic<bool> closed_{false};
    std::atomic<ManualResetEvent*> event_{nullptr};
    std::atomic<unsigned> writeTimeoutMs_{kDefaultWriteTimeoutMs};
    std::thread reader_;
};

std::uint32_t FtdiLink::LocationOf(std::uint8_t bus, std::span<const std::uint8_t> ports) {
    const bool fits =
        ports.size() <= 6 &&
        std::all_of(ports.begin(), ports.end(), [](std::uint8_t p) { return p >= 1 && p <= 15; });
    std::uint32_t path = 0;
    if (fits) {
        int shift = 20;
        for (const std::uint8_t p : ports) {
            path |= std::uint32_t{p} << shift;
            shift -= 4;
        }
    } else {
        std::uint32_t hash = 2166136261u;  // FNV-1a
        for (const std::uint8_t p : ports) hash = (hash ^ p) * 16777619u;
        path = hash % 0xFFFFFu + 1;
    }
    return std::uint32_t{bus} << 24 | path;
}

std::string FtdiLink::SysfsName(std::uint8_t bus, std::span<const std::uint8_t> ports) {
    std::string name = std::to_string(bus);
    char separator = '-';
    for (const std::uint8_t p : ports) {
        name += separator;
        name += std::to_string(p);
        separator = '.';
    }
    return name;
}

FtdiLink::FtdiLink() = default;

// Each device stops its reader and closes with its context.
FtdiLink::~FtdiLink() = default;

UsbStatus FtdiLink::ListDeviceCount(std::uint32_t& count) {
    count = 0;
    std::vector<std::uint32_t> found;
    const UsbSession session;
    if (session.Context()) {  // without a USB subsystem there is simply no device
        const DeviceList devices(session.Context());
        if (devices.Error() != 0) return FromLibusb(devices.Error());
        found = devices.BridgeLocations();
    }
    std::lock_guard lock(mutex_);
    listed_ = std::move(found);
    count = static_cast<std::uint32_t>(listed_.size());
    return kUsbOk;
}

UsbStatus FtdiLink::ListDeviceLocation(std::uint32_t index, std::uint32_t& location) {
    std::lock_guard lock(mutex_);
    if (index >= listed_.size()) return kUsbDeviceNotFound;
    location = listed_[index];
    return kUsbOk;
}

UsbStatus FtdiLink::ListDeviceDescription(std::uint32_t index, std::string& description) {
    std::uint32_t location = 0;
    if (const UsbStatus s = ListDeviceLocation(index, location); s != kUsbOk) return s;
    const UsbSession session;
    if (!session.Context()) return kUsbDeviceNotFound;
    const DeviceList devices(session.Context());
    libusb_device* device = devices.BridgeAt(location);
    if (!device) return devices.Error() != 0 ? FromLibusb(devices.Error()) : kUsbDeviceNotFound;
    libusb_device_descriptor d{};
    if (const int rc = libusb_get_device_descriptor(device, &d); rc != 0) return FromLibusb(rc);
    if (d.iProduct == 0) {  // no product string
        description.clear();
        return kUsbOk;
    }
    // Reading a string needs the device opened, though not claimed, so this
    // works while the device is open elsewhere; without permission the
    // kernel's copy names it.
    libusb_device_handle* opened = nullptr;
    if (const int rc = libusb_open(device, &opened); rc != 0)
        return rc == LIBUSB_ERROR_ACCESS && SysfsProduct(device, description) ? kUsbOk
                                                                              : FromLibusb(rc);
    std::array<unsigned char, 64> text{};
    const int length = libusb_get_string_descriptor_ascii(opened, d.iProduct, text.data(),
                                                          static_cast<int>(text.size()));
    libusb_close(opened);
    if (length < 0)
        return FromLibusb(length) == kUsbDeviceNotFound ? kUsbDeviceNotFound : kUsbIoError;
    description.assign(reinterpret_cast<const char*>(text.data()), std::min(length, 63));
    return kUsbOk;
}

UsbStatus FtdiLink::OpenByLocation(std::uint32_t location, UsbHandle& handle) {
    {
        std::lock_guard lock(mutex_);
        for (const auto& [h, device] : open_)
            if (device->Location() == location) return kUsbDeviceNotOpened;
    }
    // ftdi_new fails without a USB subsystem, where no device can be found.
    FtdiPtr ftdi(ftdi_new());
    if (!ftdi) return kUsbDeviceNotFound;
    {
        const DeviceList devices(ftdi->usb_ctx);
        libusb_device* device = devices.BridgeAt(location);
        if (!device) return devices.Error() != 0 ? FromLibusb(devices.Error()) : kUsbDeviceNotFound;
        // Detaches the kernel's serial driver, claims the interface and
        // resets the chip; any failure leaves the device to whoever has it.
        if (ftdi_usb_open_dev(ftdi.get(), device) < 0) {
            access_ = AccessOf(device);
            return kUsbDeviceNotOpened;
        }
    }
    auto opened = std::make_shared<Device>(std::move(ftdi), location);
    try {
        opened->StartReader();
    } catch (const std::system_error&) {
        return kUsbInsufficientResources;
    }
    access_ = InstrumentAccess::Granted;
    std::lock_guard lock(mutex_);
    handle = nextHandle_++;
    open_[handle] = std::move(opened);
    return kUsbOk;
}

InstrumentAccess FtdiLink::ProbeAccess(std::uint32_t index) {
    std::uint32_t location = 0;
    if (ListDeviceLocation(index, location) != kUsbOk) return InstrumentAccess::Granted;
    const UsbSession session;
    if (!session.Context()) return InstrumentAccess::Granted;
    const DeviceList devices(session.Context());
    libusb_device* device = devices.BridgeAt(location);
    return device ? AccessOf(device) : InstrumentAccess::Granted;
}

std::shared_ptr<FtdiLink::Device> FtdiLink::Find(UsbHandle h, UsbStatus& status) const {
    std::lock_guard lock(mutex_);
    const auto it = open_.find(h);
    if (it == open_.end()) {
        status = kUsbInvalidHandle;
        return nullptr;
    }
    status = it->second->Lost() ? kUsbIoError : kUsbOk;
    return status == kUsbOk ? it->second : nullptr;
}

template <typename Request>
UsbStatus FtdiLink::Control(UsbHandle h, Request request) {
    UsbStatus status = kUsbOk;
    const auto device = Find(h, status);
    if (!device) return status;
    std::lock_guard usb(device->usb);
    if (device->Closed()) return kUsbInvalidHandle;  // closed while this call waited
    if (device->Lost()) return kUsbIoError;
    return request(*device);
}

UsbStatus FtdiLink::ResetDevice(UsbHandle h) {
    return Control(h, [](Device& d) {
        const int rc = ftdi_usb_reset(d.Ftdi());
        d.Ring().Clear();
        return rc < 0 ? kUsbIoError : kUsbOk;
    });
}

UsbStatus FtdiLink::SetBaudRate(UsbHandle h, std::uint32_t baud) {
    return Control(h, [baud](Device& d) {
        if (baud == 0 || baud > static_cast<std::uint32_t>(std::numeric_limits<int>::max()))
            return kUsbInvalidParameter;
        const int rc = ftdi_set_baudrate(d.Ftdi(), static_cast<int>(baud));
        if (rc == -1) return kUsbInvalidParameter;  // no divisor for that rate
        return rc < 0 ? kUsbIoError : kUsbOk;
    });
}

UsbStatus FtdiLink::SetDataCharacteristics(UsbHandle h, std::uint8_t wordLength,
                                           std::uint8_t stopBits, std::uint8_t parity) {
    // The vendor library's values: 7 or 8 bits; stop bits 0 (one) or 2
    // (two); parity none, odd, even, mark, space as 0..4, as libftdi counts.
    const bool valid =
        (wordLength == 7 || wordLength == 8) && (stopBits == 0 || stopBits == 2) && parity <= 4;
    return Control(h, [&](Device& d) {
        if (!valid) return kUsbInvalidParameter;
        const int rc = ftdi_set_line_property(d.Ftdi(), wordLength == 7 ? BITS_7 : BITS_8,
                                              stopBits == 2 ? STOP_BIT_2 : STOP_BIT_1,
                                              static_cast<ftdi_parity_type>(parity));
        return rc < 0 ? kUsbIoError : kUsbOk;
    });
}

UsbStatus FtdiLink::SetFlowControl(UsbHandle h, std::uint16_t flow, std::uint8_t xon,
                                   std::uint8_t xoff) {
    // The vendor library's flow values are the chip's register values.
    return Control(h, [&](Device& d) {
        int rc = 0;
        switch (flow) {
            case SIO_DISABLE_FLOW_CTRL:
            case SIO_RTS_CTS_HS:
            case SIO_DTR_DSR_HS:
                rc = ftdi_setflowctrl(d.Ftdi(), flow);
                break;
            case SIO_XON_XOFF_HS:
                rc = ftdi_setflowctrl_xonxoff(d.Ftdi(), xon, xoff);
                break;
            default:
                return kUsbInvalidParameter;
        }
        return rc < 0 ? kUsbIoError : kUsbOk;
    });
}

UsbStatus FtdiLink::SetTimeouts(UsbHandle h, std::uint32_t, std::uint32_t writeMs) {
    return Control(h, [writeMs](Device& d) {
        d.SetWriteTimeout(writeMs == 0 ? kDefaultWriteTimeoutMs : writeMs);
        return kUsbOk;
    });
}

UsbStatus FtdiLink::SetLatencyTimer(UsbHandle h, std::uint8_t ms) {
    return Control(h, [ms](Device& d) {
        const int rc = ftdi_set_latency_timer(d.Ftdi(), std::max<std::uint8_t>(ms, 1));
        return rc < 0 ? kUsbIoError : kUsbOk;
    });
}

UsbStatus FtdiLink::SetEventNotification(UsbHandle h, std::uint32_t mask, ManualResetEvent* event) {
    UsbStatus status = kUsbOk;
    if (const auto d = Find(h, status)) d->SetEvent((mask & kEventRxChar) ? event : nullptr);
    return status;
}

UsbStatus FtdiLink::Purge(UsbHandle h, std::uint32_t mask) {
    return Control(h, [mask](Device& d) {
        int rc = 0;
        if (mask & kPurgeRx) {
            // The chip's buffer first, then the ring: the epoch change voids
            // the batch the reader is fetching now.
            rc = ftdi_tciflush(d.Ftdi());
            d.Ring().Clear();
        }
        if (mask & kPurgeTx) rc = std::min(rc, ftdi_tcoflush(d.Ftdi()));
        return rc < 0 ? kUsbIoError : kUsbOk;
    });
}

UsbStatus FtdiLink::GetQueueStatus(UsbHandle h, std::uint32_t& rxBytes) {
    rxBytes = 0;
    UsbStatus status = kUsbOk;
    if (const auto d = Find(h, status)) rxBytes = static_cast<std::uint32_t>(d->Ring().Size());
    return status;
}

UsbStatus FtdiLink::GetStatus(UsbHandle h, std::uint32_t& rxBytes, std::uint32_t& txBytes,
                              std::uint32_t& eventStatus) {
    rxBytes = txBytes = eventStatus = 0;
    UsbStatus status = kUsbOk;
    if (const auto d = Find(h, status)) {
        rxBytes = static_cast<std::uint32_t>(d->Ring().Size());
        eventStatus = rxBytes ? kEventRxChar : 0;
    }
    return status;
}

UsbStatus FtdiLink::Read(UsbHandle h, std::uint8_t* buffer, std::uint32_t length,
                         std::uint32_t& bytesRead) {
    bytesRead = 0;
    UsbStatus status = kUsbOk;
    if (const auto d = Find(h, status))
        bytesRead = static_cast<std::uint32_t>(d->Ring().Take(buffer, length));
    return status;
}

UsbStatus FtdiLink::Write(UsbHandle h, const std::uint8_t* buffer, std::uint32_t length,
                          std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    return Control(h, [&](Device& d) { return d.Write(buffer, length, bytesWritten); });
}

UsbStatus FtdiLink::ResetPort(UsbHandle h) {
    return Control(h, [](Device& d) {
        d.StopReader();
        const int rc = libusb_reset_device(d.Ftdi()->usb_dev);
        if (rc != LIBUSB_SUCCESS) {
            // Gone, or back as another device: only a reopen helps.
            d.MarkLost();
            return kUsbIoError;
        }
        try {
            d.StartReader();
        } catch (const std::system_error&) {
            d.MarkLost();
            return kUsbInsufficientResources;
        }
        return kUsbOk;
    });
}

UsbStatus FtdiLink::Close(UsbHandle h) {
    std::shared_ptr<Device> closing;
    {
        std::lock_guard lock(mutex_);
        const auto it = open_.find(h);
        if (it == open_.end()) return kUsbInvalidHandle;
        closing = std::move(it->second);
        open_.erase(it);
    }
    std::lock_guard usb(closing->usb);
    closing->StopReader();
    closing->MarkClosed();
    const bool lost = closing->Lost();
    const int rc = ftdi_usb_close(closing->Ftdi());
    // Released either way; a lost device still reports the loss.
    return lost || rc < 0 ? kUsbIoError : kUsbOk;
}

}  // namespace qx40
