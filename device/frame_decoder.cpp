#include "device/frame_decoder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/little_endian.h"
#include "base/interpolation.h"
#include "base/round_nearest.h"

namespace qx40 {
namespace {

std::int32_t Echo16(const RegisterEcho& e, std::size_t at) { return static_cast<std::int32_t>(GetLE<2>(&e[at])); }
std::int32_t Echo32(const RegisterEcho& e, std::size_t at) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(GetLE<4>(&e[at])));
}

// The sub-sample trigger offset in tenths: round((P + f) x 10 / divider),
// plus the half sample of a frame without peak detect. P comes from the
// instrument, so a wild value saturates instead of overflowing.
std::int32_t FinePosition(std::int32_t p, double f, std::int32_t divider, std::int32_t plus = 0) {
    return RoundNearest((p + f) * 10.0 / divider + plus);
}

struct ChannelStats {
    std::int32_t sum = 0;
    std::int32_t peakToPeak = -1;
};

ChannelStats Measure(const std::vector<std::int32_t>& mins, const std::vector<std::int32_t>& maxs,
                     std::int32_t valid, bool present) {
    ChannelStats s;
    if (!present || valid <= 0) return s;
    std::int64_t sum = 0;
    std::int32_t lo = mins[0], hi = maxs[0];
    for (std::int32_t i = 0; i < valid; ++i) {
        const auto at = static_cast<std::size_t>(i);
        sum += std::int64_t{mins[at]} + maxs[at];
        lo = std::min(lo, mins[at]);
        hi = std::max(hi, maxs[at]);
    }
    s.sum = static_cast<std::int32_t>(sum / 2);
    // A code of 0 or 254 may be clipped: no peak-to-peak then.
    s.peakToPeak = lo > 0 && hi < 254 ? hi - lo : -1;
    return s;
}

}  // namespace

FrameDecoder::FrameDecoder() {
    for (auto& t : temp_) t.assign(kRecordSlots, kEmptySample);
}

void FrameDecoder::Unpack(std::span<const std::uint8_t> raw, std::int32_t sampleCount,
                          const std::array<bool, 4>& present) {
    for (auto& t : temp_) std::fill_n(t.begin(), sampleCount, kEmptySample);
    std::size_t at = 0;
    std::size_t digitalAt = 0;  // next digital sample index
    int bits = 0;
    const auto take = [&](std::int32_t& dst) {
        if (at < raw.size()) dst = raw[at++];
        else dst = kEmptySample;  // a frame shorter than its settings: the rest stays empty
    };
    for (std::int32_t i = 0; i < sampleCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        if (present[kA1]) take(temp_[kA1][slot]);
        if (present[kA2]) take(temp_[kA2][slot]);
        bits += (present[kD1] ? 1 : 0) + (present[kD2] ? 1 : 0);
        if (bits < 4) continue;
        if (at >= raw.size()) break;
        const std::uint8_t x = raw[at++];
        while (bits > 0) {
            if (digitalAt >= static_cast<std::size_t>(sampleCount)) {
                bits = 0;
                break;
            }
            if (present[kD1]) temp_[kD1][digitalAt] = (x >> --bits) & 1;
            if (present[kD2]) temp_[kD2][digitalAt] = (x >> --bits) & 1;
            ++digitalAt;
        }
    }
}

void FrameDecoder::FeedRecorder(const RegisterEcho& echo, std::int32_t sampleCount, std::int32_t w,
                                bool recorderActive, RecorderQueue& recorder) const {
    if (!recorderActive) {
        recorder.Clear();
        recorder.Last = -1;
        return;
    }
    if (!(echo[0] & 0x01)) return;
    if (w < 0 || w >= sampleCount) return;  // a write position outside the ring: nothing to take
    if (recorder.Last >= 0 && recorder.Last < sampleCount) {
        for (std::int32_t i = recorder.Last; i != w; i = (i + 1) % sampleCount)
            recorder.Append(static_cast<std::uint8_t>(temp_[kA1][static_cast<std::size_t>(i)]));
    }
    recorder.Last = w;
}

