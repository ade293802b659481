// The main menu: File, Options, View, Help with every item named as the
// settings and handlers know it.
#include <QMenuBar>

#include "app/main_window.h"

namespace qx40 {

void MainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    const auto menu = [](QWidget* parent, const char* name, const char* title) {
        auto* m = new QMenu(title, parent);
        m->setObjectName(name);
        m->menuAction()->setObjectName(QString(name) + "_Item");
        return m;
    };
    const auto item = [this](QMenu* m, const QString& name, const QString& caption, bool checkable = false,
                             const QKeySequence& shortcut = {}) {
        auto* a = m->addAction(caption);
        a->setObjectName(name);
        a->setCheckable(checkable);
        if (!shortcut.isEmpty()) {
            a->setShortcut(shortcut);
            a->setShortcutContext(Qt::ApplicationShortcut);
        }
        actions_.insert(name, a);
        return a;
    };
    const auto sub = [&](QMenu* parent, const char* name, const char* title) {
        QMenu* m = menu(parent, name, title);
        parent->addMenu(m);
        widgets_.insert(name, m);
        return m;
    };

    QMenu* file = menu(bar, "Menu_File", "File");
    bar->addMenu(file);
    widgets_.insert("Menu_File", file);
    item(file, "Menu_Open", "Open...", false, QKeySequence("Ctrl+O"));
    item(file, "Menu_Open_Settings", "Open Settings...");
    item(file, "Menu_Save_As", "Save...", false, QKeySequence("Ctrl+S"));
    item(file, "Menu_Save_Settings_As", "Save Settings...");
    file->addSeparator();
    QMenu* exportMenu = sub(file, "Menu_Export", "Export");
    item(exportMenu, "Menu_Image", "Image...");
    item(exportMenu, "Menu_Text", "Text...");
    QMenu* binary = sub(exportMenu, "Menu_Row_Binary", "Row Binary");
    for (const char* ch : {"A1", "A2", "D1", "D2"})
        item(binary, QString("Menu_EBin_") + ch, QString("CH ") + ch + "...");
    item(file, "Menu_Recorder", "Recorder...");
    QMenu* device = sub(file, "Menu_Device", "Device");
    item(device, "Menu_4001A", "QX4001A", true);
    item(device, "Menu_4002", "QX4002", true);
    item(device, "Menu_4003", "QX4003", true);
    file->addSeparator();
    item(file, "Menu_Exit", "Exit");

