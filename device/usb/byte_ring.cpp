#include "device/usb/byte_ring.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace qx40 {

ByteRing::ByteRing(std::size_t capacity) : storage_(capacity) {
    assert(capacity > 0);
}

ByteRing::Room ByteRing::WaitForRoom(std::size_t atLeast) {
    const std::size_t needed = std::min(std::max<std::size_t>(atLeast, 1), storage_.size());
    std::unique_lock lock(mutex_);
    room_.wait(lock, [&] { return storage_.size() - size_ >= needed; });
    return {storage_.size() - size_, epoch_};
}

ByteRing::Room ByteRing::FreeRoom() const {
    std::lock_guard lock(mutex_);
    return {storage_.size() - size_, epoch_};
}

std::size_t ByteRing::Append(const std::uint8_t* data, std::size_t length, std::uint64_t epoch) {
    std::lock_guard lock(mutex_);
    if (epoch != epoch_) return 0;
    const std::size_t capacity = storage_.size();
    const std::size_t n = std::min(length, capacity - size_);
    if (n == 0) return 0;
    const std::size_t tail = (head_ + size_) % capacity;
    const std::size_t first = std::min(n, capacity - tail);
    std::memcpy(storage_.data() + tail, data, first);
    std::memcpy(storage_.data(), data + first, n - first);
    size_ += n;
    return n;
}

std::size_t ByteRing::Take(std::uint8_t* out, std::size_t length) {
    std::lock_guard lock(mutex_);
    const std::size_t capacity = storage_.size();
    const std::size_t n = std::min(length, size_);
    if (n == 0) return 0;
    const std::size_t first = std::min(n, capacity - head_);
    std::memcpy(out, storage_.data() + head_, first);
    std::memcpy(out + first, storage_.data(), n - first);
    head_ = (head_ + n) % capacity;
    size_ -= n;
    room_.notify_all();
    return n;
}

void ByteRing::Clear() {
    std::lock_guard lock(mutex_);
    head_ = 0;
    size_ = 0;
    ++epoch_;
    room_.notify_all();
}

std::size_t ByteRing::Size() const {
    std::lock_guard lock(mutex_);
    return size_;
}

}  // namespace qx40
