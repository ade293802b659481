// What the simulated instrument is and what it measures: its identity and
// calibration (which a test may change to play another instrument) and the
// bench wired to its inputs.
#pragma once

#include <array>
#include <cstdint>

namespace qx40 {

// Zero calibration of one analog input, in the units the program's
// ZeroOffsetCode expects: zero positions in 1/16 code at offset codes 1360
// (P1) and 3040 (P2) at 2 V/div, and the input offset at 50 mV/div (SH).
struct SimZeroCalibration {
    std::int32_t P1 = 3357;
    std::int32_t P2 = 725;
    std::int32_t SH = 0;
};

// The signals wired to the inputs. The generator output goes to A1.
struct SimBench {
    bool GeneratorToA1 = true;
    bool A2Connected = true;
    double A2FrequencyHz = 1000.0;
    double A2AmplitudeVpp = 1.0;
    double A2OffsetVolts = 0.0;
    double A2NoiseVolts = 0.01;  // peak of a uniform noise on top of the sine
    bool DigitalConnected = true;
    double D1FrequencyHz = 10000.0;
    double D2FrequencyHz = 3300.0;
    double AdcNoiseCodes = 0.6;  // peak of the converter's own noise, in codes
};

struct SimInstrumentConfig {
    std::uint64_t Seed = 1;
    std::int32_t ModelCode = 31;
    std::uint8_t FirmwareVersion = 7;
    std::uint8_t FpgaVersion = 12;
    std::uint32_t SerialNumber = 40123;
    std::uint16_t SerialNumberHigh = 1;
    // TDC full scale per 10 ns: rise D1, fall D1, rise D2, fall D2. They live
    // in calibration memory bytes 8..11, where the PC may rewrite them.
    std::array<std::uint8_t, 4> Tdc{20, 19, 21, 18};
    std::uint16_t VccRaw = 512;  // 3.30 V: raw x 660 / 1023 centivolts
    std::array<SimZeroCalibration, 2> Zero{};
    SimBench Bench{};
};

}  // namespace qx40
