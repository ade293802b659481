// Construction, lifecycle and layout of the main window.
#include "app/main_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <filesystem>

#include "app/apply_captions.h"
#include "app/program_icon.h"
#include "app/screen_view.h"
#include "app/window_bounds.h"
#include "display/canvas.h"
#include "files/settings_file.h"
#include "scope/model_features.h"

namespace qx40 {

namespace {
ScopeSessionConfig SessionConfig(const MainWindowOptions& o) {
    ScopeSessionConfig c;
    c.programName = o.programName;
    c.fpgaImage = o.fpgaImage;
    c.placeholderImage = o.placeholderImage;
    c.threadSleep = o.threadSleep;
    return c;
}
}  // namespace

MainWindow::MainWindow(MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent),
      options_(std::move(options)),
      dialogs_(*options_.dialogs),
      session_(*options_.link, dialogs_, *this, SessionConfig(options_)) {
    setObjectName("QX4003MFrm");
    programDir_ = !options_.dialogFolder.empty() ? options_.dialogFolder
                                                 : std::filesystem::path(options_.settingsPath).parent_path().string();

    // Widgets at their design sizes; the initial sizes are the minimum.
    BuildWidgets();
    BuildMenus();
    resize(initialClientSize_.width(), initialClientSize_.height() + menuBar()->sizeHint().height());
    initialWindowSize_ = size();
    setMinimumSize(initialWindowSize_);

    // The settings file overrides the defaults; a missing one reads as empty.
    session_.State().Common.Russian = options_.firstStartRussian;
    ReadSettings(options_.settingsPath, SettingsKind::Program, session_.State());
    RestoreWindowBounds(*this, session_.State().Common);
    ApplyServiceSwitches();
    ClearMainBuffers();
    ClearBackgroundBuffers();
    ApplyDeviceModel();
    ArrangePanels(session_.State().View.Compact, session_.State().Common.Generator);
    RecalcScreenGeometry();
    ApplyCaptionsNow();
    ConnectControls();
    ConnectMenus();
    ConnectPointer();
    session_.Start();  // builds the register image; nothing is sent yet
    SyncControls();
    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, [this] { session_.Timer1Timer(); });
    timer1_.start();
    dialogSet_ = std::make_unique<DialogSet>(
        DialogContext{session_, dialogs_, this, [this] { return SaveProgramSettings(); }, ProgramIcon()});
}

MainWindow::~MainWindow() {
    timer1_.stop();
    session_.Stop();
}

void MainWindow::ApplyServiceSwitches() {
    const SystemSection& sys = session_.State().System;
    const bool extended = session_.State().ExtendedRange();
    const bool tdc = sys.TDC_Clbr || sys.Debug_qx || sys.No_Excuse;
    menus_.tdcCalibrate->setVisible(tdc);
    menus_.tdcCalibrate->setEnabled(tdc);
    panel_.amplitude->setRange(session_.State().AmplitudeMin(), session_.State().AmplitudeMax());
    menus_.recorder->setVisible(sys.Debug_qx);
    menus_.separatorN18->setVisible(extended);
    menus_.freqMeterInputs[IndexOf(FreqMeterSource::FM_TRIG)]->setVisible(extended);
}

// --- The session's front end ---------------------------------------------

void MainWindow::Wake() {
    // From any thread. One queued call serves whatever is waiting; it carries
    // nothing of ours across the threads but the window it is for.
    if (!serveQueued_.exchange(true)) QMetaObject::invokeMethod(this, "ServeSession", Qt::QueuedConnection);
}

void MainWindow::ServeSession() {
    serveQueued_ = false;  // a wake from now on queues the next call
    session_.Serve();
    if (pendingHandOver_ && !session_.InDisplayStep()) {
        const auto [count, path] = *std::exchange(pendingHandOver_, std::nullopt);
        HandleCopyData(count, QString::fromStdString(path));
    }
}

void MainWindow::RunLater(std::chrono::milliseconds delay, std::function<void()> fn) {
    QTimer::singleShot(delay, this, std::move(fn));
}

void MainWindow::StateApplied() {
    const bool onTop = Model().panel.StayOnTop;
    if (onTop != bool(windowFlags() & Qt::WindowStaysOnTopHint)) {
        const bool wasVisible = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        if (wasVisible) show();
    }
    SyncControls();
}

void MainWindow::ApplyCaptionsNow() {
    qtTranslations_.Use(session_.State().Common.Russian);
    ApplyCaptions(this, session_.State().Common.Russian, session_.State().System.Device_Type_Code);
    SyncControls();  // the captions that follow the state (probe, generator ranges)
}

// --- Layout -------------------------------------------------------------

