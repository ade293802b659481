// The window's widgets at their design positions: the paint area with its
// scroll bar, the control panel on the right and the generator strip below.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>

#include "app/main_window.h"
#include "app/screen_view.h"

namespace qx40 {
namespace {

constexpr int kButtonHeight = 19;

// A button that is down reads at a glance in every group: sunken, in the
// platform's highlight colours. A button that is up keeps the platform look.
constexpr const char* kDownStateStyle =
    "QToolButton:checked { background-color: palette(highlight); color: palette(highlighted-text);"
    " border: 2px inset palette(dark); }";

QFrame* Swatch(QWidget* parent, const char* name, int x, int y) {
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(QFrame::Box);
    f->setAutoFillBackground(true);
    f->setGeometry(x, y, 16, 12);
    return f;
}

}  // namespace

// Design geometry of the control panel (GroupBox1, 166 wide).
namespace panel {
constexpr int kColumns[3] = {6, 58, 110};
constexpr int kTimebaseTop = 66;
constexpr int kAnchorA1 = 284;  // top of SpeedButton_2V_A1
constexpr int kAnchorA2 = 350;  // top of SpeedButton_2V_A2
constexpr int kTriggerTop = 396;
}  // namespace panel

void MainWindow::BuildWidgets() {
    central_ = new QWidget(this);
    central_->setObjectName("CentralArea");
    setCentralWidget(central_);

    const auto button = [](QWidget* parent, const QString& name, const QString& caption, int x, int y, int w,
                           int h = kButtonHeight, bool checkable = true) {
        auto* b = new QToolButton(parent);
        b->setObjectName(name);
        b->setText(caption);
        b->setCheckable(checkable);
        if (checkable) b->setStyleSheet(kDownStateStyle);
        b->setFocusPolicy(Qt::NoFocus);  // the window keeps every key
        b->setGeometry(x, y, w, h);
        return b;
    };

    // Panel_Signal: the screen and its horizontal scroll bar.
    panelSignal_ = new QFrame(central_);
    panelSignal_->setObjectName("Panel_Signal");
    static_cast<QFrame*>(panelSignal_)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    imageM_ = new ScreenView(bitmap_, panelSignal_);
    imageM_->setObjectName("Image_M");
    scrollX_ = new QScrollBar(Qt::Horizontal, panelSignal_);
    scrollX_->setObjectName("ScrollBar_X_POS");
    scrollX_->setRange(0, 3000);
    scrollX_->setPageStep(50);
    scrollX_->setFocusPolicy(Qt::NoFocus);

    // GroupBox1: acquisition, time base, channels, trigger.
    groupBox1_ = new QGroupBox("Scope", central_);
    groupBox1_->setObjectName("GroupBox1");
    QWidget* g1 = groupBox1_;
    panel_.run = button(g1, "SpeedButton_Run", "RUN", 6, 18, 76, 25);
    panel_.single = button(g1, "SpeedButton_Sngl", "SINGLE", 84, 18, 76, 25);
    auto* timeDiv = new QLabel("Time/Div", g1);
    timeDiv->setObjectName("StaticText_TimeDiv");
    timeDiv->setGeometry(6, 47, 110, 16);
    panel_.colourTimeDiv = Swatch(g1, "Panel_Color_TD", 140, 49);
    static const char* kTimebaseCaptions[kTimebaseCount] = {
        "20S",  "10S",  "5S",   "2S",    "1S",    "0,5S",  "0,2S",  "0,1S",  "50mS",
        "20mS", "10mS", "5mS",  "2mS",   "1mS",   "0,5mS", "0,2mS", "0,1mS", "50uS",
        "20uS", "10uS", "5uS",  "2uS",   "1uS",   "0,5uS", "0,2uS", "0,1uS", "50nS"};
    for (std::size_t i = 0; i < kTimebaseCount; ++i) {
        // Three columns as the table of time bases: seconds, milliseconds, micro- and nanoseconds.
        const int column = i < 8 ? 0 : (i < 17 ? 1 : 2);
        const int row = static_cast<int>(i) - (column == 0 ? 0 : (column == 1 ? 8 : 17));
        panel_.timebase[i] =
            button(g1, QStringLiteral("SpeedButton_") + QString::fromLatin1(kTimebaseKeys[i].data(), kTimebaseKeys[i].size()),
                   kTimebaseCaptions[i], panel::kColumns[column], panel::kTimebaseTop + row * kButtonHeight, 51);
    }
    static const char* kVoltsCaptions[kVoltsDivCount] = {"2V", "1V", "0,5V", "0,2V", "100mV", "50mV"};
    for (int channel = 1; channel <= 2; ++channel) {
        ChannelControls& c = panel_.channel[static_cast<std::size_t>(channel - 1)];
        const QString suffix = channel == 1 ? "_A1" : "_A2";
        const int anchor = channel == 1 ? panel::kAnchorA1 : panel::kAnchorA2;
        c.voltsDiv = button(g1, "SpeedButton_VoltsDiv" + suffix, "     A" + QString::number(channel) + " Volts/Div", 6,
                            anchor - 22, 112, kButtonHeight, false);
        c.acdc = button(g1, "SpeedButton_ACDC" + suffix, "~", 120, anchor - 22, 22);
        c.colour = Swatch(g1, ("Panel_Color" + suffix).toLatin1().constData(), 145, anchor - 18);
        for (std::size_t v = 0; v < kVoltsDivCount; ++v)
            c.volts[v] = button(g1,
                                QStringLiteral("SpeedButton_") +
                                    QString::fromLatin1(kVoltsDivKeySuffixes[v].data(), kVoltsDivKeySuffixes[v].size()) +
                                    suffix,
                                kVoltsCaptions[v], panel::kColumns[v % 3], anchor + (v < 3 ? 0 : kButtonHeight), 51);
    }
    panel_.trig = button(g1, "SpeedButton_Trig", "Trigger", 6, panel::kTriggerTop, 130, kButtonHeight, false);
    panel_.colourTrig = Swatch(g1, "Panel_Color_Trig", 142, panel::kTriggerTop + 3);
    const int row1 = panel::kTriggerTop + 22, row2 = row1 + 21;
    panel_.trigA1 = button(g1, "SpeedButton_TrigA1", "A1", 6, row1, 38, 20);
    panel_.trigA2 = button(g1, "SpeedButton_TrigA2", "A2", 45, row1, 38, 20);
    panel_.trigEdge = button(g1, "SpeedButton_TrigEdge", "_/", 84, row1, 38, 20);
    panel_.autoTrig = button(g1, "SpeedButton_Auto", "Auto", 123, row1, 38, 20);
    panel_.trigD1 = button(g1, "SpeedButton_TrigD1", "D1", 6, row2, 38, 20);
    panel_.trigD2 = button(g1, "SpeedButton_TrigD2", "D2", 45, row2, 38, 20);
    panel_.tplus = button(g1, "SpeedButton_TPLUS", "T+", 84, row2, 38, 20);
    panel_.retTrig = button(g1, "SpeedButton_ret_trig", "|<", 123, row2, 38, 20, false);

    // GroupBox2: the generator strip.
    groupBox2_ = new QGroupBox("Generator", central_);
    groupBox2_->setObjectName("GroupBox2");
    QWidget* g2 = groupBox2_;
    panel_.genOn = button(g2, "SpeedButton_GenOn", "ON", 6, 18, 44, 22);
    static const char* kShapeGlyphs[5] = {"\u223F", "\u2293", "/\\", "/|", "|\\"};
    for (std::size_t s = 0; s < 5; ++s)
        panel_.shapes[s] = button(
            g2, QStringLiteral("SpeedButton_") + QString::fromLatin1(kGenShapeKeys[s].data(), kGenShapeKeys[s].size()),
            kShapeGlyphs[s], 56 + static_cast<int>(s) * 31, 18, 30, 22);
    static const char* kRangeCaptions[6] = {"10K", "100K", "1M", "10M", "50M", "10uS"};
    // Wide enough for the pulse times ("0.1mS") and "Импульсы" in the
    // desktop's usual fonts, which are wider than the design's.
    for (std::size_t r = 0; r < 6; ++r)
        panel_.ranges[r] = button(g2, kGenRangeButtons[r], kRangeCaptions[r],
                                  6 + static_cast<int>(r) * 47, 44, 46, 20);
    panel_.mod = button(g2, "SpeedButton_Mod", "Mod.", 6, 68, 58, 20);
    panel_.pulse = button(g2, "SpeedButton_Pulse", "Pulse", 66, 68, 74, 20);
    panel_.sweep = button(g2, "SpeedButton_Sweep", "Sweep", 142, 68, 52, 20);
    const auto bar = [g2](const char* name, Qt::Orientation o, int lo, int hi, int step, QRect r) {
        auto* s = new QScrollBar(o, g2);
        s->setObjectName(name);
        s->setRange(lo, hi);
        s->setPageStep(step);
        s->setFocusPolicy(Qt::NoFocus);
        s->setGeometry(r);
        return s;
    };
    panel_.fFast = bar("ScrollBar_F_fast", Qt::Horizontal, 0, 1000, 10, QRect(292, 18, 228, 17));
    panel_.fSlow = bar("ScrollBar_F_slow", Qt::Horizontal, 0, 1000, 10, QRect(292, 40, 228, 17));
    panel_.amplitude = bar("ScrollBar_Amplitude", Qt::Vertical, 0, 2047, 5, QRect(528, 16, 17, 92));
    auto* panelGen = new QFrame(g2);
    panelGen->setObjectName("Panel_Gen");
    panelGen->setAutoFillBackground(true);
    panelGen->setGeometry(196, 66, 326, 44);  // below the range buttons
    panel_.panelGen = panelGen;
    const auto label = [panelGen](const char* name, int x, int y, int w) {
        auto* l = new QLabel(panelGen);
        l->setObjectName(name);
        l->setGeometry(x, y, w, 20);
        l->setAutoFillBackground(true);
        return l;
    };
    panel_.labelF = label("Label_F", 4, 2, 200);
    panel_.labelV = label("Label_V", 4, 23, 110);
    panel_.labelMod = label("Label_Mod", 120, 23, 200);
    panel_.labelPulse = label("Label_Pulse", 210, 2, 112);

    // Design client area 731 x 499: the screen 565 x 385 above the
    // generator strip, the control panel beside both.
    initialClientSize_ = QSize(731, 499);
    initialGroupBox1Height_ = 499;
    initialTop2VA1_ = panel::kAnchorA1;
    initialTop2VA2_ = panel::kAnchorA2;
    initialTriggerTop_ = panel::kTriggerTop;
    groupBox1_->setGeometry(565, 0, 166, 499);
    groupBox2_->setGeometry(0, 385, 565, 114);
    panelSignal_->setGeometry(0, 0, 565, 385);
}

}  // namespace qx40
