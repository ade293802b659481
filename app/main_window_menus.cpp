// The main menu: File, Options, View, Help with every item named as the
// settings and handlers know it.
#include <QActionGroup>
#include <QMenuBar>

#include "app/main_window.h"

namespace qx40 {

void MainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    const auto menu = [](QWidget* parent, const char* name, const QString& title) {
        auto* m = new QMenu(title, parent);
        m->setObjectName(name);
        m->menuAction()->setObjectName(QString(name) + "_Item");
        return m;
    };
    const auto item = [](QMenu* m, const QString& name, const QString& caption, bool checkable = false,
                         const QKeySequence& shortcut = {}) {
        auto* a = m->addAction(caption);
        a->setObjectName(name);
        a->setCheckable(checkable);
        if (!shortcut.isEmpty()) {
            a->setShortcut(shortcut);
            a->setShortcutContext(Qt::ApplicationShortcut);
        }
        return a;
    };
    const auto sub = [&](QMenu* parent, const char* name, const QString& title) {
        QMenu* m = menu(parent, name, title);
        parent->addMenu(m);
        return m;
    };
    const auto top = [&](const char* name, const char* title) {
        QMenu* m = menu(bar, name, title);
        bar->addMenu(m);
        return m;
    };
    // A choose-one set of items shows radio marks. The state still decides
    // which item is checked (SyncMenus).
    const auto chooseOne = [this](std::span<QAction* const> items) {
        auto* group = new QActionGroup(this);
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
        for (QAction* a : items) group->addAction(a);
    };

    QMenu* file = menus_.file = top("Menu_File", "File");
    menus_.open = item(file, "Menu_Open", "Open...", false, QKeySequence("Ctrl+O"));
    menus_.openSettings = item(file, "Menu_Open_Settings", "Open Settings...");
    menus_.saveAs = item(file, "Menu_Save_As", "Save...", false, QKeySequence("Ctrl+S"));
    menus_.saveSettingsAs = item(file, "Menu_Save_Settings_As", "Save Settings...");
    file->addSeparator();
    QMenu* exportMenu = menus_.exportMenu = sub(file, "Menu_Export", "Export");
    menus_.image = item(exportMenu, "Menu_Image", "Image...");
    menus_.text = item(exportMenu, "Menu_Text", "Text...");
    QMenu* binary = sub(exportMenu, "Menu_Row_Binary", "Row Binary");
    const char* kChannels[4] = {"A1", "A2", "D1", "D2"};
    for (std::size_t c = 0; c < 4; ++c)
        menus_.rawBinary[c] = item(binary, QString("Menu_EBin_") + kChannels[c], QString("CH ") + kChannels[c] + "...");
    menus_.csv = item(exportMenu, "Menu_CSV", "CSV...");
    menus_.recorder = item(file, "Menu_Recorder", "Recorder...");
    menus_.device = sub(file, "Menu_Device", "Device");
    menus_.models = {item(menus_.device, "Menu_4001A", "QX4001A", true), item(menus_.device, "Menu_4002", "QX4002", true),
                     item(menus_.device, "Menu_4003", "QX4003", true)};
    chooseOne(menus_.models);
    file->addSeparator();
    menus_.exit = item(file, "Menu_Exit", "Exit");

