// Construction, lifecycle and layout of the main window.
#include "app/main_window.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <filesystem>
#include <thread>

#include "app/apply_captions.h"
#include "app/screen_view.h"
#include "device/apply_operations.h"
#include "scope/model_features.h"
#include "display/canvas.h"
#include "files/settings_file.h"

namespace qx40 {

namespace {
void DefaultSleep(std::chrono::milliseconds ms) { std::this_thread::sleep_for(ms); }
}  // namespace

MainWindow::MainWindow(MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent),
      options_(std::move(options)),
      link_(*options_.link),
      dialogs_(*options_.dialogs),
      queue_([this] { QMetaObject::invokeMethod(this, [this] { queue_.Drain(); }, Qt::QueuedConnection); }) {
    setObjectName("QX4003MFrm");
    if (!options_.sleep) options_.sleep = DefaultSleep;
    programDir_ = std::filesystem::path(options_.settingsPath).parent_path().string();

    // Widgets at their design sizes; the initial sizes are the minimum.
    BuildWidgets();
    BuildMenus();
    resize(initialClientSize_.width(), initialClientSize_.height() + menuBar()->sizeHint().height());
    initialWindowSize_ = size();
    setMinimumSize(initialWindowSize_);

    // The settings file overrides the defaults; a missing one reads as empty.
    ReadSettings(options_.settingsPath, SettingsKind::Program, model_.state);
    ApplyServiceSwitches();
    ClearMainBuffers();
    ClearBackgroundBuffers();
    ApplyDeviceModel();
    ArrangePanels(model_.state.View.Compact, model_.state.Common.Generator);
    RecalcScreenGeometry();
    ApplyCaptionsNow();
    ConnectControls();
    ConnectPointer();
    qx40::ApplySettings(model_, backgroundLevels_, shared_);  // builds the register image; nothing is sent yet
    SyncControls();
    StartThread();
    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, [this] { session_->Timer1Timer(); });
    timer1_.start();
}

MainWindow::~MainWindow() {
    timer1_.stop();
    if (thread_) thread_->Stop();
    queue_.Close();
    if (session_) session_->CloseDevice();
}

void MainWindow::StartThread() {
    SessionHooks hooks;
    hooks.setBusy = [this](bool on) { Busy(on); };
    hooks.applyAndRestart = [this] { ApplyAndRestart(); };
    hooks.applySettings = [this] { ApplySettings(); };
    hooks.releaseButton = [this](DeviceButton b) {
        if (b == DeviceButton::GenOn)
            model_.state.Generator.GenOn = false;
        else if ((b == DeviceButton::Run && model_.state.View.Run == RunButton::Run) ||
                 (b == DeviceButton::Single && model_.state.View.Run == RunButton::Single))
            model_.state.View.Run = RunButton::None;
        SyncControls();
    };
    hooks.armModelQuestion = [this] { modelQuestionArmed_ = true; };
    session_ = std::make_unique<DeviceSession>(link_, handle_, shared_, stats_, dialogs_, model_.state,
                                               options_.programName, options_.placeholderImage, hooks, options_.sleep);
    MainThreadSteps steps;
    steps.refreshScreen = [this] { RefreshScreen(); };
    steps.drawIndicator = [this] { DrawActivityIndicator(); };
    steps.singleShotDone = [this] {
        if (model_.state.View.Run == RunButton::Single) model_.state.View.Run = RunButton::None;
        SyncControls();
    };
    thread_ = std::make_unique<AcquisitionThread>(link_, handle_, shared_, stats_, main_, queue_, steps,
                                                  options_.fpgaImage, options_.sleep);
    thread_->Start();
}

void MainWindow::ApplyServiceSwitches() {
    const SystemSection& sys = model_.state.System;
    const bool extended = model_.state.ExtendedRange();
    actions_["Menu_TDCCalibrate"]->setVisible(sys.TDC_Clbr || sys.Debug_qx || sys.No_Excuse);
    actions_["Menu_TDCCalibrate"]->setEnabled(sys.TDC_Clbr || sys.Debug_qx || sys.No_Excuse);
    auto* amplitude = static_cast<QScrollBar*>(widgets_["ScrollBar_Amplitude"]);
    amplitude->setRange(model_.state.AmplitudeMin(), model_.state.AmplitudeMax());
    actions_["Menu_Recorder"]->setVisible(sys.Debug_qx);
    actions_["N18"]->setVisible(extended);
    actions_["Menu_FM_TRIG"]->setVisible(extended);
}

