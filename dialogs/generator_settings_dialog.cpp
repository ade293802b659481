#include "dialogs/generator_settings_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dialogs/dialog_controls.h"
#include "display/decimal_separator.h"
#include "generator/modulation_ranges.h"

namespace qx40 {
namespace {

enum Group : std::size_t { kType, kSource, kRange, kWaveform, kDeviation };

constexpr std::array<const char*, 3> kTypeButtons = {"SpeedButton_AM", "SpeedButton_FM",
                                                     "SpeedButton_Sum"};
constexpr std::array<const char*, 5> kSourceButtons = {"SpeedButton_Int_Src", "SpeedButton_ESrc_A1",
                                                       "SpeedButton_ESrc_A2", "SpeedButton_ESrc_D1",
                                                       "SpeedButton_ESrc_D2"};
constexpr std::array<const char*, 6> kRangeButtons = {"SpeedButton_MF_10K", "SpeedButton_MF_100K",
                                                      "SpeedButton_MF_1M",  "SpeedButton_MF_10M",
                                                      "SpeedButton_MF_50M", "SpeedButton_MF_Noise"};
constexpr std::array<const char*, 5> kWaveformButtons = {
    "SpeedButton_MF_Sin", "SpeedButton_MF_Rect", "SpeedButton_MF_Trian", "SpeedButton_MF_Up_Trian",
    "SpeedButton_MF_Dn_Trian"};
// The glyphs of the generator strip's waveform buttons.
constexpr std::array<const char*, 5> kWaveformGlyphs = {"\u223F", "\u2293", "/\\", "/|", "|\\"};
constexpr std::array<const char*, 2> kDeviationButtons = {"SpeedButton_Dev_10K",
                                                          "SpeedButton_Dev_100K"};

QLabel* Label(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

}  // namespace

TForm_GeneratorSet::TForm_GeneratorSet(ScopeSession& session, QWidget* mainWindow)
    : SettingsDialog(session, mainWindow) {
    setObjectName("Form_GeneratorSet");
    Build();
    Connect();
}

void TForm_GeneratorSet::Build() {
    const ModulationRanges& r = kModulationRanges;
    auto* layout = new QVBoxLayout(this);
    const auto row = [this, layout](auto& buttons, QButtonGroup& group, const auto& names) {
        auto* line = new QHBoxLayout;
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            buttons[i] = MakeGroupButton(this, names[i]);
            group.addButton(buttons[i], static_cast<int>(i));
            line->addWidget(buttons[i]);
        }
        layout->addLayout(line);
        return line;
    };

    labelModType_ = Label(this, "Label_Mod_Type");
    layout->addWidget(labelModType_);
    row(types_, groups_[kType], kTypeButtons)->addStretch();

    labelModSrc_ = Label(this, "Label_Mod_Src");
    layout->addWidget(labelModSrc_);
    QHBoxLayout* sourceRow = row(sources_, groups_[kSource], kSourceButtons);
    sourceRow->addSpacing(16);
    inv_ = new QCheckBox(this);
    inv_->setObjectName("CheckBox_Inv");
    sourceRow->addWidget(inv_);
    sourceRow->addStretch();

    layout->addSpacing(6);
    labelModFreq_ = Label(this, "Label_ModFreq");
    layout->addWidget(labelModFreq_);
    QHBoxLayout* rangeRow = row(ranges_, groups_[kRange], kRangeButtons);
    rangeRow->addSpacing(16);
    for (std::size_t i = 0; i < waveforms_.size(); ++i) {
        waveforms_[i] = MakeGroupButton(this, kWaveformButtons[i]);
        waveforms_[i]->setText(QString::fromUtf8(kWaveformGlyphs[i]));
        waveforms_[i]->setMinimumWidth(30);
        groups_[kWaveform].addButton(waveforms_[i], static_cast<int>(i));
        rangeRow->addWidget(waveforms_[i]);
    }
    rangeRow->addStretch();
    mfFast_ = MakeBar(this, "ScrollBar_MF_Fast", r.Bar, r.LargeChange);
    mfSlow_ = MakeBar(this, "ScrollBar_MF_Slow", r.Bar, r.LargeChange);
    layout->addWidget(mfFast_);
    layout->addWidget(mfSlow_);

    layout->addSpacing(6);
    labelModK_ = Label(this, "Label_Mod_K");
    modK_ = MakeBar(this, "ScrollBar_Mod_K", r.Bar, r.LargeChange);
    layout->addWidget(labelModK_);
    layout->addWidget(modK_);

    labelDevFM_ = Label(this, "Label_Dev_FM");
    layout->addWidget(labelDevFM_);
    auto* deviationRow = new QHBoxLayout;
    devFM_ = MakeBar(this, "ScrollBar_Dev_FM", r.Bar, r.LargeChange);
    deviationRow->addWidget(devFM_, 1);
    for (std::size_t i = 0; i < deviations_.size(); ++i) {
        deviations_[i] = MakeGroupButton(this, kDeviationButtons[i]);
        groups_[kDeviation].addButton(deviations_[i], static_cast<int>(i));
        deviationRow->addWidget(deviations_[i]);
    }
    layout->addLayout(deviationRow);

