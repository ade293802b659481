// The main window: the oscilloscope screen, the control panel, the
// generator strip and the menus. It owns the scope state, the records, the
// link to the instrument and the acquisition thread. Handlers change the
// state and end in one of the two apply operations; the controls then show
// the state.
#pragma once

#include <QAction>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMap>
#include <QRect>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "screen/pointer_controller.h"
#include "device/acquisition_thread.h"
#include "device/background_record.h"
#include "device/device_session.h"
#include "scope/scope_model.h"
#include "screen/screen_geometry.h"
#include "display/screen_renderer.h"
#include "base/user_dialogs.h"

namespace qx40 {

class ScreenView;

// The generator range buttons; the last one's name has one underscore fewer
// than "SpeedButton_" followed by its settings key.
inline constexpr std::array<const char*, 6> kGenRangeButtons = {
    "SpeedButton_10K_1S", "SpeedButton_100K_100mS", "SpeedButton_1M_10mS",
    "SpeedButton_10M_1mS", "SpeedButton_50M_100uS", "SpeedButton__10uS_Noise"};

struct MainWindowOptions {
    UsbLink* link = nullptr;
    UserDialogs* dialogs = nullptr;
    std::string settingsPath;                      // the program settings file
    std::vector<std::string> arguments;            // command line, without the program name
    std::span<const std::uint8_t> fpgaImage;
    bool placeholderImage = false;
    std::string programName = "qx40";
    SleepFunction sleep;                           // waits inside the device session
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(MainWindowOptions options, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The two apply operations.
    void ApplySettings();
    void ApplyAndRestart();

    // Layout operations, in the orders the handlers call them.
    void ApplyDeviceModel();
    void ArrangePanels(bool compact, bool generatorView);
    void RecalcScreenGeometry();
    // Places the screen, the control panel and the generator strip in the
    // client area as the compact and generator views say.
    void LayoutPanels();
    void SelectDeviceModel(std::int32_t code);
    void ClearMainBuffers();
    void ClearBackgroundBuffers();

    // A second copy handed over its last argument.
    void HandleCopyData(int argumentCount, const QString& path);
    void OpenSettingsFile(const std::string& path);
    void OpenDataFile(const std::string& path);

    // The display step, run through the acquisition thread's hand-over.
    void RefreshScreen();

    // For tests and the command handlers.
    ScopeModel& Model() { return model_; }
    SharedLink& Shared() { return shared_; }
    SampleRecord& MainRecord() { return main_; }
    SampleRecord& BackgroundRecord() { return background_; }
    RecordLevels& BackgroundLevels() { return backgroundLevels_; }
    const QImage& Bitmap() const { return bitmap_; }
    const ScreenGeometry& Geometry() const { return geometry_; }
    bool CompactView() const { return compactView_; }
    bool IsBusy() const { return busy_; }
    std::int32_t FramesShown() const { return framesShown_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class MainWindowBuilder;

    // Construction.
    void BuildWidgets();
    void BuildMenus();
    void ConnectControls();
    void ApplyServiceSwitches();
    void StartThread();

    // Keeps every control showing the state (after each apply).
    void SyncControls();
    void SyncMenus();
    void AfterApply();

    // Control and menu handlers.
    void TimebaseClick(TimebaseIndex t);
    void VoltsDivClick(int channel, VoltsDiv v);
    void ProbeClick(int channel, Probe p);
    void ProbeCycleClick(int channel);
    void RunButtonClick(RunButton button);
    void GenOnClick();
    void TriggerSourceClick(TriggerSource source);
    void GeneratorModeClick(GenMode mode);
    void Menu_FileClick();
    void Menu_ViewClick();
    void Menu_Markers_Click(int which);
    void Menu_FFT_Click(int channel);
    void Menu_BG_DoClick();
    void Menu_BG_ClrClick();
    void Menu_CompactClick();
    void Menu_Gen_ViewClick();
    void Menu_LanguageClick(bool russian);
    void Menu_Open_SettingsClick();
    void Menu_Save_Settings_AsClick();
    void Menu_OpenClick();
    void Menu_Save_AsClick();
    void Menu_ExitClick();
    void SpeedButton_ret_trigClick();
    void Menu_Help_ContentsClick();
    void NotAvailableYet();

    // Pointer on the paint area.
    void ConnectPointer();
    void FollowUp(PointerAction action);
    DraggedLevel Dragging() const;

    void FirstPaint();
    void DrawActivityIndicator();
    void ApplyCaptionsNow();
    void RefreshPanels();
    std::string DialogFolder() const { return programDir_; }
    void RememberFolder(const std::string& path);
    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon);
    void Busy(bool on) { busy_ = on; }

    MainWindowOptions options_;
    UsbLink& link_;
    UserDialogs& dialogs_;

    // State and records.
    ScopeModel model_;
    RecordLevels backgroundLevels_;
    SampleRecord main_;
    SampleRecord background_;
    RecordFile mainFile_;  // fromFile mirrors ShowingFile
    RecordFile backgroundFile_;
    bool bgLaneSwap_ = false;
    std::int32_t backgroundStart_ = 0;
    bool spectrumRequest_ = true;
    bool modelQuestionArmed_ = false;
    bool modelChangeForced_ = false;
    std::int32_t framesShown_ = 0;
    std::int32_t lastFrameCounter_ = 0;

    // Link and acquisition.
    SharedLink shared_;
    UsbStats stats_;
    DeviceHandle handle_;
    MainThreadQueue queue_;
    std::unique_ptr<DeviceSession> session_;
    std::unique_ptr<AcquisitionThread> thread_;
    bool threadStopped_ = false;

    // Screen.
    QImage bitmap_;
    ScreenGeometry geometry_;
    ScreenRenderer renderer_;
    PointerController pointer_;

    // Layout.
    bool compactView_ = false;
    bool firstCompact_ = true;
    bool firstPaint_ = true;
    // Starting up, or inside a hand-over or a command: a hand-over that
    // names a file is dropped meanwhile.
    bool busy_ = true;
    struct SavedBounds {
        QRect geometry;
        Qt::WindowStates state = Qt::WindowNoState;
    } savedBounds_;
    QSize initialClientSize_;
    QSize initialWindowSize_;
    int initialSignalWidth_ = 0;
    int initialGroupBox1Height_ = 0;
    int initialTop2VA1_ = 0;
    int initialTop2VA2_ = 0;
    std::string programDir_;

    // Widgets, found by objectName as well.
    QWidget* central_ = nullptr;
    QWidget* panelSignal_ = nullptr;
    ScreenView* imageM_ = nullptr;
    QScrollBar* scrollX_ = nullptr;
    QGroupBox* groupBox1_ = nullptr;
    QGroupBox* groupBox2_ = nullptr;
    QTimer timer1_;
    QMap<QString, QToolButton*> buttons_;
    QMap<QString, QAction*> actions_;
    QMap<QString, QWidget*> widgets_;  // everything else that handlers touch
};

}  // namespace qx40
