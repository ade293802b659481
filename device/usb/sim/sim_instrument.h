// The virtual QX40 behind the simulated link: the microcontroller (command
// input, calibration memory, FPGA loader, status frames ten times a second)
// and the FPGA (register file, acquisition, data frames), on a clock of
// 10 ns ticks that only moves when AdvanceTo is called. It measures the
// bench of SimSignalModel, triggers on it, and sends what it acquired in
// frames the program's receiver understands.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "device/usb/sim/sim_command_parser.h"
#include "device/usb/sim/sim_config.h"
#include "device/usb/sim/sim_frame_builder.h"
#include "device/usb/sim/sim_signal_model.h"
#include "device/usb/sim/sim_trigger.h"

namespace qx40 {

class SimFrameOutput {
public:
    virtual ~SimFrameOutput() = default;
    virtual void OnFrame(std::span<const std::uint8_t> bytes, bool data) = 0;
};

class SimInstrument : private SimCommandSink {
public:
    static constexpr std::int64_t kStatusPeriodTicks = kSimTicksPerSecond / 10;
    // Without a trigger in this time after the pre-trigger samples, auto
    // mode sends an untriggered record.
    static constexpr std::int64_t kAutoTimeoutTicks = kSimTicksPerSecond / 10;
    static constexpr std::int32_t kMaxSamples = 20000;  // acquisition memory per channel
    // Reading a record out takes the microcontroller up to this long, a
    // little more or less each time; the next acquisition is armed after it.
    static constexpr std::int64_t kReadoutJitterTicks = 10000;
    static constexpr std::array<std::uint8_t, 8> kImageSignature{0xFF, 0xFF, 0xFF, 0xFF,
                                                                 0xAA, 0x99, 0x55, 0x66};

    explicit SimInstrument(const SimInstrumentConfig& config);

    // Bytes written by the PC, taken in at the current tick.
    void Receive(std::span<const std::uint8_t> bytes);
    // Runs the instrument up to tick, handing every frame it sends to out.
    void AdvanceTo(std::int64_t tick, SimFrameOutput& out);
    std::int64_t Now() const { return now_; }
    // The earliest tick at which a frame is due, as far as known now.
    std::int64_t NextDue() const;

    // Power goes with the USB cable: the register file and the FPGA
    // configuration are lost, calibration memory is kept.
    void PowerOff();
    void PowerOn();
    // The USB side restarts: a command half received is dropped.
    void ResetInput() { parser_.Reset(); }

    void SetPowerFailure(bool on) { powerFailure_ = on; }
    void SetSilent(bool on) { silent_ = on; }
    void LoseFpgaConfiguration() { configured_ = false; }
    void SetBench(const SimBench& bench);
    void SetFaults(const SimFaults& faults);
    void SetModelCode(std::int32_t code) { config_.ModelCode = code; }
    // Looks a trigger search takes per AdvanceTo at most. A clock that runs
    // by itself must not wait for a search that needs more than real time
    // (a condition nothing meets on a fast signal): the search then lags
    // behind and the instrument triggers late. Unlimited by default.
    void SetScanBudget(std::int64_t looks) { scanBudget_ = looks; }

    const std::array<std::uint8_t, 128>& Registers() const { return regs_; }
    const std::array<std::uint8_t, 128>& CalibrationMemory() const { return calibration_; }
    std::int32_t LastCmdSeq() const { return lastCmdSeq_; }  // -1 before the first
    bool FpgaConfigured() const { return configured_; }
    std::int64_t CommandsAccepted() const { return accepted_; }
    std::int64_t CommandsRejected() const { return rejected_; }

private:
    // One acquisition, from its start to the frame that sends it.
    struct Acquisition {
        std::int64_t start = 0;
        std::int32_t rawCount = 0;  // samples per channel in the frame
        std::int32_t points = 0;    // with peak detect two raw samples a point
        std::int32_t prePoints = 0;
        std::int64_t divider = 1;  // ticks per point
        bool peak = false;
        bool roll = false;
        bool autoMode = false;
        std::int32_t trigCount = 0;
        SimTriggerSettings trigger;
        SimTriggerSearch search;
        bool ready = false;  // the record's place in time is known
        bool triggered = false;
        std::int64_t firstTick = 0;  // tick of the record's first point
        std::int64_t readyTick = 0;  // the record is complete
        std::int64_t fineTicks = 0;  // P: from the trigger point to the tick before the crossing
        std::int64_t nextRollFrame = 0;
    };

    void OnCommand(const SimCommand& command) override;
    void OnRejected() override { ++rejected_; }
    void OnImage(bool complete, std::span<const std::uint8_t> head) override;

    bool Running() const { return powered_ && configured_ && (regs_[28] & 0x80); }
    std::int64_t IntervalTicks() const;
    // The comparator and T+ conditions the trigger registers ask for.
    SimTriggerSettings TriggerSettings() const;
    void Restart(std::int64_t armDelay = 0);
    void Prepare(std::int64_t limit);
    std::int64_t DataDue(std::int64_t limit);
    void SendData(SimFrameOutput& out);
    void SendStatus(SimFrameOutput& out);
    void FillRecord(std::int64_t firstTick, std::int32_t firstAddress,
                    const SimFrameLayout& layout);
    std::array<std::uint8_t, 128> Echo() const;
    void FrequencyMeter(std::int32_t& count, std::int32_t& gate) const;

    SimInstrumentConfig config_;
    SimCommandParser parser_;
    std::array<std::uint8_t, 128> regs_{};
    std::array<std::uint8_t, 128> calibration_{};
    SimSignalModel signals_;
    Acquisition acq_;
    std::int64_t now_ = 0;
    std::int64_t nextStatus_ = kStatusPeriodTicks;
    std::int64_t lastData_;
    bool powered_ = true;
    bool configured_ = false;
    bool powerFailure_ = false;
    bool silent_ = false;
    std::int32_t lastCmdSeq_ = -1;
    std::int64_t accepted_ = 0;
    std::int64_t rejected_ = 0;
    std::int64_t scanBudget_ = std::numeric_limits<std::int64_t>::max();
    std::uint64_t records_ = 0;  // records sent since power-on
    std::array<std::vector<std::uint8_t>, 4> samples_;
    std::vector<std::uint8_t> frame_;
};

}  // namespace qx40
