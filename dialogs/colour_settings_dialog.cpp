#include "dialogs/colour_settings_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPalette>
#include <QVBoxLayout>

#include "display/canvas.h"

namespace qx40 {
namespace {

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The slots in two columns of six, in slot order.
constexpr std::size_t kRowsPerColumn = 6;

}  // namespace

TForm_ColorSet::TForm_ColorSet(ScopeSession& session, UserDialogs& dialogs, QWidget* mainWindow,
                               std::function<bool()> saveProgramSettings)
    : SettingsDialog(session, mainWindow),
      dialogs_(dialogs),
      saveProgramSettings_(std::move(saveProgramSettings)) {
    setObjectName("Form_ColorSet");
    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(2, 12);  // between the two columns
    for (std::size_t i = 0; i < kColourSlotCount; ++i) {
        SlotControls& s = slots_[i];
        s.row = &ColourSlotRows()[i];
        s.button = new QPushButton(this);
        s.button->setObjectName(Text(s.row->button));
        s.button->setAutoDefault(false);
        s.panel = new QFrame(this);
        s.panel->setObjectName(Text(s.row->panel));
        s.panel->setFrameShape(QFrame::Panel);
        s.panel->setFrameShadow(QFrame::Sunken);
        s.panel->setAutoFillBackground(true);
        s.panel->setMinimumSize(48, 20);
        const int row = static_cast<int>(i % kRowsPerColumn), column = i < kRowsPerColumn ? 0 : 3;
        grid->addWidget(s.button, row, column);
        grid->addWidget(s.panel, row, column + 1);
        connect(s.button, &QPushButton::clicked, this, [this, &s] { SlotClick(s); });
    }
    buttonDefault_ = new QPushButton(this);
    buttonDefault_->setObjectName("Button_clDefault");
    buttonDefault_->setAutoDefault(false);
    buttonOK_ = new QPushButton(QStringLiteral("OK"), this);
    buttonOK_->setObjectName("Button_OK");
    buttonCancel_ = new QPushButton(this);
    buttonCancel_->setObjectName("Button_Cancel");
    connect(buttonDefault_, &QPushButton::clicked, this, [this] { Button_clDefaultClick(); });
    connect(buttonOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(buttonCancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(buttonDefault_);
    buttons->addStretch(1);
    buttons->addWidget(buttonOK_);
    buttons->addWidget(buttonCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ShowColorPanels();
}

void TForm_ColorSet::ShowCaptions(bool russian) {
    const std::int32_t code = State().System.Device_Type_Code;
    setWindowTitle(Text(russian ? "Установки цветов" : "Color Settings"));
    for (SlotControls& s : slots_)
        s.button->setText(Text(ColourSlotCaption(*s.row, russian, code)));
    buttonDefault_->setText(Text(russian ? "По умолч." : "Default"));
    buttonCancel_->setText(Text(russian ? "Отмена" : "Cancel"));
}

void TForm_ColorSet::FormShow() {
    const std::int32_t code = State().System.Device_Type_Code;
    for (SlotControls& s : slots_) {
        const bool shown = ColourSlotShown(*s.row, code);
        s.button->setVisible(shown);
        s.panel->setVisible(shown);
    }
    ShowColorPanels();
    // Enter without a choice leaves the colours as they were.
    buttonCancel_->setDefault(true);
    buttonCancel_->setFocus();
}

void TForm_ColorSet::Accepted() {
    saveProgramSettings_();
}

void TForm_ColorSet::SlotClick(const SlotControls& slot) {
    std::uint32_t& colour = State().Colors[slot.row->slot];
    const std::optional<std::uint32_t> chosen =
        dialogs_.ChooseColour(colour, slot.button->text().toStdString());
    if (!chosen) return;
    colour = *chosen & 0x00FFFFFF;
    ShowColorPanels();
    Session().ApplySettings();
}

void TForm_ColorSet::Button_clDefaultClick() {
    State().Colors.SetDefaultColours();
    ShowColorPanels();
    Session().ApplySettings();
}

void TForm_ColorSet::ShowColorPanels() {
    for (SlotControls& s : slots_) {
        QPalette p = s.panel->palette();
        p.setColor(QPalette::Window, QColor::fromRgb(Canvas::ToRgb(State().Colors[s.row->slot])));
        s.panel->setPalette(p);
    }
}

}  // namespace qx40
