#include "dialogs/calibration_dialog.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace qx40 {

void ApplyCalibrationCaptions(QDialog& window, std::span<const CalibrationCaption> captions, bool russian) {
    for (const CalibrationCaption& row : captions) {
        const std::string_view text = russian ? row.russian : row.english;
        const QString caption = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        const QString name = QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size()));
        if (name == window.objectName())
            window.setWindowTitle(caption);
        else if (auto* label = window.findChild<QLabel*>(name))
            label->setText(caption);
        else if (auto* button = window.findChild<QAbstractButton*>(name))
            button->setText(caption);
    }
}

CalibrationDialog::CalibrationDialog(ScopeSession& session, QWidget* mainWindow, const char* objectName,
                                     const char* progressName, std::span<const CalibrationCaption> captions)
    : SettingsDialog(session, mainWindow), captions_(captions) {
    setObjectName(objectName);
    const auto named = [this](auto* widget, const char* name) {
        widget->setObjectName(name);
        return widget;
    };
    labelInfo_ = named(new QLabel(this), "Label_Info");
    labelInfo_->setWordWrap(true);
    labelInfo_->setMinimumWidth(360);
    labelD_ = named(new QLabel(this), "Label_D");
    progress_ = named(new QProgressBar(this), progressName);
    progress_->setTextVisible(false);
    start_ = named(new QPushButton(this), "Button_Start");
    ok_ = named(new QPushButton(this), "Button_OK");
    cancel_ = named(new QPushButton(this), "Button_Cancel");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labelInfo_);
    layout->addWidget(labelD_);
    layout->addWidget(progress_);
    layout->addLayout(buttons);

    connect(start_, &QPushButton::clicked, this, [this] { Button_StartClick(); });
    connect(ok_, &QPushButton::clicked, this, [this] { accept(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
}

CalibrationDialog::~CalibrationDialog() { Session().SetFrameObserver({}); }

QString CalibrationDialog::LabelText(const std::string& text) {
    return QString::fromStdString(text).replace("\r\n", "\n");
}

void CalibrationDialog::ShowCaptions(bool russian) { ApplyCalibrationCaptions(*this, captions_, russian); }

void CalibrationDialog::FormShow() {
    start_->setEnabled(true);
    ok_->setEnabled(false);
    progress_->setRange(0, Procedure().ProgressMaximum());
    progress_->setValue(0);
    cancel_->setFocus();
}

void CalibrationDialog::Button_StartClick() {
    start_->setEnabled(false);
    ok_->setEnabled(false);
    labelInfo_->setText(QString::fromStdString(CalibratingText(Russian())));
    progress_->setRange(0, Procedure().ProgressMaximum());
    progress_->setValue(0);
    ShowStart();
    Session().SetFrameObserver([this](const SampleRecord& frame) { FrameArrived(frame); });
    Procedure().Start();
}

void CalibrationDialog::FrameArrived(const SampleRecord& frame) {
    CalibrationProcedure& p = Procedure();
    p.OnFrame(frame);
    progress_->setValue(p.Progress());
    if (p.Measuring())
        ShowRunning();
    else
        ShowEnd();
}

void CalibrationDialog::ShowEnd() {
    Session().SetFrameObserver({});
    const bool ru = Russian();
    if (Procedure().Phase() == CalibrationPhase::Done) {
        labelInfo_->setText(QString::fromStdString(CalibrationOkText(ru)));
        ShowResult();
        ok_->setEnabled(true);
    } else {
        labelInfo_->setText(QString::fromStdString(CalibrationFailedText(ru)));
        ShowFailure();
    }
    start_->setEnabled(true);
}

void CalibrationDialog::reject() {
    Session().SetFrameObserver({});
    Procedure().Abort();
    SettingsDialog::reject();
}

}  // namespace qx40