    QMenu* options = top("Menu_Options", "Options");
    menus_.trigger = item(options, "Menu_Trigger", "Trigger...", false, QKeySequence("Ctrl+T"));
    menus_.fftSet = item(options, "Menu_FFTSet", "FFT...");
    menus_.generatorSet = item(options, "Menu_GeneratorSet", "Generator Mod...");
    for (std::size_t c = 0; c < 2; ++c) {
        ChannelControls& channel = panel_.channel[c];
        const QString ch = kChannels[c];
        channel.probeMenu = sub(options, c == 0 ? "Menu_Probe_A1" : "Menu_Probe_A2", "Probe " + ch);
        for (std::size_t p = 0; p < 3; ++p)
            channel.probes[p] =
                item(channel.probeMenu, "Menu_" + ch + "_" + kProbeKeySuffixes[p].data(), kProbeKeySuffixes[p].data(), true);
        chooseOne(channel.probes);
    }
    QMenu* sampling = sub(options, "Menu_Sampling", "Sampling");
    menus_.peakDetect = item(sampling, "Menu_SmplPeakDet", "Peak Detect", true, QKeySequence("Ctrl+P"));
    sampling->addSeparator();
    menus_.samples = {item(sampling, "Menu_Smpl_2000", "2000", true), item(sampling, "Menu_Smpl_5000", "5000", true),
                      item(sampling, "Menu_Smpl_10000", "10000", true),
                      item(sampling, "Menu_Smpl_Max", "20000 (A or A+D)", true)};
    chooseOne(menus_.samples);
    QMenu* divisions = sub(options, "Menu_Divisions", "Divisions per signal (min)");
    const char* kDivisions[5] = {"10", "20", "50", "100", "200"};
    for (std::size_t i = 0; i < 5; ++i)
        menus_.divisions[i] = item(divisions, QString("Menu_") + kDivisions[i] + "_Div", kDivisions[i], true);
    chooseOne(menus_.divisions);
    QMenu* fps = sub(options, "Menu_Max_FPS", "FPS (max)");
    const char* kRates[kFrameRateKeys.size()] = {"8", "15", "25", "40", "No Limit"};
    for (std::size_t i = 0; i < kFrameRateKeys.size(); ++i)
        menus_.frameRates[i] = item(fps, QString("Menu_") + kFrameRateKeys[i].data(), kRates[i], true);
    chooseOne(menus_.frameRates);
    QMenu* meter = menus_.freqMeter = sub(options, "Menu_FreqMeter", "Freq. Meter Input");
    const char* kInputs[kFreqMeterKeys.size()] = {"CH A1", "CH A2", "CH D1", "CH D2", "CH D1 (HF)", "CH D2 (HF)",
                                                  "Trig. Cond."};
    for (std::size_t i = 0; i < kFreqMeterKeys.size(); ++i) {
        if (i == IndexOf(FreqMeterSource::FM_TRIG)) {
            menus_.separatorN18 = meter->addSeparator();
            menus_.separatorN18->setObjectName("N18");
        }
        menus_.freqMeterInputs[i] = item(meter, QString("Menu_") + kFreqMeterKeys[i].data(), kInputs[i], true);
    }
    chooseOne(menus_.freqMeterInputs);
    menus_.fmCalibrate = item(options, "Menu_FM_Calibrate", "Freq. Meter Calibrate...");
    menus_.zeroCalibrate = item(options, "Menu_ZeroCalibrate", "Zero Calibrate...", false, QKeySequence("Ctrl+Z"));
    menus_.tdcCalibrate = item(options, "Menu_TDCCalibrate", "TDC Calibrate...", false, QKeySequence("Ctrl+X"));
    menus_.colors = item(options, "Menu_Colors", "Colors...");
    QMenu* language = sub(options, "Menu_Language", "Language");
    menus_.russian = item(language, "Menu_Russian", "Russian", true);
    menus_.english = item(language, "Menu_English", "English", true);
    chooseOne(std::array{menus_.russian, menus_.english});

    QMenu* view = menus_.view = top("Menu_View", "View");
    for (std::size_t c = 0; c < 4; ++c)
        menus_.channels[c] = item(view, QString("Menu_CH_") + kChannels[c], QString("CH ") + kChannels[c], true);
    view->addSeparator();
    menus_.markers1 = item(view, "Menu_Markers_1", "Markers 1", true);
    menus_.markers2 = item(view, "Menu_Markers_2", "Markers 2", true);
    menus_.measure = item(view, "Menu_Measure", "Measure", true, QKeySequence("Ctrl+M"));
    menus_.grid = item(view, "Menu_Grid", "Grid", true, QKeySequence("Ctrl+G"));
    menus_.trigPosL = item(view, "Menu_TrigPosL", "Trig. Position", true);
    menus_.extraInfo = item(view, "Menu_Extra_Info", "Extra Info", true);
    menus_.trigPulseTime = item(view, "Menu_Trig_PT", "Trig. Pulse Time", true);
    menus_.generatorView = item(view, "Menu_Gen_View", "Generator", true);
    view->addSeparator();
    menus_.bgView = item(view, "Menu_BG_View", "B.G. Oscillogram", true);
    menus_.bgSwap = item(view, "Menu_BG_Do", "Main <-> B.G. Oscillogram", false, QKeySequence("Ctrl+B"));
    menus_.bgClear = item(view, "Menu_BG_Clr", "Clear B.G. Oscillogram");
    view->addSeparator();
    QMenu* draw = sub(view, "Menu_DrawMode", "Draw Mode");
    const char* kModes[kDrawModeKeys.size()] = {"Dots", "Vectors", "Sin(x)/x"};
    for (std::size_t i = 0; i < kDrawModeKeys.size(); ++i)
        menus_.drawModes[i] = item(draw, QString("Menu_") + kDrawModeKeys[i].data(), kModes[i], true);
    chooseOne(menus_.drawModes);
    menus_.lenta = item(view, "Menu_Lenta", "Scroll (0.1 .. 20 S/Div)", true);
    menus_.fftA1 = item(view, "Menu_FFT_A1", "FFT A1", true);
    menus_.fftA2 = item(view, "Menu_FFT_A2", "FFT A2", true);
    view->addSeparator();
    menus_.compact = item(view, "Menu_Compact", "Compact View", true, QKeySequence("Ctrl+C"));
    menus_.onTop = item(view, "Menu_On_Top", "Always On Top", true);

    QMenu* help = top("Menu_Help", "Help");
    menus_.helpContents = item(help, "Menu_Help_Contents", "Contents");
    menus_.about = item(help, "Menu_About", "About...");
}

}  // namespace qx40