    labelSumLev_ = Label(this, "Label_Sum_Lev");
    sumLev_ = MakeBar(this, "ScrollBar_Sum_Lev", r.Bar, r.LargeChange);
    layout->addWidget(labelSumLev_);
    layout->addWidget(sumLev_);

    layout->addSpacing(6);
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

void TForm_GeneratorSet::Connect() {
    const auto clicked = [this](Group g, void (TForm_GeneratorSet::*handler)(std::size_t)) {
        connect(&groups_[g], &QButtonGroup::idClicked, this,
                [this, handler](int i) { (this->*handler)(static_cast<std::size_t>(i)); });
    };
    clicked(kType, &TForm_GeneratorSet::ModTypeClick);
    clicked(kSource, &TForm_GeneratorSet::ModSourceClick);
    clicked(kRange, &TForm_GeneratorSet::ModRangeClick);
    clicked(kWaveform, &TForm_GeneratorSet::WaveformClick);
    clicked(kDeviation, &TForm_GeneratorSet::DeviationClick);
    connect(inv_, &QCheckBox::clicked, this, [this] { CheckBox_InvClick(); });
    GeneratorSection& g = State().Generator;
    for (auto [bar, field] : {std::pair{mfFast_, &g.Mod_Freq_Fast},
                              {mfSlow_, &g.Mod_Freq_Slow},
                              {modK_, &g.Mod_K},
                              {devFM_, &g.Dev_Freq},
                              {sumLev_, &g.Sum_Lev}})
        connect(bar, &QScrollBar::valueChanged, this,
                [this, field](int v) { BarChange(*field, v); });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

// The eleven modulation fields; the carrier belongs to the window.
void TForm_GeneratorSet::CopyFields() {
    copy_ = State().Generator;
}

void TForm_GeneratorSet::RestoreFields() {
    GeneratorSection& g = State().Generator;
    g.Mod_Type = copy_.Mod_Type;
    g.Mod_Src = copy_.Mod_Src;
    g.Inv = copy_.Inv;
    g.Mod_Freq_Fast = copy_.Mod_Freq_Fast;
    g.Mod_Freq_Slow = copy_.Mod_Freq_Slow;
    g.MF_Mult = copy_.MF_Mult;
    g.MF_Shape = copy_.MF_Shape;
    g.Mod_K = copy_.Mod_K;
    g.Dev_Freq = copy_.Dev_Freq;
    g.DF_Mult = copy_.DF_Mult;
    g.Sum_Lev = copy_.Sum_Lev;
}

void TForm_GeneratorSet::ShowCaptions(bool russian) {
    const ModulationDialogCaptions c =
        ModulationDialogCaptionsOf(russian, State().System.Device_Type_Code);
    setWindowTitle(Text(c.Window));
    labelModType_->setText(Text(c.ModType));
    for (std::size_t i = 0; i < types_.size(); ++i) types_[i]->setText(Text(c.Types[i]));
    labelModSrc_->setText(Text(c.ModSource));
    for (std::size_t i = 0; i < sources_.size(); ++i) sources_[i]->setText(Text(c.Sources[i]));
    inv_->setText(Text(c.Inversion));
    for (std::size_t i = 0; i < ranges_.size(); ++i) ranges_[i]->setText(Text(c.Ranges[i]));
    ok_->setText(Text(c.Ok));
    cancel_->setText(Text(c.Cancel));

    // Room for the longest texts the fields can give these labels.
    GeneratorSection widest;
    widest.Mod_Freq_Fast = 1000, widest.Mod_Freq_Slow = 1000, widest.MF_Mult = 5000;
    widest.Mod_K = 1000, widest.Dev_Freq = 888, widest.DF_Mult = 10, widest.Sum_Lev = 1000;
    const auto view = [&](std::size_t type, std::size_t source) {
        ModulationButtons b;
        b.Type = type, b.Source = source;
        GeneratorSection g = widest;
        return UpdateModulationDialog(g, b, russian, LocaleDecimalSeparator());
    };
    const ModulationDialogView sum = view(2, 0), internal = view(0, 0), analog = view(0, 1);
    ReserveWidthFor(labelModFreq_, {Text(sum.ModFreq), Text(internal.ModFreq)});
    ReserveWidthFor(labelModK_, {Text(internal.ModK), Text(analog.ModK)});
    ReserveWidthFor(labelDevFM_, {Text(internal.DevFM), Text(analog.DevFM)});
    ReserveWidthFor(labelSumLev_, {Text(internal.SumLev), Text(analog.SumLev)});
    for (std::size_t i = 0; i < deviations_.size(); ++i)
        ReserveWidthFor(deviations_[i], {Text(internal.Deviation[i]), Text(analog.Deviation[i])});
}

void TForm_GeneratorSet::FormShow() {
    cancel_->setFocus();
    ScopeState& s = State();
    GeneratorSection& g = s.Generator;
    const ModulationDialogLoad load =
        LoadModulationDialog(g, s.System.Device_Type_Code, s.ExtendedRange(), buttons_);
    sources_[2]->setVisible(load.SourceA2Visible);
    sources_[4]->setVisible(load.SourceD2Visible);
    ranges_[kModulation50MButton]->setVisible(load.Range50MVisible);
    buttons_ = load.Buttons;
    // The instrument gets the range the dialog shows (10M for 50M without the
    // extended range).
    if (buttons_.Range != kModulationNoiseButton)
        g.MF_Mult = ModulationMultiplierOf(buttons_.Range);
    inv_->setChecked(g.Inv != 0);
    mfFast_->setValue(g.Mod_Freq_Fast);
    mfSlow_->setValue(g.Mod_Freq_Slow);
    modK_->setValue(g.Mod_K);
    devFM_->setValue(g.Dev_Freq);
    sumLev_->setValue(g.Sum_Lev);
    UpdateGenSetView();
}

void TForm_GeneratorSet::ShowButtons() {
    const std::array<std::size_t, 5> down = {buttons_.Type, buttons_.Source, buttons_.Range,
                                             buttons_.Waveform, buttons_.Deviation};
    for (std::size_t g = 0; g < groups_.size(); ++g)
        if (QAbstractButton* b = groups_[g].button(static_cast<int>(down[g]))) b->setChecked(true);
}

void TForm_GeneratorSet::UpdateGenSetView() {
    const ModulationDialogView v =
        UpdateModulationDialog(State().Generator, buttons_, Russian(), LocaleDecimalSeparator());
    ShowButtons();
    labelModFreq_->setText(Text(v.ModFreq));
    labelModK_->setText(Text(v.ModK));
    labelDevFM_->setText(Text(v.DevFM));
    labelSumLev_->setText(Text(v.SumLev));
    for (std::size_t i = 0; i < deviations_.size(); ++i)
        deviations_[i]->setText(Text(v.Deviation[i]));

    labelModFreq_->setEnabled(v.FrequencyEnabled);
    for (QToolButton* b : ranges_) b->setEnabled(v.FrequencyEnabled);
    mfFast_->setEnabled(v.FrequencyEnabled);
    mfSlow_->setEnabled(v.FrequencyEnabled);
    for (std::size_t i = 0; i < waveforms_.size(); ++i)
        waveforms_[i]->setEnabled(v.WaveformEnabled[i]);
    labelModK_->setEnabled(v.ModKEnabled);
    modK_->setEnabled(v.ModKEnabled);
    labelDevFM_->setEnabled(v.DevFMEnabled);
    for (QToolButton* b : deviations_) b->setEnabled(v.DevFMEnabled);
    devFM_->setEnabled(v.DevFMEnabled);
    labelSumLev_->setEnabled(v.SumLevEnabled);
    sumLev_->setEnabled(v.SumLevEnabled);
    Session().ApplyAndRestart();
}

void TForm_GeneratorSet::ModTypeClick(std::size_t type) {
    if (Updating()) return;
    buttons_.Type = type;
    State().Generator.Mod_Type = static_cast<std::int32_t>(type);
    UpdateGenSetView();
}

void TForm_GeneratorSet::ModSourceClick(std::size_t source) {
    if (Updating()) return;
    buttons_.Source = source;
    State().Generator.Mod_Src = static_cast<std::int32_t>(source);
    UpdateGenSetView();
}

void TForm_GeneratorSet::CheckBox_InvClick() {
    if (Updating()) return;
    State().Generator.Inv = inv_->isChecked() ? 1 : 0;
    UpdateGenSetView();
}

// The noise button is one of the range group, but sets no multiplier.
void TForm_GeneratorSet::ModRangeClick(std::size_t range) {
    if (Updating()) return;
    buttons_.Range = range;
    if (range != kModulationNoiseButton) State().Generator.MF_Mult = ModulationMultiplierOf(range);
    UpdateGenSetView();
}

void TForm_GeneratorSet::WaveformClick(std::size_t waveform) {
    if (Updating()) return;
    buttons_.Waveform = waveform;
    UpdateGenSetView();
}

void TForm_GeneratorSet::DeviationClick(std::size_t deviation) {
    if (Updating()) return;
    buttons_.Deviation = deviation;
    State().Generator.DF_Mult = kModulationRanges.DF_Mult[deviation];
    UpdateGenSetView();
}

void TForm_GeneratorSet::BarChange(std::int32_t& field, int position) {
    if (Updating()) return;
    field = position;
    UpdateGenSetView();
}

}  // namespace qx40
