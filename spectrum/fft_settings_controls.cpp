#include "spectrum/fft_settings_controls.h"

#include <algorithm>
#include <array>

#include "spectrum/fft_window.h"

namespace qx40 {
namespace {

constexpr std::array<FftText, 7> kSizes = {{
    {"1024", "1024"},
    {"2048", "2048"},
    {"4096", "4096"},
    {"8192", "8192"},
    {"16384", "16384"},
    {"32768", "32768"},
    {"Auto", "Авто"},
}};
constexpr std::int32_t kSizeAuto = 6;

constexpr std::array<FftText, kFftWindowCount> kWindows = {{
    {"Rectangular", "Прямоугольное"},
    {"Hann", "Ханна"},
    {"Flat top", "Плоское"},
    {"Hamming", "Хемминга"},
    {"Blackman", "Блэкмана"},
    {"Blackman–Harris", "Блэкмана — Харриса"},
    {"Nuttall", "Наталла"},
    {"Blackman–Nuttall", "Блэкмана — Наталла"},
    {"Triangular", "Треугольное"},
}};

constexpr std::array<FftText, 4> kScales = {{
    {"dBV", "дБВ"},
    {"dBm (50 Ohm)", "дБм (50 Ом)"},
    {"dBm (75 Ohm)", "дБм (75 Ом)"},
    {"dBm (600 Ohm)", "дБм (600 Ом)"},
}};

constexpr std::array<FftControlInfo, 6> kControls = {{
    {FftControl::Size, "RadioGroup_FFT_Size", {"Size", "Размер"}, kSizes},
    {FftControl::Win, "RadioGroup_FFT_Win", {"Window", "Весовое окно"}, kWindows},
    {FftControl::Scale, "RadioGroup_FFT_Scale", {"Scale", "По вертикали"}, kScales},
    {FftControl::dbv_v, "CheckBox_FFT_dbv_v", {"dBV -> Volt", "дБВ -> Вольты"}, {}},
    {FftControl::Mdl, "CheckBox_FFT_Mdl", {"Averaging", "Усреднение"}, {}},
    {FftControl::Dither, "CheckBox_FFT_Dither", {"Dither", "Dither сигнал"}, {}},
}};

std::int32_t Item(std::int32_t value, std::size_t count) {
    return std::clamp(value, 0, static_cast<std::int32_t>(count) - 1);
}

}  // namespace

std::span<const FftControlInfo> FftControls() { return kControls; }

std::int32_t FftControlValue(const FftSection& fft, FftControl control) {
    switch (control) {
        // Any size but a fixed one is automatic to the analyser.
        case FftControl::Size: return fft.Size >= 0 && fft.Size < kSizeAuto ? fft.Size : kSizeAuto;
        case FftControl::Win: return Item(fft.Win, kWindows.size());
        case FftControl::Scale: return Item(fft.Scale, kScales.size());
        case FftControl::dbv_v: return fft.dbv_v;
        case FftControl::Mdl: return fft.Mdl;
        case FftControl::Dither: return fft.Dither;
    }
    return 0;
}

FftEditEffect SetFftControl(FftSection& fft, FftControl control, std::int32_t value) {
    switch (control) {
        case FftControl::Size: fft.Size = Item(value, kSizes.size()); return FftEditEffect::NewSpectrum;
        case FftControl::Win: fft.Win = Item(value, kWindows.size()); return FftEditEffect::NewSpectrum;
        case FftControl::Scale: fft.Scale = Item(value, kScales.size()); return FftEditEffect::NewSpectrum;
        case FftControl::Mdl: fft.Mdl = value != 0; return FftEditEffect::NewSpectrum;
        case FftControl::dbv_v: fft.dbv_v = value != 0; return FftEditEffect::Redraw;
        // The instrument adds the dither signal (a bit of the channel's gain register).
        case FftControl::Dither: fft.Dither = value != 0; return FftEditEffect::Restart;
    }
    return FftEditEffect::Redraw;
}

}  // namespace qx40
