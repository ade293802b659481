#include "dialogs/trigger_settings_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "dialogs/dialog_controls.h"
#include "display/decimal_separator.h"
#include "trigger/trigger_ranges.h"

namespace qx40 {
namespace {

constexpr std::array<const char*, 6> kStepButtons = {"SpeedButton_T10uS",  "SpeedButton_T100uS",
                                                     "SpeedButton_T1mS",   "SpeedButton_T10mS",
                                                     "SpeedButton_T100mS", "SpeedButton_T1S"};
constexpr std::array<const char*, kLevelBoxCount> kLevelBoxes = {
    "CheckBox_LevA1", "CheckBox_LevA2", "CheckBox_LevD1", "CheckBox_LevD2"};

Qt::CheckState CheckStateOf(BoxState s) {
    switch (s) {
        case BoxState::Unchecked:
            return Qt::Unchecked;
        case BoxState::Grayed:
            return Qt::PartiallyChecked;
        case BoxState::Checked:
            return Qt::Checked;
    }
    return Qt::Unchecked;
}

BoxState BoxStateOf(const QCheckBox* box) {
    switch (box->checkState()) {
        case Qt::Unchecked:
            return BoxState::Unchecked;
        case Qt::PartiallyChecked:
            return BoxState::Grayed;
        case Qt::Checked:
            return BoxState::Checked;
    }
    return BoxState::Unchecked;
}

QCheckBox* ThreeStateBox(QWidget* parent, const char* name) {
    auto* box = new QCheckBox(parent);
    box->setObjectName(name);
    box->setTristate(true);
    return box;
}

QLabel* Label(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

// A radio group of `count` items in two columns, filled top to bottom. Tab
// stops once in the group, at the chosen item; the arrow keys choose another.
QGroupBox* RadioGroup(QWidget* parent, const char* name, int count, QButtonGroup& items) {
    auto* box = new QGroupBox(parent);
    box->setObjectName(name);
    auto* grid = new QGridLayout(box);
    const int rows = (count + 1) / 2;
    for (int i = 0; i < count; ++i) {
        auto* item = new QRadioButton(box);
        item->setFocusPolicy(Qt::ClickFocus);
        QObject::connect(item, &QRadioButton::toggled, item, [item](bool on) {
            item->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
        });
        items.addButton(item, i);
        grid->addWidget(item, i % rows, i / rows);
    }
    return box;
}

}  // namespace

TForm_TrigSet::TForm_TrigSet(ScopeSession& session, QWidget* mainWindow)
    : SettingsDialog(session, mainWindow) {
    setObjectName("Form_TrigSet");
    Build();
    Connect();
}

void TForm_TrigSet::Build() {
    const TriggerRanges& r = kTriggerRanges;
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    preTrig_ = RadioGroup(this, "RadioGroup_PreTrig", r.Pre.max + 1, preTrigItems_);
    noiseReject_ = RadioGroup(this, "RadioGroup_NR", r.Hyst.max + 1, noiseRejectItems_);
    top->addWidget(preTrig_);
    top->addWidget(noiseReject_);
    layout->addLayout(top);

    labelTrigN_ = Label(this, "Label_TrigN");
    trigN_ = MakeBar(this, "ScrollBar_Trig_N", r.N, r.LargeChange);
    labelTrigN_->setBuddy(trigN_);
    layout->addWidget(labelTrigN_);
    layout->addWidget(trigN_);

    conditions_ = new QGroupBox(this);
    conditions_->setObjectName("GroupBox_TP");
    auto* tp = new QVBoxLayout(conditions_);
    labelPTMode_ = Label(conditions_, "Label_Trig_PTMode");
    ptMode_ = ThreeStateBox(conditions_, "CheckBox_Trig_PTMode");
    tp->addWidget(labelPTMode_);
    tp->addWidget(ptMode_);
    auto* stepRow = new QHBoxLayout;
    for (std::size_t i = 0; i < steps_.size(); ++i) {
        steps_[i] = MakeGroupButton(conditions_, kStepButtons[i]);
        stepGroup_.addButton(steps_[i], static_cast<int>(i));
        stepRow->addWidget(steps_[i]);
    }
    stepRow->addStretch();
    tp->addLayout(stepRow);
    ptMin_ = MakeBar(conditions_, "ScrollBar_Trig_PTmin", r.PTmin, r.LargeChange);
    ptMax_ = MakeBar(conditions_, "ScrollBar_Trig_PTmax", r.PTmax, r.LargeChange);
    tp->addWidget(ptMin_);
    tp->addWidget(ptMax_);
    tp->addSpacing(6);
    labelSlewMode_ = Label(conditions_, "Label_Slew_Mode");
    slewMode_ = ThreeStateBox(conditions_, "CheckBox_Slew_Mode");
    slew_ = MakeBar(conditions_, "ScrollBar_Trig_Slew", r.Slew, r.LargeChange);
    tp->addWidget(labelSlewMode_);
    tp->addWidget(slewMode_);
    tp->addWidget(slew_);
    tp->addSpacing(6);
    labelLev_ = Label(conditions_, "Label_Lev");
    tp->addWidget(labelLev_);
    auto* levelRow = new QHBoxLayout;
    for (std::size_t bit = 0; bit < kLevelBoxCount; ++bit) {
        levels_[bit] = ThreeStateBox(conditions_, kLevelBoxes[bit]);
        levelRow->addWidget(levels_[bit]);
    }
    levelRow->addStretch();
    tp->addLayout(levelRow);
    layout->addWidget(conditions_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    ok_ = new QPushButton(this);
    ok_->setObjectName("Button_OK");
    cancel_ = new QPushButton(this);
    cancel_->setObjectName("Button_Cancel");
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm_TrigSet::Connect() {
    connect(&preTrigItems_, &QButtonGroup::idClicked, this,
            [this](int i) { RadioGroup_PreTrigClick(i); });
    connect(&noiseRejectItems_, &QButtonGroup::idClicked, this,
            [this](int i) { RadioGroup_NRClick(i); });
    connect(trigN_, &QScrollBar::valueChanged, this, [this](int v) { ScrollBar_Trig_NChange(v); });
    connect(ptMode_, &QCheckBox::clicked, this, [this] { CheckBox_Trig_PTModeClick(); });
    connect(slewMode_, &QCheckBox::clicked, this, [this] { CheckBox_Slew_ModeClick(); });
    connect(slew_, &QScrollBar::valueChanged, this,
            [this](int v) { ScrollBar_Trig_SlewChange(v); });
    connect(&stepGroup_, &QButtonGroup::idClicked, this,
            [this](int i) { PulseTimeStepClick(static_cast<std::size_t>(i)); });
    connect(ptMin_, &QScrollBar::valueChanged, this, [this] { ScrollBar_Trig_PTminChange(); });
    connect(ptMax_, &QScrollBar::valueChanged, this, [this] { ScrollBar_Trig_PTmaxChange(); });
    for (std::size_t bit = 0; bit < kLevelBoxCount; ++bit)
        connect(levels_[bit], &QCheckBox::clicked, this, [this, bit] { CheckBox_LevClick(bit); });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

// The eleven fields the dialog edits; source, edge, auto, T+ and the levels
// belong to the window.
void TForm_TrigSet::CopyFields() {
    copy_ = State().Trigger;
}

void TForm_TrigSet::RestoreFields() {
    TriggerSection& t = State().Trigger;
    t.Pre = copy_.Pre;
    t.Hyst = copy_.Hyst;
    t.N = copy_.N;
    t.PTmin = copy_.PTmin;
    t.PTmax = copy_.PTmax;
    t.PTmult = copy_.PTmult;
    t.PTMode = copy_.PTMode;
    t.Slew = copy_.Slew;
    t.Slew_Mode = copy_.Slew_Mode;
    t.Levels = copy_.Levels;
    t.Lev_Mask = copy_.Lev_Mask;
}

void TForm_TrigSet::ShowCaptions(bool russian) {
    const TriggerDialogCaptions c = TriggerDialogCaptionsOf(russian);
    setWindowTitle(Text(c.Window));
    preTrig_->setTitle(Text(c.PreTrig));
    for (std::size_t i = 0; i < c.PreTrigItems.size(); ++i)
        preTrigItems_.button(static_cast<int>(i))->setText(Text(c.PreTrigItems[i]));
    noiseReject_->setTitle(Text(c.NoiseReject));
    for (std::size_t i = 0; i < c.NoiseRejectItems.size(); ++i)
        noiseRejectItems_.button(static_cast<int>(i))->setText(Text(c.NoiseRejectItems[i]));
    conditions_->setTitle(Text(c.Conditions));
    labelPTMode_->setText(Text(c.PulseTime));
    labelSlewMode_->setText(Text(c.Slew));
    labelLev_->setText(Text(c.Levels));
    for (std::size_t i = 0; i < steps_.size(); ++i) steps_[i]->setText(Text(c.Steps[i]));
    ok_->setText(Text(c.Ok));
    cancel_->setText(Text(c.Cancel));

    // Room for the longest texts the state can give these captions.
    TriggerSection widest;
    widest.N = 255;
    widest.PTmin = 888, widest.PTmax = 888, widest.PTmult = 1000;
    widest.Slew = 255;
    const auto captions = [&](std::int32_t mode) {
        widest.PTMode = widest.Slew_Mode = mode;
        return ComputeTriggerDialogView(widest, 31, russian, LocaleDecimalSeparator());
    };
    const TriggerDialogView inside = captions(1), outside = captions(2);
    ReserveWidthFor(labelTrigN_, {Text(inside.TrigN)});
    ReserveWidthFor(ptMode_, {Text(inside.PTMode), Text(outside.PTMode)});
    ReserveWidthFor(slewMode_, {Text(inside.SlewMode), Text(outside.SlewMode)});
}

void TForm_TrigSet::FormShow() {
    cancel_->setFocus();
    const TriggerSection& t = State().Trigger;
    preTrigItems_.button(kTriggerRanges.Pre.Clamp(t.Pre))->setChecked(true);
    noiseRejectItems_.button(kTriggerRanges.Hyst.Clamp(t.Hyst))->setChecked(true);
    trigN_->setValue(t.N);
    ptMin_->setValue(t.PTmin);
    ptMax_->setValue(t.PTmax);
    slew_->setValue(t.Slew);
    if (const auto step = PulseTimeStepIndex(t.PTmult)) steps_[*step]->setChecked(true);
    ptMode_->setCheckState(CheckStateOf(ModeBoxState(t.PTMode)));
    slewMode_->setCheckState(CheckStateOf(ModeBoxState(t.Slew_Mode)));
    for (std::size_t bit = 0; bit < kLevelBoxCount; ++bit)
        levels_[bit]->setCheckState(CheckStateOf(LevelBoxState(t, bit)));
    UpdateTrigSetView();
}

void TForm_TrigSet::UpdateTrigSetView() {
    const ScopeState& s = State();
    const TriggerDialogView v = ComputeTriggerDialogView(s.Trigger, s.System.Device_Type_Code,
                                                         Russian(), LocaleDecimalSeparator());
    labelTrigN_->setText(Text(v.TrigN));
    ptMode_->setText(Text(v.PTMode));
    slewMode_->setText(Text(v.SlewMode));
    for (std::size_t bit = 0; bit < kLevelBoxCount; ++bit) {
        levels_[bit]->setText(Text(v.Level[bit]));
        levels_[bit]->setVisible(v.LevelVisible[bit]);
        levels_[bit]->setEnabled(v.LevelEnabled[bit]);
    }
    slewMode_->setEnabled(v.SlewModeEnabled);
    for (QToolButton* b : steps_) b->setEnabled(v.PulseTimeEnabled);
    ptMin_->setEnabled(v.PulseTimeEnabled);
    ptMax_->setEnabled(v.PulseTimeEnabled);
    slew_->setEnabled(v.SlewEnabled);
    Session().ApplyAndRestart();
}

void TForm_TrigSet::RadioGroup_PreTrigClick(int index) {
    if (Updating()) return;
    State().Trigger.Pre = index;
    UpdateTrigSetView();
}

void TForm_TrigSet::RadioGroup_NRClick(int index) {
    if (Updating()) return;
    State().Trigger.Hyst = index;
    UpdateTrigSetView();
}

void TForm_TrigSet::ScrollBar_Trig_NChange(int position) {
    if (Updating()) return;
    State().Trigger.N = position;
    UpdateTrigSetView();
}

void TForm_TrigSet::CheckBox_Trig_PTModeClick() {
    if (Updating()) return;
    State().Trigger.PTMode = ModeOfBox(BoxStateOf(ptMode_));
    UpdateTrigSetView();
}

void TForm_TrigSet::CheckBox_Slew_ModeClick() {
    if (Updating()) return;
    State().Trigger.Slew_Mode = ModeOfBox(BoxStateOf(slewMode_));
    UpdateTrigSetView();
}

void TForm_TrigSet::ScrollBar_Trig_SlewChange(int position) {
    if (Updating()) return;
    State().Trigger.Slew = position;
    UpdateTrigSetView();
}

void TForm_TrigSet::PulseTimeStepClick(std::size_t step) {
    if (Updating()) return;
    State().Trigger.PTmult = kTriggerRanges.PTmult[step];
    UpdateTrigSetView();
}

void TForm_TrigSet::ScrollBar_Trig_PTminChange() {
    if (Updating()) return;
    const PulseTimeLimits l = MovePulseTimeMin(ptMin_->value(), ptMax_->value());
    {
        const QSignalBlocker block(ptMax_);
        ptMax_->setValue(l.max);
    }
    State().Trigger.PTmin = ptMin_->value();
    State().Trigger.PTmax = ptMax_->value();
    UpdateTrigSetView();
}

void TForm_TrigSet::ScrollBar_Trig_PTmaxChange() {
    if (Updating()) return;
    const PulseTimeLimits l = MovePulseTimeMax(ptMin_->value(), ptMax_->value());
    {
        const QSignalBlocker block(ptMin_);
        ptMin_->setValue(l.min);
    }
    State().Trigger.PTmin = ptMin_->value();
    State().Trigger.PTmax = ptMax_->value();
    UpdateTrigSetView();
}

void TForm_TrigSet::CheckBox_LevClick(std::size_t bit) {
    if (Updating()) return;
    SetLevelBox(State().Trigger, bit, BoxStateOf(levels_[bit]));
    UpdateTrigSetView();
}

}  // namespace qx40
