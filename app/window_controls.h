// The main window's named widgets as typed pointers, filled where each is
// created (every one also carries its name as objectName, for the caption
// table and the tests). Handlers reach a control through these, never by
// looking a name up.
#pragma once

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>
#include <array>

#include "scope/scope_enums.h"

namespace qx40 {

// The generator range buttons; the last one's name has one underscore fewer
// than "SpeedButton_" followed by its settings key.
inline constexpr std::array<const char*, 6> kGenRangeButtons = {
    "SpeedButton_10K_1S", "SpeedButton_100K_100mS", "SpeedButton_1M_10mS",
    "SpeedButton_10M_1mS", "SpeedButton_50M_100uS", "SpeedButton__10uS_Noise"};

struct ChannelControls {
    QToolButton* voltsDiv = nullptr;  // SpeedButton_VoltsDiv_A1: the probe cycle
    QToolButton* acdc = nullptr;
    QFrame* colour = nullptr;
    std::array<QToolButton*, kVoltsDivCount> volts{};
    QMenu* probeMenu = nullptr;
    std::array<QAction*, 3> probes{};
};

// GroupBox1 and the generator strip.
struct PanelControls {
    QToolButton* run = nullptr;
    QToolButton* single = nullptr;
    QFrame* colourTimeDiv = nullptr;
    std::array<QToolButton*, kTimebaseCount> timebase{};
    std::array<ChannelControls, 2> channel;  // A1, A2
    QToolButton* trig = nullptr;
    QFrame* colourTrig = nullptr;
    QToolButton* trigA1 = nullptr;
    QToolButton* trigA2 = nullptr;
    QToolButton* trigEdge = nullptr;
    QToolButton* autoTrig = nullptr;
    QToolButton* trigD1 = nullptr;
    QToolButton* trigD2 = nullptr;
    QToolButton* tplus = nullptr;
    QToolButton* retTrig = nullptr;

    QToolButton* genOn = nullptr;
    std::array<QToolButton*, 5> shapes{};
    std::array<QToolButton*, 6> ranges{};
    QToolButton* mod = nullptr;
    QToolButton* pulse = nullptr;
    QToolButton* sweep = nullptr;
    QScrollBar* fFast = nullptr;
    QScrollBar* fSlow = nullptr;
    QScrollBar* amplitude = nullptr;
    QFrame* panelGen = nullptr;
    QLabel* labelF = nullptr;
    QLabel* labelV = nullptr;
    QLabel* labelMod = nullptr;
    QLabel* labelPulse = nullptr;
};

struct MenuControls {
    QMenu* file = nullptr;
    QMenu* exportMenu = nullptr;
    QMenu* device = nullptr;
    QMenu* view = nullptr;
    QMenu* freqMeter = nullptr;

    QAction* open = nullptr;
    QAction* openSettings = nullptr;
    QAction* saveAs = nullptr;
    QAction* saveSettingsAs = nullptr;
    QAction* image = nullptr;
    QAction* text = nullptr;
    std::array<QAction*, 4> rawBinary{};  // A1, A2, D1, D2
    QAction* csv = nullptr;
    QAction* recorder = nullptr;
    std::array<QAction*, 3> models{};  // QX4001A (28), QX4002 (25), QX4003 (31)
    QAction* exit = nullptr;

    QAction* trigger = nullptr;
    QAction* fftSet = nullptr;
    QAction* generatorSet = nullptr;
    QAction* peakDetect = nullptr;
    std::array<QAction*, 4> samples{};
    std::array<QAction*, 5> divisions{};
    std::array<QAction*, kFrameRateKeys.size()> frameRates{};
    std::array<QAction*, kFreqMeterKeys.size()> freqMeterInputs{};
    QAction* separatorN18 = nullptr;
    QAction* fmCalibrate = nullptr;
    QAction* zeroCalibrate = nullptr;
    QAction* tdcCalibrate = nullptr;
    QAction* colors = nullptr;
    QAction* russian = nullptr;
    QAction* english = nullptr;

    std::array<QAction*, 4> channels{};  // CH A1, A2, D1, D2
    QAction* markers1 = nullptr;
    QAction* markers2 = nullptr;
    QAction* measure = nullptr;
    QAction* grid = nullptr;
    QAction* trigPosL = nullptr;
    QAction* extraInfo = nullptr;
    QAction* trigPulseTime = nullptr;
    QAction* generatorView = nullptr;
    QAction* bgView = nullptr;
    QAction* bgSwap = nullptr;
    QAction* bgClear = nullptr;
    std::array<QAction*, kDrawModeKeys.size()> drawModes{};
    QAction* lenta = nullptr;
    QAction* fftA1 = nullptr;
    QAction* fftA2 = nullptr;
    QAction* compact = nullptr;
    QAction* onTop = nullptr;

    QAction* helpContents = nullptr;
    QAction* about = nullptr;
};

}  // namespace qx40
