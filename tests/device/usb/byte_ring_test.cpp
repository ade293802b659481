// The receive ring of the link backends: order across the wrap, a full ring
// refusing bytes instead of overwriting, purge and its epoch, and one
// producer with one consumer on two threads.
#include "device/usb/byte_ring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <thread>
#include <vector>

namespace qx40 {
namespace {

std::vector<std::uint8_t> Counting(std::size_t n, std::uint8_t first = 0) {
    std::vector<std::uint8_t> bytes(n);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

std::vector<std::uint8_t> TakeAll(ByteRing& ring) {
    std::vector<std::uint8_t> out(ring.Capacity());
    out.resize(ring.Take(out.data(), out.size()));
    return out;
}

TEST(ByteRing, KeepsOrderAcrossTheWrap) {
    ByteRing ring(8);
    const std::uint64_t epoch = ring.FreeRoom().epoch;
    const auto first = Counting(6);
    ASSERT_EQ(ring.Append(first.data(), first.size(), epoch), 6u);
    std::uint8_t out[8] = {};
    ASSERT_EQ(ring.Take(out, 4), 4u);
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 4), Counting(4));

    const auto second = Counting(6, 6);  // 2 bytes at the end, 4 at the start
    ASSERT_EQ(ring.Append(second.data(), second.size(), epoch), 6u);
    EXPECT_EQ(ring.Size(), 8u);
    EXPECT_EQ(TakeAll(ring), Counting(8, 4));
    EXPECT_EQ(ring.Size(), 0u);
}

TEST(ByteRing, FullRingStoresOnlyWhatFitsAndKeepsItsBytes) {
    ByteRing ring(8);
    const std::uint64_t epoch = ring.FreeRoom().epoch;
    const auto bytes = Counting(10);
    EXPECT_EQ(ring.Append(bytes.data(), bytes.size(), epoch), 8u);
    EXPECT_EQ(ring.FreeRoom().bytes, 0u);
    EXPECT_EQ(ring.Append(bytes.data(), 1, epoch), 0u);
    EXPECT_EQ(TakeAll(ring), Counting(8));
}

TEST(ByteRing, TakingMoreThanHeldReturnsWhatIsThere) {
    ByteRing ring(8);
    std::uint8_t out[8] = {};
    EXPECT_EQ(ring.Take(out, sizeof out), 0u);
    const auto bytes = Counting(3, 40);
    ring.Append(bytes.data(), bytes.size(), ring.FreeRoom().epoch);
    ASSERT_EQ(ring.Take(out, sizeof out), 3u);
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 3), bytes);
}

TEST(ByteRing, ClearDropsHeldBytesAndVoidsABatchFetchedBeforeIt) {
    ByteRing ring(8);
    const ByteRing::Room before = ring.WaitForRoom();
    const auto old = Counting(5);
    ring.Append(old.data(), old.size(), before.epoch);

    ring.Clear();
    EXPECT_EQ(ring.Size(), 0u);
    EXPECT_EQ(ring.Append(old.data(), old.size(), before.epoch), 0u)
        << "bytes received before the purge";

    const ByteRing::Room after = ring.WaitForRoom();
    EXPECT_EQ(after.bytes, 8u);
    const auto fresh = Counting(2, 100);
    EXPECT_EQ(ring.Append(fresh.data(), fresh.size(), after.epoch), 2u);
    EXPECT_EQ(TakeAll(ring), fresh);
}

TEST(ByteRing, WaitingForMoreRoomThanTheRingHasAsksForAnEmptyRing) {
    ByteRing ring(8);
    EXPECT_EQ(ring.WaitForRoom(100).bytes, 8u);
}

TEST(ByteRing, ProducerWaitsForRoomAndConsumerSeesEveryByteInOrder) {
    constexpr std::size_t kTotal = 200000;
    ByteRing ring(61);  // small and odd, so that pieces wrap at every position
    std::thread producer([&] {
        std::uint8_t piece[23];
        std::size_t sent = 0;
        while (sent < kTotal) {
            const ByteRing::Room room = ring.WaitForRoom();
            const std::size_t n = std::min({room.bytes, sizeof piece, kTotal - sent});
            for (std::size_t i = 0; i < n; ++i)
                piece[i] = static_cast<std::uint8_t>((sent + i) % 251);
            sent += ring.Append(piece, n, room.epoch);
        }
    });
    std::size_t received = 0;
    std::size_t misordered = 0;
    std::uint8_t out[17];
    while (received < kTotal) {
        const std::size_t n = ring.Take(out, sizeof out);
        if (n == 0) std::this_thread::yield();
        for (std::size_t i = 0; i < n; ++i)
            if (out[i] != static_cast<std::uint8_t>((received + i) % 251)) ++misordered;
        received += n;
    }
    producer.join();
    EXPECT_EQ(misordered, 0u);
    EXPECT_EQ(ring.Size(), 0u);
}

}  // namespace
}  // namespace qx40