void FrameDecoder::DecodeFrame(std::span<const std::uint8_t> raw, const RegisterEcho& echo, const DecodeContext& ctx,
                               const TdcConstants& tdc, bool recorderActive, RecorderQueue& recorder,
                               SampleRecord& out) {
    FrameInfo& info = out.Info;
    const std::int32_t sampleCount = std::clamp(ctx.SampleCount, 0, static_cast<std::int32_t>(kRecordSlots));
    const std::int32_t divider = std::max(ctx.SampleDivider, 1);

    // 1. Geometry from the echo; peak detect stores one point per pair.
    const bool peak = echo[1] & 0x01;
    const bool roll = echo[29] & 0x01;
    // The recorder walks the raw ring, so it keeps the write position unhalved.
    const std::int32_t rawW = Echo16(echo, 40);
    std::int32_t w = rawW;
    std::int32_t tp = Echo16(echo, 42);
    std::int32_t pre = Echo16(echo, 8);
    std::int32_t ring = pre + Echo16(echo, 10);
    if (peak) w /= 2, tp /= 2, pre /= 2, ring /= 2;
    ring = std::min(ring, static_cast<std::int32_t>(kRecordSlots));

    // 2. Channels present; single-channel mode picks one of each kind.
    std::array<bool, 4> present{};
    for (std::size_t c = 0; c < kChannelCount; ++c) present[c] = echo[28] & (1u << c);
    if (echo[2] & 0x01) {
        const bool second = echo[2] & 0x02;
        present[kA1] = present[kA1] && !second;
        present[kA2] = present[kA2] && second;
        const bool secondDigital = echo[2] & 0x04;
        present[kD1] = present[kD1] && !secondDigital;
        present[kD2] = present[kD2] && secondDigital;
    }

    // 3.-4. Unpack, feed the recorder: with peak detect both entries of a
    // point, in the order the instrument wrote them.
    Unpack(raw, sampleCount, present);
    FeedRecorder(echo, sampleCount, rawW, recorderActive, recorder);

    // 5. Extent.
    const bool rollData = roll && (echo[0] & 0x01);
    const bool ringFull = echo[0] & 0x02;
    std::int32_t valid = ring, writePos = ring;
    bool scroll = false;
    if (rollData) {
        if (ringFull) {
            valid = ring;
            scroll = ctx.Lenta;
            writePos = ctx.Lenta ? ring : w;
        } else {
            valid = writePos = std::clamp(w, 0, ring);
        }
    }

    // 6. Placement: the trigger point lands at PreTrigger, in scroll mode
    // the newest point at the end. Every slot below the ring is written
    // unless the frame holds fewer points than the ring has slots.
    const std::int32_t points = peak ? (sampleCount + 1) / 2 : sampleCount;
    if (points < ring)
        for (std::size_t c = 0; c < kChannelCount; ++c) {
            std::fill_n(out.Min[c].begin(), ring, kEmptySample);
            std::fill_n(out.Max[c].begin(), ring, kEmptySample);
        }
    if (ring > 0) {
        std::int64_t o = scroll ? std::int64_t{writePos} - w : std::int64_t{pre} - tp;
        o %= ring;
        if (o < 0) o += ring;
        for (std::int32_t j = 0; j < sampleCount; ++j) {
            const auto slot = static_cast<std::size_t>(o);
            const auto low = static_cast<std::size_t>(j);
            if (peak && j + 1 < sampleCount) ++j;
            const auto high = static_cast<std::size_t>(j);
            for (std::size_t c = 0; c < kChannelCount; ++c) {
                out.Min[c][slot] = temp_[c][low];
                out.Max[c][slot] = temp_[c][high];
            }
            if (++o == ring) o = 0;
        }
    }

    // 7.-8. Statistics over the valid points; nothing past them.
    valid = std::clamp(valid, 0, ring);
    for (std::size_t c = 0; c < kChannelCount; ++c) {
        std::fill(out.Min[c].begin() + valid, out.Min[c].end(), kEmptySample);
        std::fill(out.Max[c].begin() + valid, out.Max[c].end(), kEmptySample);
    }
    const ChannelStats a1 = Measure(out.Min[kA1], out.Max[kA1], valid, present[kA1]);
    const ChannelStats a2 = Measure(out.Min[kA2], out.Max[kA2], valid, present[kA2]);

    // 9. Description of the record.
    info = FrameInfo{};
    info[fi::DeviceTypeCode] = Echo16(echo, 66);
    info[fi::Divider] = ctx.SampleDivider;
    info[fi::VoltsDivA1] = ctx.VoltsDivA1;
    info[fi::ZeroA1] = ctx.A1_Zero;
    info[fi::VoltsDivA2] = ctx.VoltsDivA2;
    info[fi::ZeroA2] = ctx.A2_Zero;
    info[fi::RingLength] = ring;
    info[fi::PreTrigger] = pre;
    info[fi::ValidPoints] = valid;
    info[fi::WritePos] = writePos;
    info[fi::RollFrame] = roll ? 1 : 0;
    info[fi::PeakDetect] = peak ? 1 : 0;
    info[fi::Channels] = (present[kA1] ? 1 : 0) | (present[kA2] ? 2 : 0) | (present[kD1] ? 4 : 0) | (present[kD2] ? 8 : 0);
    info[fi::GenSpan] = ctx.GenSpan;
    info[fi::GenFreq] = ctx.GenFreq;
    info[fi::SumA1] = a1.sum;
    info[fi::SumA2] = a2.sum;
    info[fi::PeakToPeakA1] = a1.peakToPeak;
    info[fi::PeakToPeakA2] = a2.peakToPeak;
    info[fi::FrameCounter] = ++frameCounter_;
    out.TdcFine = echo[46] & 31;

    // 10. Trigger source, level and measured conditions.
    std::int32_t source = 0;
    info[fi::TrigEcho] = 0;
    info[fi::TrigEcho + 1] = 255;
    if (ctx.TriggerCount != 0 && !(echo[0] & 0x04)) {
        source = (echo[1] & 0x02) ? 3 : 1;
        if (echo[1] & 0x04) ++source;
        info[fi::TrigEcho] = Echo32(echo, 20);
        if (source <= 2) info[fi::TrigEcho + 1] = echo[17];
    }
    info[fi::TrigSource] = source;
    if (source == 1) trigLevel_ = RoundNearest(ctx.Lev_A1);
    if (source == 2) trigLevel_ = RoundNearest(ctx.Lev_A2);
    trigLevel_ = std::clamp(trigLevel_, 0, 255);
    info[fi::TrigLevel] = trigLevel_;
    info[fi::TrigEcho + 2] = Echo32(echo, 100);
    info[fi::TrigEcho + 3] = Echo32(echo, 114);

    // 11. Position of the trigger inside the sample interval, in tenths.
    for (std::size_t i = 0; i < 4; ++i) info[fi::TrigFine + i] = peak ? 0 : 5;
    const bool rising = !(echo[1] & 0x10);
    const std::int32_t p = Echo32(echo, 4);
    if (source == 1 || source == 2) {
        const std::size_t channel = source == 1 ? kA1 : kA2;
        const std::int32_t low = source == 1 ? ctx.LowA1 : ctx.LowA2;
        const std::int32_t high = source == 1 ? ctx.HighA1 : ctx.HighA2;
        std::int32_t fine;
        if (divider == 1 && present[channel]) {
            fine = 10;
            for (std::int32_t s = 0; s < 10; ++s) {
                const std::int32_t v = InterpolateSample(out.Min[channel].data(), ctx.PreTrigCount, s, ring);
                if (v == kEmptySample) continue;
                if (rising ? v > high : v < low) {
                    fine = s;
                    break;
                }
            }
        } else {
            const std::int32_t before = echo[44], after = echo[45];
            const std::int32_t d = std::abs(after - before);
            double f = 0.5;
            if (d != 0) f = rising ? double(high - before) / d : double(before - low) / d;
            fine = FinePosition(p, f, divider);
        }
        info[fi::TrigFine] = info[fi::TrigFine + 1] = fine;
    } else if (source == 3 || source == 4) {
        const std::int32_t tdcFine = out.TdcFine;
        std::int32_t t = source == 3 ? (rising ? tdc.RiseA1 : tdc.FallA1) : (rising ? tdc.RiseA2 : tdc.FallA2);
        if (t < 12 || t > 27) t = 20;
        const double f = 1.0 - static_cast<double>(tdcFine) / t;
        const std::int32_t fine = FinePosition(p, f, divider, peak ? 0 : 5);
        info[fi::TrigFine] = info[fi::TrigFine + 1] = fine;
    }
}

}  // namespace qx40
