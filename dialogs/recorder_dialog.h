// The recorder window: File, Start, Stop and Exit over the recorder's core
// (recorder/recorder_session), which takes the A1 bytes of every displayed
// roll frame from the session while the window is open. Modal; closing it
// while recording asks first; minimising it minimises the program.
#pragma once

#include <QDialog>
#include <QTimer>
#include <string>

#include "base/user_dialogs.h"
#include "device/scope_session.h"
#include "recorder/recorder_session.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace qx40 {

class TForm_Recorder : public QDialog {
    Q_OBJECT
public:
    TForm_Recorder(ScopeSession& session, UserDialogs& dialogs, QWidget* mainWindow,
                   RecorderEnvironment environment = DefaultRecorderEnvironment());
    ~TForm_Recorder() override;

    // Shows the window until it is closed. folder is the program's file
    // folder: the data file is proposed there, and File moves it.
    void Run(std::string& folder);

    const RecorderSession& Recorder() const { return recorder_; }

protected:
    void reject() override;  // Exit, Escape and the close box
    void changeEvent(QEvent* event) override;

private:
    void FormShow();
    void Button_FileClick();
    void Button_StartClick();
    void Button_StopClick();
    void Timer1Timer();
    // Buttons, file name and information as the recorder's state says.
    void ShowState();
    bool Russian() const { return session_.State().Common.Russian; }
    const FrameInfo& Info() { return session_.MainRecord().Info; }

    ScopeSession& session_;
    UserDialogs& dialogs_;
    QWidget* mainWindow_;
    RecorderSession recorder_;
    std::string* folder_ = nullptr;

    QLineEdit* editFile_ = nullptr;
    QPushButton* buttonFile_ = nullptr;
    QPlainTextEdit* memoInfo_ = nullptr;
    QLabel* labelSize_ = nullptr;
    QPushButton* buttonStart_ = nullptr;
    QPushButton* buttonStop_ = nullptr;
    QPushButton* buttonExit_ = nullptr;
    QTimer timer1_;
};

}  // namespace qx40