void MainWindow::ApplyDeviceModel() {
    ScopeState& s = session_.State();
    const std::int32_t code = s.System.Device_Type_Code;
    ApplyModelFeatures(s);

    // Menus are shown and hidden through their menu actions only: showing a
    // QMenu widget itself pops it up as a window of its own.
    const bool a2 = HasFeature(code, feature::kSecondAnalog);
    ChannelControls& ca2 = panel_.channel[1];
    for (QWidget* w : {static_cast<QWidget*>(panel_.trigA2), static_cast<QWidget*>(ca2.voltsDiv),
                       static_cast<QWidget*>(ca2.acdc), static_cast<QWidget*>(ca2.colour)})
        w->setVisible(a2);
    for (QToolButton* b : ca2.volts) b->setVisible(a2);
    ca2.probeMenu->menuAction()->setVisible(a2);
    for (QAction* a : {menus_.freqMeterInputs[IndexOf(FreqMeterSource::FM_A2)], menus_.channels[kA2],
                       menus_.fftA2, menus_.rawBinary[kA2]})
        a->setVisible(a2);
    const int w1 = a2 ? 38 : 51;
    panel_.trigA1->setText(a2 ? "A1" : "A");
    panel_.trigA1->resize(w1, panel_.trigA1->height());
    panel_.trigEdge->setGeometry(a2 ? 84 : 58, panel_.trigEdge->y(), w1, 20);
    panel_.autoTrig->setGeometry(a2 ? 123 : 110, panel_.autoTrig->y(), w1, 20);

    const bool d2 = HasFeature(code, feature::kSecondDigital);
    panel_.trigD2->setVisible(d2);
    for (QAction* a : {menus_.freqMeterInputs[IndexOf(FreqMeterSource::FM_D2)],
                       menus_.freqMeterInputs[IndexOf(FreqMeterSource::FM_D2_HF)], menus_.channels[kD2],
                       menus_.rawBinary[kD2]})
        a->setVisible(d2);
    const int w2 = d2 ? 38 : 51;
    panel_.trigD1->setText(d2 ? "D1" : "D");
    panel_.trigD1->resize(w2, panel_.trigD1->height());
    panel_.tplus->setGeometry(d2 ? 84 : 58, panel_.tplus->y(), w2, 20);
    panel_.retTrig->setGeometry(d2 ? 123 : 110, panel_.retTrig->y(), w2, 20);

    const bool generator = HasFeature(code, feature::kGenerator);
    menus_.generatorView->setVisible(generator);
    menus_.generatorSet->setVisible(generator);
    const bool meter = HasFeature(code, feature::kFreqMeter);
    menus_.freqMeter->menuAction()->setVisible(meter);
    menus_.fmCalibrate->setVisible(meter);
    const bool deep = HasFeature(code, feature::kDeepMemory);
    menus_.samples[IndexOf(SampleCountChoice::Smpl_N_10000)]->setVisible(deep);
    menus_.samples[IndexOf(SampleCountChoice::Smpl_N_20000)]->setVisible(deep);
    SyncControls();
}

void MainWindow::ArrangePanels(bool compact, bool generatorView) {
    const bool strip = generatorView && HasFeature(session_.State().System.Device_Type_Code, feature::kGenerator);
    const int chrome = menuBar()->sizeHint().height();
    if (compact && !compactView_) {
        setMinimumSize(430, 250);
        groupBox1_->hide();
        groupBox2_->hide();
        if (firstCompact_) {
            const QSize shrunk(width() - groupBox1_->width(), height() - groupBox2_->height());
            setWindowState(Qt::WindowNoState);
            resize(shrunk);
            firstCompact_ = false;
        } else {
            if (!(savedBounds_.state & Qt::WindowMaximized)) setGeometry(savedBounds_.geometry);
            setWindowState(savedBounds_.state);
        }
    } else if (!compact && compactView_) {
        savedBounds_ = {geometry(), windowState()};
        setWindowState(Qt::WindowNoState);
        resize(initialClientSize_.width(), initialClientSize_.height() + chrome);
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = geometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
        setMinimumSize(initialWindowSize_);
        groupBox1_->show();
    }
    if (!compact) groupBox2_->setVisible(strip);
    compactView_ = compact;
    LayoutPanels();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    LayoutPanels();
}

void MainWindow::LayoutPanels() {
    if (!central_) return;
    const QSize client = central_->size().isValid() && central_->width() > 0
                             ? central_->size()
                             : QSize(width(), height() - menuBar()->sizeHint().height());
    if (compactView_) {
        panelSignal_->setGeometry(0, 0, client.width(), client.height());
    } else {
        const int right = groupBox1_->width();
        groupBox1_->setGeometry(client.width() - right, 0, right, client.height());
        const int strip = groupBox2_->isVisibleTo(this) ? groupBox2_->height() : 0;
        panelSignal_->setGeometry(0, 0, client.width() - right, client.height() - strip);
        groupBox2_->setGeometry(0, client.height() - groupBox2_->height(), client.width() - right, groupBox2_->height());
    }
    const QRect inside = panelSignal_->contentsRect();
    scrollX_->setGeometry(inside.left(), inside.bottom() - 15, inside.width(), 16);
    imageM_->setGeometry(inside.left(), inside.top(), inside.width(), inside.height() - 16);
    RecalcScreenGeometry();
    Shared().flags.RedrawRequest = true;
}