// --- Apply and show -------------------------------------------------------

void MainWindow::ApplySettings() {
    qx40::ApplySettings(model_, backgroundLevels_, shared_);
    AfterApply();
}

void MainWindow::ApplyAndRestart() {
    qx40::ApplyAndRestart(model_, backgroundLevels_, shared_);
    AfterApply();
}

void MainWindow::AfterApply() {
    const bool onTop = model_.panel.StayOnTop;
    if (onTop != bool(windowFlags() & Qt::WindowStaysOnTopHint)) {
        const bool wasVisible = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        if (wasVisible) show();
    }
    SyncControls();
}

void MainWindow::ApplyCaptionsNow() {
    ApplyCaptions(this, model_.state.Common.Russian, model_.state.System.Device_Type_Code);
    SyncControls();  // the captions that follow the state (probe, generator ranges)
}

// --- Layout -------------------------------------------------------------

void MainWindow::ApplyDeviceModel() {
    ScopeState& s = model_.state;
    const std::int32_t code = s.System.Device_Type_Code;
    actions_["Menu_4001A"]->setChecked(code == 28);
    actions_["Menu_4002"]->setChecked(code == 25);
    actions_["Menu_4003"]->setChecked(code == 31);
    ApplyModelFeatures(s);

    const bool a2 = HasFeature(code, feature::kSecondAnalog);
    for (const char* name : {"SpeedButton_TrigA2", "SpeedButton_VoltsDiv_A2", "SpeedButton_ACDC_A2"})
        buttons_[name]->setVisible(a2);
    widgets_["Panel_Color_A2"]->setVisible(a2);
    for (std::size_t v = 0; v < kVoltsDivCount; ++v)
        buttons_[QStringLiteral("SpeedButton_") + kVoltsDivKeySuffixes[v].data() + "_A2"]->setVisible(a2);
    static_cast<QMenu*>(widgets_["Menu_Probe_A2"])->menuAction()->setVisible(a2);
    for (const char* name : {"Menu_FM_A2", "Menu_CH_A2", "Menu_FFT_A2", "Menu_EBin_A2"}) actions_[name]->setVisible(a2);
    const int w1 = a2 ? 38 : 51;
    buttons_["SpeedButton_TrigA1"]->setText(a2 ? "A1" : "A");
    buttons_["SpeedButton_TrigA1"]->resize(w1, buttons_["SpeedButton_TrigA1"]->height());
    buttons_["SpeedButton_TrigEdge"]->setGeometry(a2 ? 84 : 58, buttons_["SpeedButton_TrigEdge"]->y(), w1, 20);
    buttons_["SpeedButton_Auto"]->setGeometry(a2 ? 123 : 110, buttons_["SpeedButton_Auto"]->y(), w1, 20);

    const bool d2 = HasFeature(code, feature::kSecondDigital);
    buttons_["SpeedButton_TrigD2"]->setVisible(d2);
    for (const char* name : {"Menu_FM_D2", "Menu_FM_D2_HF", "Menu_CH_D2", "Menu_EBin_D2"}) actions_[name]->setVisible(d2);
    const int w2 = d2 ? 38 : 51;
    buttons_["SpeedButton_TrigD1"]->setText(d2 ? "D1" : "D");
    buttons_["SpeedButton_TrigD1"]->resize(w2, buttons_["SpeedButton_TrigD1"]->height());
    buttons_["SpeedButton_TPLUS"]->setGeometry(d2 ? 84 : 58, buttons_["SpeedButton_TPLUS"]->y(), w2, 20);
    buttons_["SpeedButton_ret_trig"]->setGeometry(d2 ? 123 : 110, buttons_["SpeedButton_ret_trig"]->y(), w2, 20);

    const bool generator = HasFeature(code, feature::kGenerator);
    actions_["Menu_Gen_View"]->setVisible(generator);
    actions_["Menu_GeneratorSet"]->setVisible(generator);
    const bool meter = HasFeature(code, feature::kFreqMeter);
    widgets_["Menu_FreqMeter"]->setVisible(meter);
    static_cast<QMenu*>(widgets_["Menu_FreqMeter"])->menuAction()->setVisible(meter);
    actions_["Menu_FM_Calibrate"]->setVisible(meter);
    const bool deep = HasFeature(code, feature::kDeepMemory);
    actions_["Menu_Smpl_10000"]->setVisible(deep);
    actions_["Menu_Smpl_Max"]->setVisible(deep);
    SyncControls();
}

