#include "spectrum/spectrum_mode.h"

namespace qx40 {
namespace {

constexpr std::int32_t kMinimumSpectrumSamples = 128;

std::int32_t ModeFor(const FrameInfo& main, std::int32_t channelBit, std::int32_t shown,
                     std::int32_t tooFew) {
    if (main[fi::ValidPoints] < kMinimumSpectrumSamples || (main[fi::Channels] & channelBit) == 0)
        return tooFew;
    if (main[fi::PeakDetect] != 0) return kSpectrumPeakDetect;
    return shown;
}

}  // namespace

SpectrumMenus ResolveSpectrumMenus(const ScopeState& s) {
    SpectrumMenus m;
    m.EnabledA1 = s.Common.CH_A1;
    m.EnabledA2 = s.Common.CH_A2;
    m.ViewA1 = s.FFT.View_A1 && m.EnabledA1;
    m.ViewA2 = s.FFT.View_A2 && m.EnabledA2;
    return m;
}

std::int32_t ComputeSpectrumMode(const SpectrumMenus& menus, const FrameInfo& main) {
    std::int32_t mode = kSpectrumOff;
    if (menus.ViewA1) mode = ModeFor(main, 1, kSpectrumA1, kSpectrumTooFewA1);
    if (menus.ViewA2) mode = ModeFor(main, 2, kSpectrumA2, kSpectrumTooFewA2);
    return mode;
}

std::int32_t SpectrumSizeIndexFor(std::int32_t size, std::int32_t validPoints) {
    if (size >= 0 && size <= 5) return size;
    std::int32_t index = 0;
    for (std::int32_t n = 1024; index < 5 && validPoints > n; n *= 2) ++index;
    return index;
}

std::string SpectrumMessageText(std::int32_t mode, bool twoAnalog, bool russian) {
    switch (mode) {
        case kSpectrumTooFewA1:
            if (twoAnalog)
                return russian ? "Недостаточно отсчетов канала A1 для БПФ." : "Unsufficient  A1 samples for FFT.";
            return russian ? "Недостаточно отсчетов для БПФ." : "Unsufficient samples for FFT.";
        case kSpectrumTooFewA2:
            return russian ? "Недостаточно отсчетов канала A2 для БПФ." : "Unsufficient  A2 samples for FFT.";
        case kSpectrumPeakDetect:
            return russian ? "Выключите пиковый детектор." : "Sampling must be Normal for FFT.";
        default:
            return {};
    }
}

}  // namespace qx40
