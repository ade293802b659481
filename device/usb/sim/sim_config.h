// What the simulated instrument is and what it measures: its identity and
// calibration constants (which a test may change to play another
// instrument), the bench wired to its inputs, and faults that make the
// calibration procedures fail as they fail on a real instrument.
#pragma once

#include <array>
#include <cstdint>

namespace qx40 {

// Where an analog input's zero line lies, in the units of the program's zero
// calibration: in 1/16 code at offset codes 1360 (P1) and 3040 (P2) at
// 2 V/div without the input offset, and the input offset at 50 mV/div (SH),
// which scales with the gain (a 40th of it at 2 V/div).
struct SimZeroCalibration {
    std::int32_t P1 = 0;
    std::int32_t P2 = 0;
    std::int32_t SH = 0;
};

// The signals wired to the inputs. The generator output goes to A1; D1 and
// D2 carry square waves from oscillators of their own, not locked to the
// instrument's clock.
struct SimBench {
    bool GeneratorToA1 = true;
    bool A2Connected = true;
    double A2FrequencyHz = 1000.0;
    double A2AmplitudeVpp = 1.0;
    double A2OffsetVolts = 0.0;
    double A2NoiseVolts = 0.01;  // peak of a uniform noise on top of the sine
    bool DigitalConnected = true;
    // Their half periods are whole 10 ns ticks (the nearest to the
    // frequency asked for), so every edge of a record lies at the same place
    // inside the clock period.
    double D1FrequencyHz = 10000.0;
    double D2FrequencyHz = 3200.0;
    // Peak of the converter's own noise, in codes. Half a code spreads a
    // level evenly over the two codes around it, so the mean of many
    // samples is the level itself.
    double AdcNoiseCodes = 0.5;
};

struct SimFaults {
    // A circuit stays connected to both analog inputs, also through the
    // zero calibration: each carries 1 V peak to peak of 50 Hz hum on top of
    // the bench, and the calibration finds the spread too large.
    bool InputConnected = false;
    // The TDC's interpolator runs fast: 31 steps per 10 ns on every channel
    // and edge, so it reports counts above 27.
    bool TdcOverrange = false;
    // No edge reaches the TDC (a wrong connection): digital triggers still
    // fire, but the fine counts stay 0.
    bool TdcNoSignal = false;
};

struct SimInstrumentConfig {
    std::uint64_t Seed = 1;
    std::int32_t ModelCode = 31;
    std::uint8_t FirmwareVersion = 7;
    std::uint8_t FpgaVersion = 12;
    std::uint32_t SerialNumber = 40123;
    std::uint16_t SerialNumberHigh = 1;
    // What calibration memory bytes 8..11 hold at first (rise D1, fall D1,
    // rise D2, fall D2): the TDC constants the instrument reports until the
    // PC stores others.
    std::array<std::uint8_t, 4> Tdc{20, 19, 21, 18};
    // How many interpolator steps the TDC really has per 10 ns, same order:
    // what a TDC calibration measures. 12..27 in a sound instrument; up to
    // 31 fit the five bits of the count.
    std::array<std::uint8_t, 4> TdcSteps{23, 22, 25, 17};
    std::uint16_t VccRaw = 512;  // 3.30 V: raw x 660 / 1023 centivolts
    // Not what the program assumes before it is calibrated (3357, 725, 0), so
    // an uncalibrated program shows the zero lines a few codes off.
    std::array<SimZeroCalibration, 2> Zero{SimZeroCalibration{3430, 690, 120},
                                           SimZeroCalibration{3240, 680, -80}};
    SimBench Bench{};
    SimFaults Faults{};
};

}  // namespace qx40
