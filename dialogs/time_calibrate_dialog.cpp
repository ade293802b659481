#include "dialogs/time_calibrate_dialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "calibration/calibration_texts.h"
#include "dialogs/calibration_dialog.h"
#include "display/decimal_separator.h"

namespace qx40 {
namespace {
constexpr int kTimeRange = 250;  // steps of 0.2 ppm either way
}  // namespace

TForm_TimeCalibrate::TForm_TimeCalibrate(ScopeSession& session, QWidget* mainWindow,
                                         std::function<bool()> saveProgramSettings)
    : SettingsDialog(session, mainWindow), saveProgramSettings_(std::move(saveProgramSettings)) {
    setObjectName("Form_TimeCalibrate");
    trackBar_ = new QSlider(Qt::Horizontal, this);
    trackBar_->setObjectName("TrackBar_PPM");
    trackBar_->setRange(-kTimeRange, kTimeRange);
    trackBar_->setPageStep(1);
    trackBar_->setTickInterval(50);
    trackBar_->setTickPosition(QSlider::TicksBelow);
    trackBar_->setMinimumWidth(320);
    labelPpm_ = new QLabel(this);
    labelPpm_->setObjectName("Label_PPM");
    ok_ = new QPushButton(this);
    ok_->setObjectName("Button_OK");
    cancel_ = new QPushButton(this);
    cancel_->setObjectName("Button_Cancel");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(labelPpm_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(trackBar_);
    layout->addLayout(buttons);

    connect(trackBar_, &QSlider::valueChanged, this, [this](int position) { TrackBar_PPMChange(position); });
    connect(ok_, &QPushButton::clicked, this, [this] { accept(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
}

void TForm_TimeCalibrate::ShowCaptions(bool russian) {
    ApplyCalibrationCaptions(*this, TimeCalibrateCaptions(), russian);
}

void TForm_TimeCalibrate::FormShow() {
    trackBar_->setValue(State().Calibrate.Time);
    ShowPpm();
    cancel_->setFocus();
}

void TForm_TimeCalibrate::ShowPpm() {
    const char separator = LocaleDecimalSeparator();
    labelPpm_->setText(QString::fromStdString(PpmText(State().Calibrate.Time, separator)));
}

void TForm_TimeCalibrate::TrackBar_PPMChange(int position) {
    if (Updating()) return;
    State().Calibrate.Time = position;
    ShowPpm();
    // The frequency meter's next readings carry the new correction.
    Session().ApplyAndRestart();
}

}  // namespace qx40
