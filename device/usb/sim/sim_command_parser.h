// The simulated instrument's command input. A command starts with 0xFA;
// its body (length L, segment count, segments, XOR checksum) arrives
// nibble-encoded, low nibble first, in any number of writes. A command is
// applied only when its length, its segments and its checksum all agree;
// anything else is counted and dropped. After an FPGA load command the
// parser takes the nibble-encoded configuration image instead.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qx40 {

inline constexpr std::uint8_t kSimSpaceRegisters = 0x7F;
inline constexpr std::uint8_t kSimSpaceCalibration = 0x80;
inline constexpr std::uint8_t kSimSpaceLoader = 0x81;

struct SimSegment {
    std::uint8_t space = 0;
    std::uint8_t start = 0;
    std::vector<std::uint8_t> data;
};

struct SimCommand {
    std::vector<SimSegment> segments;
    bool loadFpga = false;  // the loader segment: 0x81, address 0xAA, data 0x55
};

class SimCommandSink {
public:
    virtual ~SimCommandSink() = default;
    virtual void OnCommand(const SimCommand& command) = 0;
    virtual void OnRejected() = 0;
    // The image ended: complete (its first bytes are given) or broken off.
    virtual void OnImage(bool complete, std::span<const std::uint8_t> head) = 0;
};

class SimCommandParser {
public:
    static constexpr std::uint8_t kStart = 0xFA;
    static constexpr std::size_t kImageHeadBytes = 8;

    // Bytes as written by the PC.
    void Feed(std::span<const std::uint8_t> bytes, SimCommandSink& sink);
    // The next byteCount image bytes (2 x byteCount written bytes) are an
    // FPGA image.
    void ExpectImage(std::size_t byteCount);
    void Reset();

    // Checks a decoded body B[0..L] (checksum included); false when it is
    // malformed in any way.
    static bool Parse(std::span<const std::uint8_t> body, SimCommand& out);

private:
    enum class State { Idle, Body, Image };
    void Begin();
    void BodyByte(std::uint8_t byte, SimCommandSink& sink);
    void ImageByte(std::uint8_t byte, SimCommandSink& sink);

    State state_ = State::Idle;
    std::array<std::uint8_t, 256> body_{};
    std::size_t bodyBytes_ = 0;
    bool haveLow_ = false;
    std::uint8_t low_ = 0;
    std::size_t imageBytes_ = 0;
    std::size_t imageReceived_ = 0;
    std::array<std::uint8_t, kImageHeadBytes> imageHead_{};
};

}  // namespace qx40
