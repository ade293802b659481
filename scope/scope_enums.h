// The exclusive choices of the scope state. Each enumerator stands for one
// member of a button or menu group; the settings file stores a group as one
// flag per member under the key that KeyOf() returns.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qx40 {

enum class TimebaseIndex : std::uint8_t {
    T20S, T10S, T5S, T2S, T1S, T500mS, T200mS, T100mS,
    T50mS, T20mS, T10mS, T5mS, T2mS, T1mS, T05mS, T02mS, T01mS,
    T50uS, T20uS, T10uS, T5uS, T2uS, T1uS, T05uS, T02uS, T01uS, T50nS,
};
inline constexpr std::size_t kTimebaseCount = 27;

// Volts per division of one analog channel; the keys carry the channel prefix.
enum class VoltsDiv : std::uint8_t { V2, V1, V05, V02, mV100, mV50 };
inline constexpr std::size_t kVoltsDivCount = 6;

enum class SampleCountChoice : std::uint8_t { Smpl_N_2000, Smpl_N_5000, Smpl_N_10000, Smpl_N_20000 };
enum class SignalLength : std::uint8_t { Sig_10_Div, Sig_20_Div, Sig_50_Div, Sig_100_Div, Sig_200_Div };
enum class FrameRate : std::uint8_t { FPS_8, FPS_15, FPS_25, FPS_40, FPS_NO_LIM };
enum class Probe : std::uint8_t { x1, x10, x100 };
enum class FreqMeterSource : std::uint8_t { FM_A1, FM_A2, FM_D1, FM_D2, FM_D1_HF, FM_D2_HF, FM_TRIG };
enum class DrawMode : std::uint8_t { Dots, Vectors, Sinxx };

// Trigger source buttons: a group in which all buttons may be up (None).
enum class TriggerSource : std::uint8_t { None, CH_A1, CH_A2, CH_D1, CH_D2 };

// Generator groups. GenMode may be left with all buttons up (Plain).
enum class GenRange : std::uint8_t { R10K_1S, R100K_100mS, R1M_10mS, R10M_1mS, R50M_100uS, R10uS_Noise };
enum class GenShape : std::uint8_t { Sin, Rect, Trian, Up_Trian, Dn_Trian };
enum class GenMode : std::uint8_t { Plain, Mod, Pulse, F_Sweep };

// Run buttons: RUN and SINGLE form one group in which both may be up.
enum class RunButton : std::uint8_t { None, Run, Single };

template <typename E>
constexpr std::size_t IndexOf(E e) {
    return static_cast<std::size_t>(e);
}

inline constexpr std::array<std::string_view, kTimebaseCount> kTimebaseKeys = {
    "20S",  "10S",  "5S",   "2S",   "1S",   "500mS", "200mS", "100mS", "50mS",
    "20mS", "10mS", "5mS",  "2mS",  "1mS",  "05mS",  "02mS",  "01mS",  "50uS",
    "20uS", "10uS", "5uS",  "2uS",  "1uS",  "05uS",  "02uS",  "01uS",  "50nS",
};
// Suffixes after "A1_" / "A2_".
inline constexpr std::array<std::string_view, kVoltsDivCount> kVoltsDivKeySuffixes = {
    "2V", "1V", "05V", "02V", "100mV", "50mV"};
inline constexpr std::array<std::string_view, 4> kSampleCountKeys = {
    "Smpl_N_2000", "Smpl_N_5000", "Smpl_N_10000", "Smpl_N_20000"};
inline constexpr std::array<std::string_view, 5> kSignalLengthKeys = {
    "Sig_10_Div", "Sig_20_Div", "Sig_50_Div", "Sig_100_Div", "Sig_200_Div"};
inline constexpr std::array<std::string_view, 5> kFrameRateKeys = {
    "FPS_8", "FPS_15", "FPS_25", "FPS_40", "FPS_NO_LIM"};
// Suffixes after "A1_" / "A2_".
inline constexpr std::array<std::string_view, 3> kProbeKeySuffixes = {"x1", "x10", "x100"};
inline constexpr std::array<std::string_view, 7> kFreqMeterKeys = {
    "FM_A1", "FM_A2", "FM_D1", "FM_D2", "FM_D1_HF", "FM_D2_HF", "FM_TRIG"};
inline constexpr std::array<std::string_view, 3> kDrawModeKeys = {"Dots", "Vectors", "Sinxx"};
// Trigger source keys of section Trigger, indexed by source - 1.
inline constexpr std::array<std::string_view, 4> kTriggerSourceKeys = {"CH_A1", "CH_A2", "CH_D1", "CH_D2"};
inline constexpr std::array<std::string_view, 6> kGenRangeKeys = {
    "10K_1S", "100K_100mS", "1M_10mS", "10M_1mS", "50M_100uS", "__10uS_Noise"};
inline constexpr std::array<std::string_view, 5> kGenShapeKeys = {"Sin", "Rect", "Trian", "Up_Trian", "Dn_Trian"};
// Generator mode keys, indexed by mode - 1 (Plain has no key).
inline constexpr std::array<std::string_view, 3> kGenModeKeys = {"Mod", "Pulse", "F_Sweep"};

}  // namespace qx40
