#include "device/usb/sim/sim_frame_builder.h"

#include <algorithm>
#include <bit>

namespace qx40 {
namespace {

void AppendNibbles(std::vector<std::uint8_t>& out, std::uint8_t b, std::uint8_t& check) {
    const auto lo = static_cast<std::uint8_t>(b & 0x0F), hi = static_cast<std::uint8_t>(b >> 4);
    out.push_back(lo);
    out.push_back(hi);
    check ^= lo ^ hi;
}

std::uint8_t Sendable(std::uint8_t check) {
    return check == kSimFrameStart ? 0xFE : check;
}

}  // namespace

SimFrameLayout SimLayoutOf(const std::array<std::uint8_t, 128>& regs, std::int32_t sampleCount) {
    SimFrameLayout layout;
    const std::uint8_t enable = regs[28] & 0x0F;
    const std::uint8_t mode = regs[2];
    std::uint8_t bits = enable;
    if (mode & 0x01) {
        // One analog and one logic channel at twice the depth; the header
        // names both of a pair so that its byte count halves to the truth.
        const bool analog = enable & 0x03, logic = enable & 0x0C;
        layout.present = {analog && !(mode & 0x02), analog && (mode & 0x02),
                          logic && !(mode & 0x04), logic && (mode & 0x04)};
        bits = static_cast<std::uint8_t>((analog ? 0x03 : 0) | (logic ? 0x0C : 0));
    } else {
        for (std::size_t c = 0; c < 4; ++c) layout.present[c] = enable & (1u << c);
    }
    layout.header = static_cast<std::uint8_t>(0x80 | bits);
    const auto count = static_cast<std::size_t>(std::max(sampleCount, 0));
    const auto analog = static_cast<std::size_t>(std::popcount(static_cast<unsigned>(bits & 0x03)));
    const auto logic = static_cast<std::size_t>(std::popcount(static_cast<unsigned>(bits & 0x0C)));
    layout.sampleBytes = count * analog + count / 4 * logic;
    if (mode & 0x01) layout.sampleBytes /= 2;
    return layout;
}

void AppendSimDataFrame(std::vector<std::uint8_t>& out, const SimFrameLayout& layout,
                        const std::array<std::vector<std::uint8_t>, 4>& samples,
                        std::int32_t sampleCount, const std::array<std::uint8_t, 128>& echo) {
    out.push_back(kSimFrameStart);
    out.push_back(layout.header);
    const std::size_t first = out.size();
    // Per sample: A1, A2, then the logic bits, packed from bit 3 down, D1
    // before D2; a byte goes out as soon as it holds four bits.
    std::uint8_t packed = 0;
    int bits = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(std::max(sampleCount, 0)); ++i) {
        for (std::size_t c = 0; c < 2; ++c)
            if (layout.present[c]) out.push_back(std::min<std::uint8_t>(samples[c][i], 0xFE));
        for (std::size_t c = 2; c < 4; ++c) {
            if (!layout.present[c]) continue;
            packed = static_cast<std::uint8_t>(packed << 1 | (samples[c][i] & 1));
            if (++bits == 4) {
                out.push_back(packed);
                packed = 0;
                bits = 0;
            }
        }
    }
    // A sample count that is not a multiple of four leaves the packing a few
    // bytes off the count the header announces; the header's count wins.
    out.resize(first + layout.sampleBytes, 0);
    std::uint8_t check = layout.header;
    for (std::size_t i = first; i < out.size(); ++i) check ^= out[i];
    for (const std::uint8_t r : echo) AppendNibbles(out, r, check);
    out.push_back(Sendable(check));
}

void AppendSimStatusFrame(std::vector<std::uint8_t>& out,
                          const std::array<std::uint8_t, kSimStatusBytes>& status) {
    out.push_back(kSimFrameStart);
    out.push_back(kSimStatusHeader);
    std::uint8_t check = kSimStatusHeader;
    for (const std::uint8_t b : status) AppendNibbles(out, b, check);
    out.push_back(Sendable(check));
}

}  // namespace qx40