    QMenu* options = menu(bar, "Menu_Options", "Options");
    bar->addMenu(options);
    widgets_.insert("Menu_Options", options);
    item(options, "Menu_Trigger", "Trigger...", false, QKeySequence("Ctrl+T"));
    item(options, "Menu_FFTSet", "FFT...");
    item(options, "Menu_GeneratorSet", "Generator Mod...");
    for (const char* ch : {"A1", "A2"}) {
        QMenu* probe = sub(options, (QString("Menu_Probe_") + ch).toLatin1().constData(), "Probe");
        probe->setTitle(QString("Probe ") + ch);
        for (std::size_t p = 0; p < 3; ++p)
            item(probe, QString("Menu_") + ch + "_" + kProbeKeySuffixes[p].data(), kProbeKeySuffixes[p].data(), true);
    }
    QMenu* sampling = sub(options, "Menu_Sampling", "Sampling");
    item(sampling, "Menu_SmplPeakDet", "Peak Detect", true, QKeySequence("Ctrl+P"));
    sampling->addSeparator();
    item(sampling, "Menu_Smpl_2000", "2000", true);
    item(sampling, "Menu_Smpl_5000", "5000", true);
    item(sampling, "Menu_Smpl_10000", "10000", true);
    item(sampling, "Menu_Smpl_Max", "20000 (A or A+D)", true);
    QMenu* divisions = sub(options, "Menu_Divisions", "Divisions per signal (min)");
    for (const char* n : {"10", "20", "50", "100", "200"}) item(divisions, QString("Menu_") + n + "_Div", n, true);
    QMenu* fps = sub(options, "Menu_Max_FPS", "FPS (max)");
    for (const char* n : {"8", "15", "25", "40"}) item(fps, QString("Menu_FPS_") + n, n, true);
    item(fps, "Menu_FPS_NO_LIM", "No Limit", true);
    QMenu* meter = sub(options, "Menu_FreqMeter", "Freq. Meter Input");
    item(meter, "Menu_FM_A1", "CH A1", true);
    item(meter, "Menu_FM_A2", "CH A2", true);
    item(meter, "Menu_FM_D1", "CH D1", true);
    item(meter, "Menu_FM_D2", "CH D2", true);
    item(meter, "Menu_FM_D1_HF", "CH D1 (HF)", true);
    item(meter, "Menu_FM_D2_HF", "CH D2 (HF)", true);
    QAction* n18 = meter->addSeparator();
    n18->setObjectName("N18");
    actions_.insert("N18", n18);
    item(meter, "Menu_FM_TRIG", "Trig. Cond.", true);
    item(options, "Menu_FM_Calibrate", "Freq. Meter Calibrate...");
    item(options, "Menu_ZeroCalibrate", "Zero Calibrate...", false, QKeySequence("Ctrl+Z"));
    item(options, "Menu_TDCCalibrate", "TDC Calibrate...", false, QKeySequence("Ctrl+X"));
    item(options, "Menu_Colors", "Colors...");
    QMenu* language = sub(options, "Menu_Language", "Language");
    item(language, "Menu_Russian", "Russian", true);
    item(language, "Menu_English", "English", true);

    QMenu* view = menu(bar, "Menu_View", "View");
    bar->addMenu(view);
    widgets_.insert("Menu_View", view);
    for (const char* ch : {"A1", "A2", "D1", "D2"}) item(view, QString("Menu_CH_") + ch, QString("CH ") + ch, true);
    view->addSeparator();
    item(view, "Menu_Markers_1", "Markers 1", true);
    item(view, "Menu_Markers_2", "Markers 2", true);
    item(view, "Menu_Measure", "Measure", true, QKeySequence("Ctrl+M"));
    item(view, "Menu_Grid", "Grid", true, QKeySequence("Ctrl+G"));
    item(view, "Menu_TrigPosL", "Trig. Position", true);
    item(view, "Menu_Extra_Info", "Extra Info", true);
    item(view, "Menu_Trig_PT", "Trig. Pulse Time", true);
    item(view, "Menu_Gen_View", "Generator", true);
    view->addSeparator();
    item(view, "Menu_BG_View", "B.G. Oscillogram", true);
    item(view, "Menu_BG_Do", "Main <-> B.G. Oscillogram", false, QKeySequence("Ctrl+B"));
    item(view, "Menu_BG_Clr", "Clear B.G. Oscillogram");
    view->addSeparator();
    QMenu* draw = sub(view, "Menu_DrawMode", "Draw Mode");
    item(draw, "Menu_Dots", "Dots", true);
    item(draw, "Menu_Vectors", "Vectors", true);
    item(draw, "Menu_Sinxx", "Sin(x)/x", true);
    item(view, "Menu_Lenta", "Scroll (0.1 .. 20 S/Div)", true);
    item(view, "Menu_FFT_A1", "FFT A1", true);
    item(view, "Menu_FFT_A2", "FFT A2", true);
    view->addSeparator();
    item(view, "Menu_Compact", "Compact View", true, QKeySequence("Ctrl+C"));
    item(view, "Menu_On_Top", "Always On Top", true);

    QMenu* help = menu(bar, "Menu_Help", "Help");
    bar->addMenu(help);
    widgets_.insert("Menu_Help", help);
    item(help, "Menu_Help_Contents", "Contents");
    item(help, "Menu_About", "About...");
}

}  // namespace qx40
