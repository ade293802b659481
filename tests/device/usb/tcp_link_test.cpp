// The TCP backend against a listening socket on 127.0.0.1 that the test
// runs: listing with and without a server, bytes both ways, reads in
// pieces, the wake event, purge, a full ring holding the peer back, partial
// writes, a peer that closes, and handles.
#include "device/usb/tcp_link.h"

#include <arpa/inet.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <numeric>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "device/manual_reset_event.h"
#include "device/link_calls.h"

namespace qx40 {
namespace {

using namespace std::chrono_literals;

// Only a guard against a hang; no test expects to come near it.
constexpr auto kFailsafe = 10s;

bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kFailsafe;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

std::vector<std::uint8_t> Pattern(std::size_t n, std::uint8_t seed = 0) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>((i * 7 + seed) % 253);
    return bytes;
}

// The instrument's side: one listening socket and the connection accepted
// from it.
class LoopbackServer {
public:
    LoopbackServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        // A fixed receive buffer (accepted sockets inherit it) keeps the
        // kernel from growing it, so that a peer that does not read stalls
        // the link's writes after a known amount.
        const int receiveBuffer = 256 * 1024;
        ::setsockopt(listener_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            ::listen(listener_, 4) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            ADD_FAILURE() << "no listening socket on 127.0.0.1";
        port_ = ntohs(address.sin_port);
    }
    ~LoopbackServer() {
        ClosePeer();
        StopListening();
    }

    std::uint16_t Port() const { return port_; }
    void StopListening() {
        if (listener_ >= 0) ::close(listener_);
        listener_ = -1;
    }
    bool ConnectionWaiting() const {
        pollfd p{listener_, POLLIN, 0};
        return ::poll(&p, 1, 0) > 0;
    }
    bool Accept() {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(std::chrono::milliseconds(kFailsafe).count())) <= 0)
            return false;
        ClosePeer();
        peer_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        return peer_ >= 0;
    }
    void ClosePeer() {
        if (peer_ >= 0) ::close(peer_);
        peer_ = -1;
    }
    // Returns once the bytes are in the link's socket (acknowledged), so a
    // test knows they were received before its next step.
    void Send(std::span<const std::uint8_t> bytes) {
        SendOnly(bytes);
        ASSERT_TRUE(WaitUntil([&] {
            int unacknowledged = 0;
            return ::ioctl(peer_, SIOCOUTQ, &unacknowledged) == 0 && unacknowledged == 0;
        }));
    }
    void SendOnly(std::span<const std::uint8_t> bytes) {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n = ::send(peer_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) {
                ADD_FAILURE() << "server send failed";
                return;
            }
            sent += static_cast<std::size_t>(n);
        }
    }
    std::vector<std::uint8_t> Receive(std::size_t n) {
        std::vector<std::uint8_t> bytes(n);
        std::size_t got = 0;
        while (got < n) {
            pollfd p{peer_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(std::chrono::milliseconds(kFailsafe).count())) <= 0)
                break;
            const ssize_t r = ::recv(peer_, bytes.data() + got, n - got, 0);
            if (r <= 0) break;
            got += static_cast<std::size_t>(r);
        }
        bytes.resize(got);
        return bytes;
    }

private:
    int listener_ = -1;
    int peer_ = -1;
    std::uint16_t port_ = 0;
};

class TcpLinkTest : public ::testing::Test {
protected:
    // Lists, opens and accepts, with the wake event registered.
    void Open(TcpLinkOptions options = {}) {
        link_ = std::make_unique<TcpLink>("127.0.0.1", server_.Port(), options);
        std::uint32_t count = 0;
        ASSERT_EQ(link_->ListDeviceCount(count), kUsbOk);
        ASSERT_EQ(count, 1u);
        ASSERT_EQ(link_->OpenByLocation(TcpLink::kLocation, h_), kUsbOk);
        ASSERT_TRUE(server_.Accept());
        ASSERT_EQ(link_->SetEventNotification(h_, kEventRxChar, &event_), kUsbOk);
    }
    std::uint32_t Queued() {
        std::uint32_t rx = 0;
        EXPECT_EQ(link_->GetQueueStatus(h_, rx), kUsbOk);
        return rx;
    }
    bool WaitQueued(std::uint32_t n) {
        return WaitUntil([&] { return Queued() >= n; });
    }
    std::vector<std::uint8_t> Read(std::uint32_t length) {
        std::vector<std::uint8_t> bytes(length);
        std::uint32_t got = 0;
        EXPECT_EQ(link_->Read(h_, bytes.data(), length, got), kUsbOk);
        bytes.resize(got);
        return bytes;
    }
    UsbStatus Write(std::span<const std::uint8_t> bytes, std::uint32_t& written) {
        return link_->Write(h_, bytes.data(), static_cast<std::uint32_t>(bytes.size()), written);
    }

