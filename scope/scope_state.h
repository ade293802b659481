// Every user setting of the instrument and of the view, grouped by the
// sections of the settings file; each field is named after its key. The
// defaults are those of a program started without a settings file.
#pragma once

#include <cstdint>

#include "scope/scope_enums.h"
#include "base/colour_slots.h"

namespace qx40 {

struct ScopeSection {
    qx40::TimebaseIndex TimebaseIndex = qx40::TimebaseIndex::T1mS;
    VoltsDiv A1 = VoltsDiv::V1;
    VoltsDiv A2 = VoltsDiv::V1;
    bool A1_ACDC = false;  // true = AC coupling
    bool A2_ACDC = false;
    std::int32_t A1_Zero = 191;  // ADC code of the A1 zero line
    std::int32_t A2_Zero = 63;

    bool operator==(const ScopeSection&) const = default;
};

struct CommonSection {
    bool CH_A1 = true;  // channel acquired and shown
    bool CH_A2 = true;
    bool CH_D1 = true;
    bool CH_D2 = true;
    bool SmplPeakDet = false;
    SampleCountChoice SampleCount = SampleCountChoice::Smpl_N_5000;
    qx40::SignalLength SignalLength = qx40::SignalLength::Sig_10_Div;
    qx40::FrameRate FrameRate = qx40::FrameRate::FPS_25;
    Probe ProbeA1 = Probe::x1;
    Probe ProbeA2 = Probe::x1;
    FreqMeterSource FreqMeter = FreqMeterSource::FM_A1;
    bool Markers_1 = false;
    bool Markers_2 = true;
    std::int32_t Marker_x = 25;
    std::int32_t Marker_y = 240;
    std::int32_t Marker1_x = 25;
    std::int32_t Marker1_y = 240;
    std::int32_t Marker2_x = 475;
    std::int32_t Marker2_y = 16;
    bool Measure = true;
    bool Grid = true;
    bool TrigPosL = true;
    bool Extra_Info = false;
    bool Trig_PT = false;
    bool Generator = true;  // generator strip shown
    bool On_Top = false;
    bool Lenta = false;  // roll display requested
    qx40::DrawMode DrawMode = qx40::DrawMode::Sinxx;
    bool Russian = true;
    // The window's normal (not maximised) place on the desktop, in pixels;
    // a width of 0 means none was saved.
    std::int32_t Window_Left = 0;
    std::int32_t Window_Top = 0;
    std::int32_t Window_Width = 0;
    std::int32_t Window_Height = 0;
    bool Window_Maximized = false;

    bool operator==(const CommonSection&) const = default;
};

struct TriggerSection {
    TriggerSource Source = TriggerSource::None;
    bool Edge = false;  // true = falling edge
    bool Auto = false;
    bool TPLUS = false;  // pulse width, slew and level conditions in force
    double Lev_A1 = 191.0;  // in ADC codes, same scale as A1_Zero
    double Lev_A2 = 63.0;
    std::int32_t Pre = 1;   // pre-trigger divisions, 0..9
    std::int32_t Hyst = 1;  // noise-reject index, 0..5
    std::int32_t N = 1;     // trigger count, 1..255
    std::int32_t PTmin = 0;
    std::int32_t PTmax = 1000;
    std::int32_t PTmult = 1;
    std::int32_t PTMode = 0;
    std::int32_t Slew = 0;
    std::int32_t Slew_Mode = 0;
    std::int32_t Levels = 0;    // bit k: level of channel k must be high
    std::int32_t Lev_Mask = 0;  // bit k: level of channel k takes part

    bool operator==(const TriggerSection&) const = default;
};

// Zero calibration (P1, P2, SH per channel) and the time-base correction.
// All 0 until the program settings file is read; its reader supplies
// 3357/725/0 when the keys are missing.
struct CalibrateSection {
    std::int32_t Time = 0;
    std::int32_t Z_A1P1 = 0;
    std::int32_t Z_A1P2 = 0;
    std::int32_t Z_A1SH = 0;
    std::int32_t Z_A2P1 = 0;
    std::int32_t Z_A2P2 = 0;
    std::int32_t Z_A2SH = 0;

    bool operator==(const CalibrateSection&) const = default;
};

struct GeneratorSection {
    bool GenOn = false;  // SpeedButton_GenOn; never stored
    GenMode Mode = GenMode::Plain;
    GenRange Range = GenRange::R10K_1S;
    GenShape Shape = GenShape::Sin;
    std::int32_t F_fast = 100;  // 0..1000
    std::int32_t F_slow = 0;    // 0..1000
    std::int32_t Ampl = 47;     // 0 (top) is the largest amplitude
    std::int32_t Mod_Type = 0;  // 0 AM, 1 FM, 2 SUM
    std::int32_t Mod_Src = 0;   // 0 internal, 1 A1, 2 A2, 3 D1, 4 D2
    std::int32_t Inv = 0;
    std::int32_t Mod_Freq_Fast = 10;
    std::int32_t Mod_Freq_Slow = 0;
    std::int32_t MF_Mult = 1;
    std::int32_t MF_Shape = 0;
    std::int32_t Mod_K = 700;
    std::int32_t Dev_Freq = 300;
    std::int32_t DF_Mult = 1;
    std::int32_t Sum_Lev = 1000;

    bool operator==(const GeneratorSection&) const = default;
};

struct FftSection {
    bool View_A1 = false;
    bool View_A2 = false;
    std::int32_t Size = 6;  // 0..5, 6 = automatic
    std::int32_t Win = 2;
    std::int32_t Scale = 0;
    bool dbv_v = false;
    bool Mdl = false;
    bool Dither = false;

    bool operator==(const FftSection&) const = default;
};

struct SystemSection {
    bool Debug_qx = false;
    bool TDC_Clbr = false;
    bool No_Excuse = false;
    bool USB_VIEW = false;
    std::int32_t Device_Type_Code = 31;

    bool operator==(const SystemSection&) const = default;
};

// Settings that the window keeps but the settings file does not store.
struct ViewSection {
    RunButton Run = RunButton::None;
    bool BG_View = false;  // background record shown
    bool Compact = false;

    bool operator==(const ViewSection&) const = default;
};

struct ScopeState {
    ScopeSection Scope;
    CommonSection Common;
    TriggerSection Trigger;
    CalibrateSection Calibrate;
    GeneratorSection Generator;
    FftSection FFT;
    SystemSection System;
    ColourSlots Colors;
    ViewSection View;

    // Set by the volts/div buttons and probe entries of a channel; the next
    // apply rescales that channel's trigger levels and clears the flag.
    bool VoltsDivChangedA1 = false;
    bool VoltsDivChangedA2 = false;

    bool operator==(const ScopeState&) const = default;

    // Debug_qx or No_Excuse: 50 MHz generator range, full amplitude range.
    bool ExtendedRange() const { return System.Debug_qx || System.No_Excuse; }
    std::int32_t AmplitudeMin() const { return ExtendedRange() ? 0 : 47; }
    std::int32_t AmplitudeMax() const { return ExtendedRange() ? 2047 : 1997; }
};

// Device model feature bits of Device_Type_Code.
namespace feature {
inline constexpr std::int32_t kSecondAnalog = 1;
inline constexpr std::int32_t kSecondDigital = 2;
inline constexpr std::int32_t kGenerator = 4;
inline constexpr std::int32_t kFreqMeter = 8;
inline constexpr std::int32_t kDeepMemory = 16;
}  // namespace feature

inline bool HasFeature(std::int32_t deviceTypeCode, std::int32_t bit) {
    return (deviceTypeCode & bit) != 0;
}

}  // namespace qx40