void MainWindow::RecalcScreenGeometry() {
    const int iw = std::max(1, imageM_->width()), ih = std::max(1, imageM_->height());
    geometry_ = ComputeScreenGeometry(iw, ih);
    if (bitmap_.size() != QSize(iw, ih)) bitmap_ = QImage(iw, ih, QImage::Format_RGB32);
    bitmap_.fill(Canvas::ToRgb(session_.State().Colors[ColourSlot::Border]));

    // Channel rows of the control panel follow its height.
    const double k = static_cast<double>(groupBox1_->height()) / initialGroupBox1Height_;
    const bool a2 = HasFeature(session_.State().System.Device_Type_Code, feature::kSecondAnalog);
    const int r = panel_.channel[0].volts[0]->height();
    const double anchors[2] = {a2 ? double(initialTop2VA1_) : (initialTop2VA1_ + initialTop2VA2_) / 2.0,
                               double(initialTop2VA2_)};
    for (int channel = 0; channel < 2; ++channel) {
        ChannelControls& c = panel_.channel[static_cast<std::size_t>(channel)];
        const double y = anchors[channel];
        const int top = static_cast<int>(y * k - 22);
        c.voltsDiv->move(c.voltsDiv->x(), top);
        c.acdc->move(c.acdc->x(), top);
        c.colour->move(c.colour->x(), top + 4);
        for (std::size_t v = 0; v < kVoltsDivCount; ++v)
            c.volts[v]->move(c.volts[v]->x(), static_cast<int>(v < 3 ? y * k : y * k + r));
    }

    // The trigger controls keep their distance from the bottom of the column,
    // so that they stay below the channel rows however tall it grows.
    const int dy =
        groupBox1_->height() - (initialGroupBox1Height_ - initialTriggerTop_) - panel_.trig->y();
    if (dy != 0)
        for (QWidget* w : std::initializer_list<QWidget*>{
                 panel_.trig, panel_.colourTrig, panel_.trigA1, panel_.trigA2, panel_.trigEdge,
                 panel_.autoTrig, panel_.trigD1, panel_.trigD2, panel_.tplus, panel_.retTrig})
            w->move(w->x(), w->y() + dy);
}

void MainWindow::SelectDeviceModel(std::int32_t code) {
    session_.State().System.Device_Type_Code = code;
    ApplyDeviceModel();
    ArrangePanels(session_.State().View.Compact, session_.State().Common.Generator);
    RecalcScreenGeometry();
    ApplyCaptionsNow();
    ApplyAndRestart();
    modelQuestionArmed_ = false;
}

void MainWindow::ClearMainBuffers() {
    session_.ClearMainRecord();
    spectrumRequest_ = true;
}

void MainWindow::ClearBackgroundBuffers() {
    session_.ClearBackgroundRecord();
    bgLaneSwap_ = false;
}

// --- Lifecycle ----------------------------------------------------------

void MainWindow::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (firstPaint_) {
        firstPaint_ = false;
        QMetaObject::invokeMethod(this, [this] { FirstPaint(); }, Qt::QueuedConnection);
    }
}

void MainWindow::FirstPaint() {
    // The open lists the devices away from the window; the file named on the
    // command line follows it.
    session_.OpenOnFirstPaint([this](UsbStatus) {
        if (!options_.arguments.empty() && !options_.arguments.back().empty()) {
            const std::string& file = options_.arguments.back();
            if (std::filesystem::path(file).extension() == ".qxs")
                OpenSettingsFile(file);
            else
                OpenDataFile(file);
        }
        starting_ = false;
    });
}

bool MainWindow::SaveProgramSettings() {
    std::string error;
    const bool ru = session_.State().Common.Russian;
    if (WriteSettings(options_.settingsPath, SettingsKind::Program, session_.State(), Shared().facts.Get(), error))
        return true;
    ShowMessage(Tr(ru, "Save Settings", "Сохранение файла настроек"),
                options_.settingsPath + Tr(ru, "\r\nCan't open file for writing.", "\r\nНет доступа к файлу."),
                MessageIcon::Error);
    return false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The compact view's small window is not the place to come back to.
    if (!compactView_) SaveWindowBounds(*this, session_.State().Common);
    SaveProgramSettings();
    // The thread goes before the window and its children do; an FPGA upload
    // under way ends at its next chunk.
    timer1_.stop();
    session_.Stop();
    event->accept();
}

void MainWindow::Menu_ExitClick() { close(); }

void MainWindow::ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) {
    dialogs_.Show({caption, text, icon, MessageButtons::Ok});
}

void MainWindow::RememberFolder(const std::string& path) {
    programDir_ = std::filesystem::path(path).parent_path().string();
}

}  // namespace qx40
