#include "device/usb/tcp_link.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "device/manual_reset_event.h"
#include "device/usb/byte_ring.h"

namespace qx40 {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr std::size_t kReaderChunkBytes = 65536;

// Milliseconds left until `deadline` for poll, rounded up so that a wait
// never ends before it; 0 once it has passed.
int MillisecondsLeft(steady_clock::time_point deadline) {
    const auto left = std::chrono::ceil<milliseconds>(deadline - steady_clock::now()).count();
    return static_cast<int>(std::clamp<decltype(left)>(left, 0, 1 << 30));
}

bool FinishConnect(int fd, const addrinfo& address, steady_clock::time_point deadline) {
    if (::connect(fd, address.ai_addr, address.ai_addrlen) == 0) return true;
    if (errno != EINPROGRESS && errno != EINTR) return false;
    for (;;) {
        const int left = MillisecondsLeft(deadline);
        if (left == 0) return false;
        pollfd p{fd, POLLOUT, 0};
        const int ready = ::poll(&p, 1, left);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        int error = 0;
        socklen_t size = sizeof error;
        return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }
}

// A connected, blocking socket, or -1. Every address of the host is tried
// within the one timeout.
int Connect(const std::string& host, std::uint16_t port, milliseconds timeout) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return -1;
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, ::freeaddrinfo);
    const auto deadline = steady_clock::now() + timeout;
    for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
        const int fd =
            ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) continue;
        if (FinishConnect(fd, *a, deadline)) {
            // The reader blocks in recv; writes ask for no waiting per call.
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            const int on = 1;
            // Commands are small and the instrument waits for them.
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            return fd;
        }
        ::close(fd);
    }
    return -1;
}

// False once the peer has closed the connection or it has failed; bytes
// waiting to be read are left where they are.
bool StillConnected(int fd) {
    for (;;) {
        std::uint8_t byte = 0;
        const ssize_t n = ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
        if (n > 0) return true;
        if (n == 0) return false;
        if (errno == EINTR) continue;
        return errno == EAGAIN || errno == EWOULDBLOCK;
    }
}

}  // namespace

