#include "device/usb/sim/sim_instrument.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/little_endian.h"
#include "device/usb/sim/sim_noise.h"
#include "resources/fpga_image.h"

namespace qx40 {
namespace {

constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kLongAgo = -(std::int64_t{1} << 60);
constexpr std::int64_t kTicksPerMs = kSimTicksPerSecond / 1000;
// The frequency meter counts whole periods over at least this time, and
// over two periods of a slow signal up to the longest gate.
constexpr double kMeterGateTicks = kSimTicksPerSecond / 10;
constexpr double kMeterLongestGate = 10.0 * kSimTicksPerSecond;
constexpr std::size_t kTdcAddress = 8;  // calibration memory: rise D1, fall D1, rise D2, fall D2
constexpr std::int64_t kTdcOverrangeSteps = 31;

SimInput InputOf(bool logic, bool second) {
    if (logic) return second ? SimInput::D2 : SimInput::D1;
    return second ? SimInput::A2 : SimInput::A1;
}

// Where the logic oscillators' edges lie inside the clock period during
// record r: golden-ratio steps through the period, so that any 50 records
// in a row bring an edge within 345 ps after a clock edge (and so the
// TDC's full count) while the places stay spread evenly.
std::int64_t LogicOffsetPs(std::uint64_t r) {
    const std::uint64_t fraction = (r * 0x9E3779B97F4A7C15ull) >> 32;
    return static_cast<std::int64_t>((fraction * kSimPsPerTick) >> 32);
}

// The TDC counts its steps from the edge to the next clock edge.
std::uint8_t TdcCount(std::int64_t edgePs, std::int64_t steps) {
    const std::int64_t toClockPs = kSimPsPerTick - edgePs;
    return static_cast<std::uint8_t>((steps * toClockPs + kSimPsPerTick - 1) / kSimPsPerTick);
}

}  // namespace

SimInstrument::SimInstrument(const SimInstrumentConfig& config)
    : config_(config), signals_(regs_, config), lastData_(kLongAgo) {
    for (std::size_t i = 0; i < config.Tdc.size(); ++i)
        calibration_[kTdcAddress + i] = config.Tdc[i];
    Restart();
}

void SimInstrument::Receive(std::span<const std::uint8_t> bytes) {
    if (powered_) parser_.Feed(bytes, *this);
}

void SimInstrument::OnCommand(const SimCommand& command) {
    ++accepted_;
    bool registers = false;
    for (const SimSegment& s : command.segments) {
        if (s.space == kSimSpaceRegisters) {
            std::copy(s.data.begin(), s.data.end(), regs_.begin() + s.start);
            registers = true;
            if (s.start <= 69 && 69 < s.start + s.data.size()) lastCmdSeq_ = regs_[69];
        } else if (s.space == kSimSpaceCalibration) {
            std::copy(s.data.begin(), s.data.end(), calibration_.begin() + s.start);
        }
    }
    if (registers) {
        // New settings: what was being acquired under the old ones is dropped.
        signals_ = SimSignalModel(regs_, config_);
        Restart();
    }
    if (command.loadFpga) {
        configured_ = false;
        parser_.ExpectImage(kFpgaImageSize);
    }
}

void SimInstrument::OnImage(bool complete, std::span<const std::uint8_t> head) {
    configured_ = complete && std::equal(head.begin(), head.end(), kImageSignature.begin(),
                                         kImageSignature.end());
    if (configured_) Restart();
}

void SimInstrument::PowerOff() {
    powered_ = false;
    configured_ = false;
    powerFailure_ = false;
    regs_.fill(0);
    lastCmdSeq_ = -1;
    records_ = 0;
    parser_.Reset();
}

void SimInstrument::PowerOn() {
    if (powered_) return;
    powered_ = true;
    nextStatus_ = now_ + kStatusPeriodTicks;
    signals_ = SimSignalModel(regs_, config_);
    Restart();
}

void SimInstrument::SetBench(const SimBench& bench) {
    config_.Bench = bench;
    signals_ = SimSignalModel(regs_, config_);
    Restart();
}

void SimInstrument::SetFaults(const SimFaults& faults) {
    config_.Faults = faults;
    signals_ = SimSignalModel(regs_, config_);
    Restart();
}

std::int64_t SimInstrument::IntervalTicks() const {
    return std::max<std::int64_t>(regs_[76], 1) * kTicksPerMs;
}

void SimInstrument::Restart(std::int64_t armDelay) {
    Acquisition a;
    a.start = now_ + armDelay;
    const auto pre = static_cast<std::int64_t>(GetLE<2>(&regs_[8]));
    const auto post = static_cast<std::int64_t>(GetLE<2>(&regs_[10]));
    a.rawCount = static_cast<std::int32_t>(std::min<std::int64_t>(pre + post, kMaxSamples));
    const auto rawPre = static_cast<std::int32_t>(std::min<std::int64_t>(pre, a.rawCount));
    a.peak = regs_[1] & 0x01;
    a.points = a.peak ? a.rawCount / 2 : a.rawCount;
    a.prePoints = a.peak ? rawPre / 2 : rawPre;
    a.divider = std::max<std::int64_t>(1, static_cast<std::int64_t>(GetLE<4>(&regs_[4])));
    a.roll = regs_[1] & 0x08;
    a.autoMode = regs_[1] & 0x20;
    a.trigCount = a.roll ? 0 : regs_[16];
    a.trigger = TriggerSettings();
    a.trigger.count = a.trigCount;
    signals_.SetLogicOffsetPs(LogicOffsetPs(records_));
    if (a.trigCount > 0)
        a.search = SimTriggerSearch(a.trigger, signals_, a.start + a.prePoints * a.divider);
    a.nextRollFrame = a.start + IntervalTicks();
    acq_ = a;
}

SimTriggerSettings SimInstrument::TriggerSettings() const {
    SimTriggerSettings t;
    t.source = InputOf(regs_[1] & 0x02, regs_[1] & 0x04);
    t.falling = regs_[1] & 0x10;
    t.low = {regs_[12], regs_[14]};
    t.high = {regs_[13], regs_[15]};
    // The T+ conditions: bits 3..6 of the channel mode turn them on.
    const std::uint8_t mode = regs_[2];
    t.pulseOn = mode & 0x08;
    t.pulseInside = mode & 0x10;
    t.pulseMin = static_cast<std::int64_t>(GetLE<4>(&regs_[20]));
    t.pulseMax = static_cast<std::int64_t>(GetLE<4>(&regs_[24]));
    t.slewOn = mode & 0x20;
    t.slewAtMost = mode & 0x40;
    t.slewLimit = regs_[17];
    t.levelMask = regs_[18] >> 4;
    t.levels = regs_[18] & 0x0F;
    return t;
}

void SimInstrument::Prepare(std::int64_t limit) {
    Acquisition& a = acq_;
    const std::int64_t recordTicks = a.points * a.divider;
    const auto untriggered = [&](std::int64_t first) {
        a.ready = true;
        a.triggered = false;
        a.firstTick = first;
        a.readyTick = first + recordTicks;
    };
    if (a.trigCount == 0) {
        untriggered(a.start);
        return;
    }
    // Auto: the wait ends after a time without a trigger, but never before
    // a whole record has been acquired since the start.
    const std::int64_t deadline =
        a.autoMode ? a.start + std::max(a.prePoints * a.divider + kAutoTimeoutTicks, recordTicks)
                   : kNever;
    if (a.search.Scan(signals_, std::min(limit, deadline - 1), scanBudget_)) {
        // The trigger point is the sample at or before the crossing.
        const SimTriggerHit& hit = a.search.Hit();
        const std::int64_t index = SimFloorDiv(hit.before - a.start, a.divider);
        const std::int64_t triggerTick = a.start + index * a.divider;
        a.ready = true;
        a.triggered = true;
        a.fineTicks = hit.before - triggerTick;
        a.firstTick = triggerTick - a.prePoints * a.divider;
        a.readyTick = a.firstTick + recordTicks;
    } else if (deadline <= limit) {
        untriggered(deadline - recordTicks);
    }
}

std::int64_t SimInstrument::DataDue(std::int64_t limit) {
    if (!Running()) return kNever;
    if (acq_.roll) return acq_.nextRollFrame;
    if (!acq_.ready) Prepare(limit);
    if (!acq_.ready) return kNever;
    // Frames are paced by the frame interval register.
    return std::max(acq_.readyTick, lastData_ + IntervalTicks());
}

std::int64_t SimInstrument::NextDue() const {
    if (!powered_) return kNever;
    std::int64_t due = nextStatus_;
    if (Running()) {
        if (acq_.roll)
            due = std::min(due, acq_.nextRollFrame);
        else if (acq_.ready)
            due = std::min(due, std::max(acq_.readyTick, lastData_ + IntervalTicks()));
    }
    return due;
}

void SimInstrument::AdvanceTo(std::int64_t tick, SimFrameOutput& out) {
    if (tick < now_) return;
    if (!powered_) {
        now_ = tick;
        return;
    }
    for (;;) {
        const std::int64_t status = nextStatus_;
        const std::int64_t data = DataDue(tick);
        if (std::min(status, data) > tick) break;
        now_ = std::max(now_, std::min(status, data));
        if (status <= data) {
            if (!silent_) SendStatus(out);
            nextStatus_ += kStatusPeriodTicks;
        } else {
            SendData(out);
        }
    }
    now_ = tick;
}

void SimInstrument::FillRecord(std::int64_t firstTick, std::int32_t firstAddress,
                               const SimFrameLayout& layout) {
    const std::int32_t n = acq_.rawCount;
    for (auto& s : samples_) s.assign(static_cast<std::size_t>(n), 0);
    if (n <= 0) return;
    const auto address = [&](std::int64_t i) {
        return static_cast<std::size_t>((firstAddress + i) % n);
    };
    for (std::int64_t j = 0; j < acq_.points; ++j) {
        const std::int64_t tick = firstTick + j * acq_.divider;
        for (std::size_t c = 0; c < 4; ++c) {
            if (!layout.present[c]) continue;
            const auto in = static_cast<SimInput>(c);
            if (acq_.peak) {
                // The smallest and the largest 100 MHz sample of the point.
                std::uint8_t lo, hi;
                signals_.Extremes(in, tick, acq_.divider, lo, hi);
                samples_[c][address(2 * j)] = lo;
                samples_[c][address(2 * j + 1)] = hi;
            } else {
                samples_[c][address(j)] = signals_.Level(in, tick);
            }
        }
    }
}

std::array<std::uint8_t, 128> SimInstrument::Echo() const {
    std::array<std::uint8_t, 128> echo = regs_;
    // The places the instrument fills in itself.
    echo[0] = 0;
    std::fill(echo.begin() + 4, echo.begin() + 8, 0);
    echo[17] = 0;
    std::fill(echo.begin() + 20, echo.begin() + 24, 0);
    std::fill(echo.begin() + 40, echo.begin() + 47, 0);
    PutLE<2>(&echo[66], static_cast<std::uint64_t>(config_.ModelCode));
    return echo;
}

void SimInstrument::SendData(SimFrameOutput& out) {
    const Acquisition& a = acq_;
    const SimFrameLayout layout = SimLayoutOf(regs_, a.rawCount);
    const std::int32_t n = a.rawCount;
    const std::int64_t rawPerPoint = a.peak ? 2 : 1;
    std::array<std::uint8_t, 128> echo = Echo();
    if (a.roll) {
        // The ring is written continuously; W is the slot after the newest
        // sample, and the ring is full once it has wrapped.
        const std::int64_t written =
            std::max<std::int64_t>(0, SimFloorDiv(now_ - a.start, a.divider)) * rawPerPoint;
        const auto w = static_cast<std::int32_t>(n > 0 ? written % n : 0);
        FillRecord(a.start + SimFloorDiv(written - n, rawPerPoint) * a.divider, w, layout);
        echo[0] = static_cast<std::uint8_t>(0x01 | (n > 0 && written >= n ? 0x02 : 0) | 0x04);
        PutLE<2>(&echo[40], static_cast<std::uint64_t>(w));
    } else {
        // Writing starts at address 0 when the acquisition is armed and
        // wraps around the ring until the record is complete, so the trigger
        // sample may sit anywhere in the frame; Tp says where.
        const auto ringStart = static_cast<std::int32_t>(
            n > 0 ? (a.firstTick - a.start) / a.divider * rawPerPoint % n : 0);
        FillRecord(a.firstTick, ringStart, layout);
        const std::int64_t tp = n > 0 ? (ringStart + a.prePoints * rawPerPoint) % n : 0;
        PutLE<2>(&echo[42], static_cast<std::uint64_t>(tp));
        if (a.triggered) {
            const SimTriggerHit& hit = a.search.Hit();
            PutLE<4>(&echo[4], static_cast<std::uint64_t>(a.fineTicks));
            PutLE<4>(&echo[20], static_cast<std::uint64_t>(
                                    std::min<std::int64_t>(hit.widthTicks, 0xFFFFFFFF)));
            if (SimIsLogic(a.trigger.source)) {
                const std::size_t which =
                    (a.trigger.source == SimInput::D2 ? 2 : 0) + (a.trigger.falling ? 1 : 0);
                const std::int64_t steps =
                    config_.Faults.TdcOverrange
                        ? kTdcOverrangeSteps
                        : std::min<std::int64_t>(config_.TdcSteps[which], 31);
                echo[46] = config_.Faults.TdcNoSignal ? 0 : TdcCount(hit.edgePs, steps);
            } else {
                echo[17] = static_cast<std::uint8_t>(std::min<std::int64_t>(hit.slewTicks, 255));
                echo[44] = hit.levelBefore;
                echo[45] = hit.levelAfter;
            }
        } else {
            echo[0] = 0x04;
        }
    }
    frame_.clear();
    AppendSimDataFrame(frame_, layout, samples_, n, echo);
    lastData_ = now_;
    ++records_;
    if (a.roll)
        acq_.nextRollFrame += IntervalTicks();
    else
        Restart(static_cast<std::int64_t>(SimMix64(config_.Seed ^ records_) % kReadoutJitterTicks));
    out.OnFrame(frame_, true);
}

void SimInstrument::FrequencyMeter(std::int32_t& count, std::int32_t& gate) const {
    count = gate = 0;
    if (!configured_) return;
    SimInput in = SimInput::A1;
    double divide = 1.0;
    switch (regs_[48]) {
        case 1:
            in = SimInput::A1;
            break;
        case 2:
            in = SimInput::A2;
            break;
        case 3:
            in = SimInput::D1;
            break;
        case 4:
            in = SimInput::D2;
            break;
        case 5:
            in = SimInput::D1, divide = 8.0;
            break;  // the HF inputs count through a divider by 8
        case 6:
            in = SimInput::D2, divide = 8.0;
            break;
        case 7:
            in = acq_.trigger.source;
            break;
        default:
            return;
    }
    const double period = signals_.PeriodTicks(in) * divide;
    if (period <= 0.0) return;
    const double window = std::max(kMeterGateTicks, 2.0 * period);
    if (window > kMeterLongestGate) return;
    // Whole periods between the first and the last edge in the window.
    const auto now = static_cast<double>(now_);
    const double first = std::ceil((now - window) / period), last = std::floor(now / period);
    if (last - first < 1.0) return;
    count = static_cast<std::int32_t>(last - first) + 1;
    gate = static_cast<std::int32_t>(std::llround((last - first) * period));
}

void SimInstrument::SendStatus(SimFrameOutput& out) {
    std::array<std::uint8_t, kSimStatusBytes> s{};
    s[0] = config_.FirmwareVersion;
    s[1] = powerFailure_ ? 2 : 0;
    s[2] = configured_ ? 0xA5 : 0x00;
    s[3] = configured_ ? config_.FpgaVersion : 0;
    PutLE<2>(&s[4], static_cast<std::uint64_t>(config_.ModelCode));
    s[7] = regs_[48];
    std::int32_t count, gate;
    FrequencyMeter(count, gate);
    PutLE<4>(&s[8], static_cast<std::uint64_t>(count));
    PutLE<4>(&s[12], static_cast<std::uint64_t>(gate));
    PutLE<4>(&s[17], config_.SerialNumber);
    PutLE<2>(&s[21], config_.SerialNumberHigh);
    std::copy_n(calibration_.begin() + kTdcAddress, 4, s.begin() + 25);
    PutLE<2>(&s[49], config_.VccRaw);
    frame_.clear();
    AppendSimStatusFrame(frame_, s);
    out.OnFrame(frame_, false);
}

}  // namespace qx40