void MainWindow::ArrangePanels(bool compact, bool generatorView) {
    const bool strip = generatorView && HasFeature(model_.state.System.Device_Type_Code, feature::kGenerator);
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
    shared_.flags.RedrawRequest = true;
}

void MainWindow::RecalcScreenGeometry() {
    const int iw = std::max(1, imageM_->width()), ih = std::max(1, imageM_->height());
    geometry_ = ComputeScreenGeometry(iw, ih);
    if (bitmap_.size() != QSize(iw, ih)) bitmap_ = QImage(iw, ih, QImage::Format_RGB32);
    bitmap_.fill(Canvas::ToRgb(model_.state.Colors[ColourSlot::Border]));

    // Channel rows of the control panel follow its height.
    const double k = static_cast<double>(groupBox1_->height()) / initialGroupBox1Height_;
    const bool a2 = HasFeature(model_.state.System.Device_Type_Code, feature::kSecondAnalog);
    const int r = buttons_["SpeedButton_2V_A1"]->height();
    const double anchors[2] = {a2 ? double(initialTop2VA1_) : (initialTop2VA1_ + initialTop2VA2_) / 2.0,
                               double(initialTop2VA2_)};
    for (int channel = 0; channel < 2; ++channel) {
        const QString suffix = channel == 0 ? "_A1" : "_A2";
        const double y = anchors[channel];
        const int top = static_cast<int>(y * k - 22);
        buttons_["SpeedButton_VoltsDiv" + suffix]->move(buttons_["SpeedButton_VoltsDiv" + suffix]->x(), top);
        buttons_["SpeedButton_ACDC" + suffix]->move(buttons_["SpeedButton_ACDC" + suffix]->x(), top);
        widgets_["Panel_Color" + suffix]->move(widgets_["Panel_Color" + suffix]->x(), top + 4);
        for (std::size_t v = 0; v < kVoltsDivCount; ++v) {
            QToolButton* b = buttons_[QStringLiteral("SpeedButton_") + kVoltsDivKeySuffixes[v].data() + suffix];
            b->move(b->x(), static_cast<int>(v < 3 ? y * k : y * k + r));
        }
    }
}

void MainWindow::SelectDeviceModel(std::int32_t code) {
    model_.state.System.Device_Type_Code = code;
    ApplyDeviceModel();
    ArrangePanels(model_.state.View.Compact, model_.state.Common.Generator);
    RecalcScreenGeometry();
    ApplyCaptionsNow();
    ApplyAndRestart();
    modelQuestionArmed_ = false;
}

void MainWindow::ClearMainBuffers() {
    main_.Clear();
    shared_.flags.ShowingFile = false;
    mainFile_.fromFile = false;
    shared_.flags.NewFrameData = true;
    spectrumRequest_ = true;
}

void MainWindow::ClearBackgroundBuffers() {
    ClearBackground(background_, backgroundFile_);
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
    session_->OpenOnFirstPaint();
    if (!options_.arguments.empty() && !options_.arguments.back().empty()) {
        const std::string& file = options_.arguments.back();
        if (std::filesystem::path(file).extension() == ".qxs")
            OpenSettingsFile(file);
        else
            OpenDataFile(file);
    }
    Busy(false);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    std::string error;
    if (!WriteSettings(options_.settingsPath, SettingsKind::Program, model_.state, shared_.facts.Get(), error))
        ShowMessage(Tr(model_.state.Common.Russian, "Save Settings", "Сохранение файла настроек"),
                    options_.settingsPath + Tr(model_.state.Common.Russian, "\r\nCan't open file for writing.",
                                               "\r\nНет доступа к файлу."),
                    MessageIcon::Error);
    // The thread goes before the window and its children do.
    timer1_.stop();
    thread_->Stop();
    queue_.Close();
    session_->CloseDevice();
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