// One open connection: the socket, its receive ring and the reader thread.
class TcpLink::Connection {
public:
    Connection(int socket, std::size_t ringBytes)
        : fd_(socket), ring_(ringBytes), chunk_(kReaderChunkBytes) {}
    ~Connection() {
        Stop();
        ::close(fd_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Throws std::system_error when no thread can be started.
    void Start() {
        reader_ = std::thread([this] { Run(); });
    }

    // Ends the reader thread; the socket stays open until the last user of
    // the connection lets go of it.
    void Stop() {
        stopping_ = true;
        ::shutdown(fd_, SHUT_RDWR);  // wakes a reader blocked in recv
        ring_.Clear();               // wakes a reader waiting for room
        if (reader_.joinable()) reader_.join();
    }

    bool Lost() const { return lost_; }
    void SetEvent(ManualResetEvent* event) { event_ = event; }
    ByteRing& Ring() { return ring_; }

    // Drops every byte received so far: those in the ring, those the reader
    // is fetching and those still waiting in the socket.
    void PurgeReceive() {
        int waiting = 0;
        if (::ioctl(fd_, FIONREAD, &waiting) == 0) {
            std::array<std::uint8_t, 4096> scratch;
            while (waiting > 0) {
                const ssize_t n =
                    ::recv(fd_, scratch.data(), std::min<std::size_t>(scratch.size(), waiting),
                           MSG_DONTWAIT);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) break;  // the reader sees a closed or failed connection itself
                waiting -= static_cast<int>(n);
            }
        }
        ring_.Clear();
    }

    UsbStatus Write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written,
                    milliseconds stallTimeout) {
        auto deadline = steady_clock::now() + stallTimeout;
        while (written < length) {
            const ssize_t n =
                ::send(fd_, buffer + written, length - written, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0) {
                written += static_cast<std::uint32_t>(n);
                deadline = steady_clock::now() + stallTimeout;
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                const int left = MillisecondsLeft(deadline);
                if (left == 0) return kUsbOk;  // the caller writes the rest again
                pollfd p{fd_, POLLOUT, 0};
                ::poll(&p, 1, left);
                continue;
            }
            lost_ = true;
            return kUsbIoError;
        }
        return kUsbOk;
    }

private:
    void Run() {
        for (;;) {
            const ByteRing::Room room = ring_.WaitForRoom();
            if (stopping_) return;
            const ssize_t n = ::recv(fd_, chunk_.data(), std::min(room.bytes, chunk_.size()), 0);
            if (n > 0) {
                if (ring_.Append(chunk_.data(), static_cast<std::size_t>(n), room.epoch) > 0) {
                    if (ManualResetEvent* event = event_.load()) event->Set();
                }
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (!stopping_) lost_ = true;  // the peer closed, or the connection failed
            return;
        }
    }

    const int fd_;
    ByteRing ring_;
    std::vector<std::uint8_t> chunk_;  // the reader's, allocated once
    std::atomic<bool> stopping_{false};
    std::atomic<bool> lost_{false};
    std::atomic<ManualResetEvent*> event_{nullptr};
    std::thread reader_;
};

TcpLink::TcpLink(std::string host, std::uint16_t port, TcpLinkOptions options)
    : host_(std::move(host)), port_(port), options_(options) {}

TcpLink::~TcpLink() {
    std::shared_ptr<Connection> open;
    {
        std::lock_guard lock(mutex_);
        open = std::move(open_);
        DropListingConnectionLocked();
    }
    if (open) open->Stop();
}

void TcpLink::DropListingConnectionLocked() {
    if (listingSocket_ >= 0) ::close(listingSocket_);
    listingSocket_ = -1;
}

bool TcpLink::DeviceVisibleLocked() {
    if (open_) return !open_->Lost();
    if (listingSocket_ >= 0 && StillConnected(listingSocket_)) return true;
    DropListingConnectionLocked();
    listingSocket_ = Connect(host_, port_, options_.ConnectTimeout);
    return listingSocket_ >= 0;
}

UsbStatus TcpLink::ListDeviceCount(std::uint32_t& count) {
    std::lock_guard lock(mutex_);
    count = DeviceVisibleLocked() ? 1 : 0;
    return kUsbOk;
}

UsbStatus TcpLink::ListDeviceLocation(std::uint32_t index, std::uint32_t& location) {
    std::lock_guard lock(mutex_);
    if (index != 0 || !DeviceVisibleLocked()) return kUsbDeviceNotFound;
    location = kLocation;
    return kUsbOk;
}

UsbStatus TcpLink::ListDeviceDescription(std::uint32_t index, std::string& description) {
    std::lock_guard lock(mutex_);
    if (index != 0 || !DeviceVisibleLocked()) return kUsbDeviceNotFound;
    description = kDescription;
    return kUsbOk;
}

UsbStatus TcpLink::OpenByLocation(std::uint32_t location, UsbHandle& handle) {
    if (location != kLocation) return kUsbDeviceNotFound;
    std::lock_guard lock(mutex_);
    if (open_) return kUsbDeviceNotOpened;  // one connection at a time
    int fd = -1;
    if (listingSocket_ >= 0 && StillConnected(listingSocket_)) {
        fd = std::exchange(listingSocket_, -1);
    } else {
        DropListingConnectionLocked();
        fd = Connect(host_, port_, options_.ConnectTimeout);
    }
    if (fd < 0) return kUsbDeviceNotFound;
    auto connection = std::make_shared<Connection>(fd, options_.ReceiveBufferBytes);
    try {
        connection->Start();
    } catch (const std::system_error&) {
        return kUsbInsufficientResources;
    }
    open_ = std::move(connection);
    openHandle_ = handle = nextHandle_++;
    return kUsbOk;
}

std::shared_ptr<TcpLink::Connection> TcpLink::Find(UsbHandle h, UsbStatus& status) const {
    std::lock_guard lock(mutex_);
    if (h == kNoHandle || h != openHandle_ || !open_) {
        status = kUsbInvalidHandle;
        return nullptr;
    }
    if (open_->Lost()) {
        status = kUsbIoError;
        return nullptr;
    }
    status = kUsbOk;
    return open_;
}

UsbStatus TcpLink::CheckOnly(UsbHandle h) const {
    UsbStatus status = kUsbOk;
    Find(h, status);
    return status;
}

// A TCP stream has no line to configure and nothing to reset.
UsbStatus TcpLink::ResetDevice(UsbHandle h) {
    return CheckOnly(h);
}
UsbStatus TcpLink::ResetPort(UsbHandle h) {
    return CheckOnly(h);
}
UsbStatus TcpLink::SetBaudRate(UsbHandle h, std::uint32_t) {
    return CheckOnly(h);
}
UsbStatus TcpLink::SetDataCharacteristics(UsbHandle h, std::uint8_t, std::uint8_t, std::uint8_t) {
    return CheckOnly(h);
}
UsbStatus TcpLink::SetFlowControl(UsbHandle h, std::uint16_t, std::uint8_t, std::uint8_t) {
    return CheckOnly(h);
}
// Reads never wait, and writes use the timeout given at construction.
UsbStatus TcpLink::SetTimeouts(UsbHandle h, std::uint32_t, std::uint32_t) {
    return CheckOnly(h);
}
UsbStatus TcpLink::SetLatencyTimer(UsbHandle h, std::uint8_t) {
    return CheckOnly(h);
}

UsbStatus TcpLink::SetEventNotification(UsbHandle h, std::uint32_t mask, ManualResetEvent* event) {
    UsbStatus status = kUsbOk;
    if (const auto c = Find(h, status)) c->SetEvent((mask & kEventRxChar) ? event : nullptr);
    return status;
}

UsbStatus TcpLink::Purge(UsbHandle h, std::uint32_t mask) {
    UsbStatus status = kUsbOk;
    const auto c = Find(h, status);
    if (c && (mask & kPurgeRx)) c->PurgeReceive();
    return status;  // written bytes are with the kernel already: nothing to purge
}

UsbStatus TcpLink::GetQueueStatus(UsbHandle h, std::uint32_t& rxBytes) {
    rxBytes = 0;
    UsbStatus status = kUsbOk;
    if (const auto c = Find(h, status)) rxBytes = static_cast<std::uint32_t>(c->Ring().Size());
    return status;
}

UsbStatus TcpLink::GetStatus(UsbHandle h, std::uint32_t& rxBytes, std::uint32_t& txBytes,
                             std::uint32_t& eventStatus) {
    rxBytes = txBytes = eventStatus = 0;
    UsbStatus status = kUsbOk;
    if (const auto c = Find(h, status)) {
        rxBytes = static_cast<std::uint32_t>(c->Ring().Size());
        eventStatus = rxBytes ? kEventRxChar : 0;
    }
    return status;
}

UsbStatus TcpLink::Read(UsbHandle h, std::uint8_t* buffer, std::uint32_t length,
                        std::uint32_t& bytesRead) {
    bytesRead = 0;
    UsbStatus status = kUsbOk;
    if (const auto c = Find(h, status))
        bytesRead = static_cast<std::uint32_t>(c->Ring().Take(buffer, length));
    return status;
}

UsbStatus TcpLink::Write(UsbHandle h, const std::uint8_t* buffer, std::uint32_t length,
                         std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    UsbStatus status = kUsbOk;
    if (const auto c = Find(h, status))
        status = c->Write(buffer, length, bytesWritten, options_.WriteTimeout);
    return status;
}

UsbStatus TcpLink::Close(UsbHandle h) {
    std::shared_ptr<Connection> closing;
    {
        std::lock_guard lock(mutex_);
        if (h == kNoHandle || h != openHandle_ || !open_) return kUsbInvalidHandle;
        closing = std::move(open_);
        openHandle_ = kNoHandle;
    }
    const bool lost = closing->Lost();
    closing->Stop();
    // Released either way; a lost connection still reports the loss.
    return lost ? kUsbIoError : kUsbOk;
}

}  // namespace qx40