    LoopbackServer server_;
    ManualResetEvent event_;  // outlives the link, whose reader sets it
    std::unique_ptr<TcpLink> link_;
    UsbHandle h_ = kNoHandle;
};

// --- Listing ---------------------------------------------------------------

TEST(TcpLink, ListsNothingWhenNobodyListens) {
    std::uint16_t port = 0;
    {
        LoopbackServer closed;  // a port that refuses connections once this closes
        port = closed.Port();
    }
    TcpLink link("127.0.0.1", port);
    EXPECT_EQ(link.Kind(), LinkKind::Network);
    std::uint32_t count = 7, location = 0;
    std::string description;
    EXPECT_EQ(link.ListDeviceCount(count), kUsbOk);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(link.ListDeviceLocation(0, location), kUsbDeviceNotFound);
    EXPECT_EQ(link.ListDeviceDescription(0, description), kUsbDeviceNotFound);
    UsbHandle h = kNoHandle;
    EXPECT_EQ(link.OpenByLocation(TcpLink::kLocation, h), kUsbDeviceNotFound);
}

TEST(TcpLink, UnknownHostListsNothing) {
    TcpLink link("host.invalid", 1);
    std::uint32_t count = 7;
    EXPECT_EQ(link.ListDeviceCount(count), kUsbOk);
    EXPECT_EQ(count, 0u);
}

TEST_F(TcpLinkTest, ListsTheInstrumentAndOpensOverTheListingConnection) {
    link_ = std::make_unique<TcpLink>("127.0.0.1", server_.Port());
    std::uint32_t count = 0, location = 0;
    std::string description;
    ASSERT_EQ(link_->ListDeviceCount(count), kUsbOk);
    EXPECT_EQ(count, 1u);
    ASSERT_EQ(link_->ListDeviceLocation(0, location), kUsbOk);
    EXPECT_EQ(location, TcpLink::kLocation);
    ASSERT_EQ(link_->ListDeviceDescription(0, description), kUsbOk);
    EXPECT_EQ(description, "Digital Oscilloscope QX40");
    EXPECT_EQ(link_->ListDeviceLocation(1, location), kUsbDeviceNotFound);
    EXPECT_EQ(link_->ListDeviceDescription(1, description), kUsbDeviceNotFound);

    EXPECT_EQ(link_->OpenByLocation(TcpLink::kLocation + 1, h_), kUsbDeviceNotFound);
    ASSERT_EQ(link_->OpenByLocation(TcpLink::kLocation, h_), kUsbOk);
    EXPECT_NE(h_, kNoHandle);
    ASSERT_TRUE(server_.Accept());
    EXPECT_FALSE(server_.ConnectionWaiting()) << "the open made a second connection";

    UsbHandle second = kNoHandle;
    EXPECT_EQ(link_->OpenByLocation(TcpLink::kLocation, second), kUsbDeviceNotOpened);
    EXPECT_EQ(link_->ListDeviceCount(count), kUsbOk);
    EXPECT_EQ(count, 1u) << "the open device is still listed";
    EXPECT_FALSE(server_.ConnectionWaiting());

    // The line settings the program makes after opening are accepted.
    for (const auto& [op, status] : link_test::CallEveryHandleOperation(*link_, h_))
        EXPECT_EQ(status, kUsbOk) << op;
}

