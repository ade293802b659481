// The main window: the oscilloscope screen, the control panel, the
// generator strip and the menus, as the front end of one ScopeSession.
// Handlers change the session's state and end in one of its two apply
// operations; the controls then show the state.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QRect>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/qt_translations.h"
#include "app/window_controls.h"
#include "base/user_dialogs.h"
#include "device/scope_session.h"
#include "dialogs/dialog_set.h"
#include "display/screen_renderer.h"
#include "screen/pointer_controller.h"
#include "screen/screen_geometry.h"

class QGroupBox;
class QScrollBar;

namespace qx40 {

class ScreenView;

struct MainWindowOptions {
    UsbLink* link = nullptr;
    UserDialogs* dialogs = nullptr;
    std::string settingsPath;            // the program settings file
    std::string dialogFolder;            // where file dialogs start; the settings file's folder when empty
    std::vector<std::string> arguments;  // command line, without the program name
    std::span<const std::uint8_t> fpgaImage;
    bool placeholderImage = false;
    std::string programName = "qx40";
    bool firstStartRussian = true;  // the language until the settings file holds one
    SleepFunction threadSleep;      // the acquisition thread's waits; empty for the real clock
};

class MainWindow : public QMainWindow, public SessionFrontEnd {
    Q_OBJECT
public:
    explicit MainWindow(MainWindowOptions options, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The two apply operations, through the session.
    void ApplySettings() { session_.ApplySettings(); }
    void ApplyAndRestart() { session_.ApplyAndRestart(); }

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

    ScopeSession& Session() { return session_; }
    ScopeModel& Model() { return session_.Model(); }
    SharedLink& Shared() { return session_.Shared(); }
    SampleRecord& MainRecord() { return session_.MainRecord(); }
    SampleRecord& BackgroundRecord() { return session_.BackgroundRecord(); }
    RecordLevels& BackgroundLevels() { return session_.BackgroundLevels(); }
    const QImage& Bitmap() const { return bitmap_; }
    const ScreenGeometry& Geometry() const { return geometry_; }
    bool CompactView() const { return compactView_; }
    bool IsBusy() const { return starting_ || session_.Busy(); }
    std::int32_t FramesShown() const { return session_.FramesShown(); }

    // SessionFrontEnd.
    void Wake() override;
    void RunLater(std::chrono::milliseconds delay, std::function<void()> fn) override;
    void RefreshScreen() override;
    void DrawIndicator() override;
    void StateApplied() override;
    void ArmModelQuestion() override { modelQuestionArmed_ = true; }

    // Runs the session's hand-overs and what they deferred.
    Q_INVOKABLE void ServeSession();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Construction.
    void BuildWidgets();
    void BuildMenus();
    void ConnectControls();
    void ConnectMenus();
    void ApplyServiceSwitches();

    // Keeps every control showing the state (after each apply).
    void SyncControls();
    void SyncMenus();
    void EnableFileCommands();

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
    void Menu_TriggerClick();
    void Menu_GeneratorSetClick();
    void Menu_CompactClick();
    void Menu_Gen_ViewClick();
    void Menu_LanguageClick(bool russian);
    void Menu_Open_SettingsClick();
    void Menu_Save_Settings_AsClick();
    void Menu_OpenClick();
    void Menu_Save_AsClick();
    // Menu_Image, Menu_Text, Menu_EBin_A1 .. Menu_EBin_D2, Menu_CSV.
    void Menu_ExportClick(std::string_view menuItem);
    void Menu_RecorderClick();
    void Menu_ExitClick();
    void SpeedButton_ret_trigClick();
    void Menu_Help_ContentsClick();
    void Menu_FFTSetClick();
    void Menu_ColorsClick();
    void Menu_AboutClick();

    // Calibrations.
    void Menu_ZeroCalibrateClick();
    void Menu_FM_CalibrateClick();
    void Menu_TDCCalibrateClick();
    // The instrument has reported itself; the window now shows its model.
    // Otherwise says so and returns false.
    bool CalibrationInstrumentReady();
    void EndCalibration();

    // Pointer on the paint area.
    void ConnectPointer();
    void FollowUp(PointerAction action);
    DraggedLevel Dragging() const;

    // The display step's model check; its questions wait until the hand-over
    // has ended.
    void CheckFrameModel();
    void ChangeToReportedModel(std::int32_t reported);

    void FirstPaint();
    // Writes the program settings file; says so and returns false when it cannot.
    bool SaveProgramSettings();
    void ApplyCaptionsNow();
    void RefreshPanels();
    std::string DialogFolder() const { return programDir_; }
    void RememberFolder(const std::string& path);
    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon);

    MainWindowOptions options_;
    UserDialogs& dialogs_;
    ScopeSession session_;

    // Display state.
    bool bgLaneSwap_ = false;
    std::int32_t backgroundStart_ = 0;
    bool spectrumRequest_ = true;
    bool modelQuestionArmed_ = false;
    bool modelChangeForced_ = false;
    bool modelCheckQueued_ = false;
    std::atomic<bool> serveQueued_{false};  // a call to ServeSession is on its way

    // Screen.
    QImage bitmap_;
    ScreenGeometry geometry_;
    ScreenRenderer renderer_;
    PointerController pointer_;

    // Layout.
    bool compactView_ = false;
    bool firstCompact_ = true;
    bool firstPaint_ = true;
    // Until the first paint has opened the instrument and the command-line file.
    bool starting_ = true;
    // A file handed over while the display step ran, opened once it has ended.
    std::optional<std::pair<int, std::string>> pendingHandOver_;
    struct SavedBounds {
        QRect geometry;
        Qt::WindowStates state = Qt::WindowNoState;
    } savedBounds_;
    QSize initialClientSize_;
    QSize initialWindowSize_;
    int initialGroupBox1Height_ = 0;
    int initialTop2VA1_ = 0;
    int initialTop2VA2_ = 0;
    int initialTriggerTop_ = 0;
    std::string programDir_;

    // Widgets.
    QWidget* central_ = nullptr;
    QWidget* panelSignal_ = nullptr;
    ScreenView* imageM_ = nullptr;
    QScrollBar* scrollX_ = nullptr;
    QGroupBox* groupBox1_ = nullptr;
    QGroupBox* groupBox2_ = nullptr;
    PanelControls panel_;
    MenuControls menus_;
    QTimer timer1_;
    QtTranslations qtTranslations_;
    std::unique_ptr<DialogSet> dialogSet_;  // after the widgets: the dialogs are the window's children
};

}  // namespace qx40
