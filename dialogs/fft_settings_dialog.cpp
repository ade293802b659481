#include "dialogs/fft_settings_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace qx40 {

TForm_FFTSet::TForm_FFTSet(ScopeSession& session, QWidget* mainWindow)
    : SettingsDialog(session, mainWindow) {
    setObjectName("Form_FFTSet");
    // Created in tab order: the three groups, the check boxes, OK, Cancel.
    for (const FftControlInfo& info : FftControls()) BuildControl(Of(info.control), info);
    buttonOK_ = new QPushButton(QStringLiteral("OK"), this);
    buttonOK_->setObjectName("Button_OK");
    buttonOK_->setDefault(true);
    buttonCancel_ = new QPushButton(this);
    buttonCancel_->setObjectName("Button_Cancel");
    connect(buttonOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(buttonCancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* checks = new QVBoxLayout;
    checks->addWidget(Of(FftControl::Scale).group);
    for (FftControl c : {FftControl::dbv_v, FftControl::Mdl, FftControl::Dither})
        checks->addWidget(Of(c).check);
    checks->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(buttonOK_);
    buttons->addWidget(buttonCancel_);
    auto* grid = new QGridLayout(this);
    grid->addWidget(Of(FftControl::Size).group, 0, 0);
    grid->addWidget(Of(FftControl::Win).group, 0, 1);
    grid->addLayout(checks, 0, 2);
    grid->addLayout(buttons, 1, 0, 1, 3);
    // As large as the captions of the language in force need, no larger.
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm_FFTSet::BuildControl(Control& c, const FftControlInfo& info) {
    c.info = &info;
    if (info.items.empty()) {
        c.check = new QCheckBox(this);
        c.check->setObjectName(
            QString::fromUtf8(info.name.data(), static_cast<qsizetype>(info.name.size())));
        connect(c.check, &QCheckBox::toggled, this,
                [this, control = info.control](bool on) { ControlClick(control, on ? 1 : 0); });
        return;
    }
    c.group = new QGroupBox(this);
    c.group->setObjectName(
        QString::fromUtf8(info.name.data(), static_cast<qsizetype>(info.name.size())));
    c.buttons = new QButtonGroup(c.group);
    auto* column = new QVBoxLayout(c.group);
    for (std::size_t i = 0; i < info.items.size(); ++i) {
        auto* item = new QRadioButton(c.group);
        c.buttons->addButton(item, static_cast<int>(i));
        column->addWidget(item);
        c.items.push_back(item);
    }
    column->addStretch(1);
    // Clicks and the arrow keys alike check an item.
    connect(c.buttons, &QButtonGroup::idToggled, this,
            [this, control = info.control](int id, bool checked) {
                if (checked) ControlClick(control, id);
            });
}

void TForm_FFTSet::RestoreFields() {
    // The spectrum menu items are the window's; the dialog copied the rest.
    FftSection& f = State().FFT;
    f.Size = copy_.Size;
    f.Win = copy_.Win;
    f.Scale = copy_.Scale;
    f.dbv_v = copy_.dbv_v;
    f.Mdl = copy_.Mdl;
    f.Dither = copy_.Dither;
}

void TForm_FFTSet::ShowCaptions(bool russian) {
    const auto text = [](std::string_view s) {
        return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
    };
    setWindowTitle(text(russian ? "Установки БПФ" : "FFT Settings"));
    for (Control& c : controls_) {
        const QString caption = text(c.info->caption.In(russian));
        if (c.check) {
            c.check->setText(caption);
            continue;
        }
        c.group->setTitle(caption);
        for (std::size_t i = 0; i < c.items.size(); ++i)
            c.items[i]->setText(text(c.info->items[i].In(russian)));
    }
    buttonCancel_->setText(text(russian ? "Отмена" : "Cancel"));
}

void TForm_FFTSet::FormShow() {
    const FftSection& f = State().FFT;
    for (Control& c : controls_) {
        const std::int32_t value = FftControlValue(f, c.info->control);
        if (c.check)
            c.check->setChecked(value != 0);
        else
            c.items[static_cast<std::size_t>(value)]->setChecked(true);
    }
    Of(FftControl::Dither).check->setVisible(FftDitherShown(State()));
}

void TForm_FFTSet::ControlClick(FftControl control, int value) {
    if (Updating()) return;
    LinkFlags& flags = Session().Shared().flags;
    switch (SetFftControl(State().FFT, control, value)) {
        case FftEditEffect::Redraw:
            Session().ApplySettings();
            break;
        case FftEditEffect::NewSpectrum:
            flags.SettingsChanged = true;  // the average starts again
            flags.NewFrameData = true;     // the window recomputes the spectrum
            Session().ApplySettings();
            break;
        case FftEditEffect::Restart:
            Session().ApplyAndRestart();
            break;
    }
}

}  // namespace qx40