TEST_F(TcpLinkTest, OpenConnectsWhenTheListingConnectionWasClosed) {
    link_ = std::make_unique<TcpLink>("127.0.0.1", server_.Port());
    std::uint32_t count = 0;
    ASSERT_EQ(link_->ListDeviceCount(count), kUsbOk);
    ASSERT_TRUE(server_.Accept());
    server_.ClosePeer();  // the peer drops the listing connection
    ASSERT_EQ(link_->OpenByLocation(TcpLink::kLocation, h_), kUsbOk);
    ASSERT_TRUE(server_.Accept());
    const auto bytes = Pattern(3);
    server_.Send(bytes);
    ASSERT_TRUE(WaitQueued(3));
    EXPECT_EQ(Read(3), bytes);
}

// --- Bytes -----------------------------------------------------------------

TEST_F(TcpLinkTest, BytesTravelBothWaysAndReadsTakeThemInPieces) {
    Open();
    const auto command = Pattern(300, 1);
    std::uint32_t written = 0;
    ASSERT_EQ(Write(command, written), kUsbOk);
    EXPECT_EQ(written, command.size());
    EXPECT_EQ(server_.Receive(command.size()), command);

    // A frame that arrives in two pieces is read in three.
    const auto frame = Pattern(1000, 2);
    server_.Send(std::span(frame).first(600));
    server_.Send(std::span(frame).subspan(600));
    ASSERT_TRUE(WaitQueued(1000));
    std::uint32_t rx = 0, tx = 0, events = 0;
    ASSERT_EQ(link_->GetStatus(h_, rx, tx, events), kUsbOk);
    EXPECT_EQ(rx, 1000u);
    EXPECT_EQ(tx, 0u);
    EXPECT_EQ(events, kEventRxChar);

    std::vector<std::uint8_t> got = Read(300);
    EXPECT_EQ(got.size(), 300u);
    const auto more = Read(300);
    got.insert(got.end(), more.begin(), more.end());
    const auto rest = Read(65000);
    EXPECT_EQ(rest.size(), 400u) << "a read returns what is there";
    got.insert(got.end(), rest.begin(), rest.end());
    EXPECT_EQ(got, frame);

    EXPECT_EQ(Read(10).size(), 0u) << "an empty queue reads nothing without waiting";
    ASSERT_EQ(link_->GetStatus(h_, rx, tx, events), kUsbOk);
    EXPECT_EQ(rx, 0u);
    EXPECT_EQ(events, 0u);
}

TEST_F(TcpLinkTest, EventIsSetWhenBytesArriveOnlyWhileRegistered) {
    Open();
    ASSERT_EQ(link_->SetEventNotification(h_, 0, &event_), kUsbOk);
    event_.Reset();
    const std::uint8_t one[1] = {0x5A};
    server_.Send(one);
    ASSERT_TRUE(WaitQueued(1));
    EXPECT_FALSE(event_.IsSet()) << "notification was switched off";

    ASSERT_EQ(link_->SetEventNotification(h_, kEventRxChar, &event_), kUsbOk);
    server_.SendOnly(one);
    EXPECT_TRUE(event_.Wait(kFailsafe));
    ASSERT_TRUE(WaitQueued(2));
}

TEST_F(TcpLinkTest, PurgeDropsEveryByteReceivedButNotRead) {
    // A ring smaller than what the peer sends: some bytes wait in the ring,
    // the rest in the socket; the purge drops both.
    Open({.ReceiveBufferBytes = 64});
    server_.Send(Pattern(1000, 3));
    ASSERT_TRUE(WaitQueued(64));
    ASSERT_EQ(link_->Purge(h_, kPurgeRx), kUsbOk);
    EXPECT_EQ(Queued(), 0u);

    const auto fresh = Pattern(10, 99);
    server_.Send(fresh);
    ASSERT_TRUE(WaitQueued(10));
    EXPECT_EQ(Read(64), fresh);

    // A transmit purge leaves received bytes alone.
    server_.Send(fresh);
    ASSERT_TRUE(WaitQueued(10));
    ASSERT_EQ(link_->Purge(h_, kPurgeTx), kUsbOk);
    EXPECT_EQ(Queued(), 10u);
}

TEST_F(TcpLinkTest, FullRingHoldsThePeerBackAndLosesNothing) {
    Open({.ReceiveBufferBytes = 64});
    const auto stream = Pattern(100000, 5);
    std::thread peer([&] { server_.SendOnly(stream); });
    std::vector<std::uint8_t> got;
    std::uint32_t largestQueue = 0;
    const auto deadline = std::chrono::steady_clock::now() + kFailsafe;
    while (got.size() < stream.size() && std::chrono::steady_clock::now() < deadline) {
        largestQueue = std::max(largestQueue, Queued());
        const auto piece = Read(100);
        if (piece.empty()) std::this_thread::yield();
        got.insert(got.end(), piece.begin(), piece.end());
    }
    const bool complete = got.size() == stream.size();
    peer.join();
    ASSERT_TRUE(complete);
    EXPECT_LE(largestQueue, 64u);
    EXPECT_EQ(got, stream);
}

TEST_F(TcpLinkTest, WriteThatStallsReportsTheBytesWritten) {
    Open({.WriteTimeout = 20ms});
    // More than the kernel buffers of both sockets hold while the peer does
    // not read (the sender's grows to 4 MiB by default).
    const auto big = Pattern(std::size_t{16} << 20, 6);
    std::uint32_t written = 0;
    ASSERT_EQ(Write(big, written), kUsbOk);
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, big.size());
    EXPECT_EQ(server_.Receive(written),
              std::vector<std::uint8_t>(big.begin(), big.begin() + written));
}

// --- Loss and handles -----------------------------------------------------

TEST_F(TcpLinkTest, PeerCloseMakesEveryLaterCallFailWithIoError) {
    Open();
    server_.Send(Pattern(10));  // received, never read: lost with the link
    server_.ClosePeer();
    ASSERT_TRUE(WaitUntil([&] {
        std::uint32_t rx = 0;
        return link_->GetQueueStatus(h_, rx) == kUsbIoError;
    }));
    std::uint32_t count = 9;
    EXPECT_EQ(link_->ListDeviceCount(count), kUsbOk);
    EXPECT_EQ(count, 0u) << "a lost instrument is not listed";

    for (const auto& [op, status] : link_test::CallEveryHandleOperation(*link_, h_))
        EXPECT_EQ(status, kUsbIoError) << op;
    EXPECT_EQ(link_->Close(h_), kUsbInvalidHandle) << "the first Close released the handle";

    // The instrument is back: listing and opening connect again.
    ASSERT_EQ(link_->ListDeviceCount(count), kUsbOk);
    EXPECT_EQ(count, 1u);
    UsbHandle again = kNoHandle;
    ASSERT_EQ(link_->OpenByLocation(TcpLink::kLocation, again), kUsbOk);
    EXPECT_NE(again, h_) << "handles are not reused";
    ASSERT_TRUE(server_.Accept());
    const std::uint8_t byte[1] = {0x42};
    std::uint32_t written = 0;
    EXPECT_EQ(link_->Write(again, byte, 1, written), kUsbOk);
    EXPECT_EQ(server_.Receive(1), std::vector<std::uint8_t>{0x42});
}

TEST_F(TcpLinkTest, CallsWithUnknownHandlesReturnInvalidHandle) {
    link_ = std::make_unique<TcpLink>("127.0.0.1", server_.Port());
    for (const UsbHandle h : {kNoHandle, UsbHandle{1}, UsbHandle{0xDEADBEEF}})
        for (const auto& [op, status] : link_test::CallEveryHandleOperation(*link_, h))
            EXPECT_EQ(status, kUsbInvalidHandle)
                << op << " with handle " << h << " before any open";

    Open();
    for (const auto& [op, status] : link_test::CallEveryHandleOperation(*link_, h_ + 1))
        EXPECT_EQ(status, kUsbInvalidHandle) << op << " with another handle";
    ASSERT_EQ(link_->Close(h_), kUsbOk);
    for (const auto& [op, status] : link_test::CallEveryHandleOperation(*link_, h_))
        EXPECT_EQ(status, kUsbInvalidHandle) << op << " after Close";
}

}  // namespace
}  // namespace qx40
