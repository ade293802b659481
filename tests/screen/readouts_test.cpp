#include "screen/readouts.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "spectrum/spectrum_mode.h"

namespace qx40 {
namespace {

// Grid 660 x 320 at (36, 25): rows 5, 351, 367, 383, 399; columns 36, 118,
// 201, 283, 366, 531.
class ReadoutsTest : public testing::Test {
protected:
    ReadoutsTest() {
        state_.Common.Markers_2 = false;
        derived_.MarkerMode = 0;
        derived_.VoltsDivA1 = 1000000;
        derived_.VoltsDivA2 = 1000000;
        derived_.TimePerDivNs = 1000000;
        derived_.TriggerCount = 0;
        geometry_ = ComputeScreenGeometry(731, 422);
    }

    std::vector<ScreenText> Texts() {
        ReadoutInput in{.State = state_,
                        .Derived = derived_,
                        .Main = frame_,
                        .Geometry = geometry_,
                        .ScrollIndex = scroll_,
                        .SpectrumMode = spectrumMode_,
                        .Spectrum = spectrum_,
                        .Link = link_,
                        .VccCentivolts = vcc_,
                        .DecimalSeparator = '.'};
        return ComputeReadouts(in);
    }
    // The first text that starts with `prefix` (and is longer than it, unless exact).
    std::optional<ScreenText> Find(const std::string& prefix) {
        for (const ScreenText& t : Texts())
            if (t.Text.rfind(prefix, 0) == 0) return t;
        return std::nullopt;
    }
    std::string TextOf(const std::string& prefix) {
        const auto t = Find(prefix);
        return t ? t->Text : "<missing " + prefix + ">";
    }
    std::uint32_t Colour(ColourSlot s) const { return state_.Colors[s]; }

    ScopeState state_;
    DerivedQuantities derived_;
    FrameInfo frame_;
    ScreenGeometry geometry_;
    std::int32_t scroll_ = 0;
    std::int32_t spectrumMode_ = 0;
    SpectrumReadout spectrum_;
    LinkCounters link_;
    std::int32_t vcc_ = -1;
};

TEST_F(ReadoutsTest, LayoutRowsAndColumns) {
    const ReadoutLayout l = MakeReadoutLayout(geometry_);
    EXPECT_EQ(std::vector<int>(l.Row, l.Row + 5), (std::vector<int>{5, 351, 367, 383, 399}));
    EXPECT_EQ(std::vector<int>(l.Col, l.Col + 6), (std::vector<int>{36, 118, 201, 283, 366, 531}));
    EXPECT_EQ(l.Font, FontName::MsSansSerif);
    EXPECT_EQ(l.PixelHeight, 13);
    const ReadoutLayout small = MakeReadoutLayout(ComputeScreenGeometry(400, 300));
    EXPECT_EQ(small.Font, FontName::Arial);
    EXPECT_EQ(small.PixelHeight, 10);
    EXPECT_EQ(small.Row[0], 2);  // (18 - 14) / 2
}

TEST_F(ReadoutsTest, VoltsAndTimePerDivision) {
    derived_.VoltsDivA1 = 500000;
    derived_.VoltsDivA2 = 2000000;
    const auto texts = Texts();
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0], (ScreenText{"500 mV", 36, 5, Colour(ColourSlot::CH_A1), FontName::MsSansSerif, 13, false}));
    EXPECT_EQ(texts[1], (ScreenText{"2 V", 118, 5, Colour(ColourSlot::CH_A2), FontName::MsSansSerif, 13, false}));
    EXPECT_EQ(texts[2], (ScreenText{"1 mS", 201, 5, Colour(ColourSlot::Grid_Frame), FontName::MsSansSerif, 13, false}));

    frame_[fi::PeakDetect] = 1;
    EXPECT_EQ(TextOf("1 mS"), "1 mS    p.d.");
    state_.Common.CH_A2 = false;
    EXPECT_FALSE(Find("2 V"));
}

TEST_F(ReadoutsTest, TriggerSettingOnlyWhileTheTriggerCounts) {
    state_.Trigger.Source = TriggerSource::CH_A1;
    state_.Trigger.Lev_A1 = 223.2;  // 32 codes above the zero at 1 V/div
    EXPECT_FALSE(Find("Trig."));
    derived_.TriggerCount = 1;
    const auto t = Find("Trig.");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->Text, "Trig. A1  1.000 V");
    EXPECT_EQ(t->X, 366);
    EXPECT_EQ(t->Colour, Colour(ColourSlot::CH_A1));

    state_.Trigger.TPLUS = true;
    EXPECT_EQ(TextOf("Trig."), "Trig. A1  1.000 V     T+");
    state_.Trigger.TPLUS = false;
    state_.System.Device_Type_Code = 28;  // one analog and one digital channel
    EXPECT_EQ(TextOf("Trig."), "Trig.  1.000 V");
    state_.Trigger.Source = TriggerSource::CH_D1;
    EXPECT_EQ(TextOf("Trig."), "Trig.  dig.");
    state_.System.Device_Type_Code = 31;
    EXPECT_EQ(TextOf("Trig."), "Trig. D1  dig.");
    state_.Trigger.Source = TriggerSource::CH_D2;
    EXPECT_EQ(Find("Trig.")->Colour, Colour(ColourSlot::CH_D2));
}

TEST_F(ReadoutsTest, TimeOfTheLeftEdgeOrSweepFrequency) {
    frame_[fi::Divider] = 200;
    frame_[fi::RingLength] = 1000;
    frame_[fi::PreTrigger] = 500;
    const auto t = Find("-1.0000 mS");  // 200 x (0 - 500) x 10 ns
    ASSERT_TRUE(t);
    EXPECT_EQ(t->X, 36);
    EXPECT_EQ(t->Y, 351);

    state_.Generator.Mode = GenMode::F_Sweep;
    EXPECT_TRUE(Find("..."));  // no sweep span: no slope
    frame_[fi::GenSpan] = 10000;  // 1000 Hz over the 500 slots after the trigger
    frame_[fi::GenFreq] = 10000;
    scroll_ = 1000;  // the left edge 1 ms after the trigger
    EXPECT_TRUE(Find("2.0000 KHz"));
    scroll_ = 0;  // before the trigger the sweep is at its start
    EXPECT_TRUE(Find("1.0000 KHz"));
}

// The slots after the trigger are counted without wrapping round: a record
// that reaches far past its trigger still has a rising sweep.
TEST_F(ReadoutsTest, SweepSlopeOfWildRecordLengths) {
    state_.Generator.Mode = GenMode::F_Sweep;
    frame_[fi::Divider] = 1;
    frame_[fi::GenSpan] = 10000;
    frame_[fi::GenFreq] = 10000;
    frame_[fi::RingLength] = std::numeric_limits<std::int32_t>::max();
    frame_[fi::PreTrigger] = -1;
    EXPECT_TRUE(Find("1.0000 KHz"));  // the left edge is before the trigger: the start
    EXPECT_FALSE(Find("..."));
}

TEST_F(ReadoutsTest, ExtraInformation) {
    state_.Common.Extra_Info = true;
    frame_[fi::Divider] = 1;
    frame_[fi::ValidPoints] = 10000;
    derived_.TimePerDivNs = 10000;
    const auto f = Find("Fsmpl = ");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Text, "Fsmpl = 100 MHz");
    EXPECT_EQ(f->Colour, Colour(ColourSlot::Extra_Info));
    EXPECT_EQ(TextOf("Div = "), "Div = 10.00");
    frame_[fi::Divider] = 0;
    EXPECT_EQ(TextOf("Fsmpl = "), "Fsmpl = ...");
    state_.Common.Extra_Info = false;
    EXPECT_FALSE(Find("Fsmpl"));
}

TEST_F(ReadoutsTest, FrequencyMeter) {
    frame_[fi::FmData] = 1;
    frame_[fi::FmData + 1] = 1001;
    frame_[fi::FmData + 2] = 100000000;  // one second
    const auto f = Find("F(");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Text, "F(A1) = 1.000000 KHz");
    EXPECT_EQ(f->X, 531);
    EXPECT_EQ(f->Y, 351);
    EXPECT_EQ(f->Colour, Colour(ColourSlot::CH_A1));

    frame_[fi::FmData + 3] = 5;  // time-base correction of 5 x 0.2 ppm
    EXPECT_EQ(TextOf("F("), "F(A1) = 1.000001 KHz");
    frame_[fi::FmData + 3] = 0;
    frame_[fi::FmData] = 5;  // D1 through the divide-by-8 input
    EXPECT_EQ(TextOf("F("), "F(D1) = 8.000000 KHz");
    EXPECT_EQ(Find("F(")->Colour, Colour(ColourSlot::CH_D1));
    frame_[fi::FmData] = 6;
    EXPECT_EQ(TextOf("F("), "F(D2) = 8.000000 KHz");
    frame_[fi::FmData] = 7;
    EXPECT_EQ(Find("F(T)")->Colour, Colour(ColourSlot::Grid_Frame));
    state_.Common.Extra_Info = true;
    EXPECT_EQ(Find("F(T)")->Colour, Colour(ColourSlot::Extra_Info));

    frame_[fi::FmData] = 1;
    frame_[fi::FmData + 2] = 0;  // no result yet
    EXPECT_EQ(TextOf("F("), "F(A1) = ...");
    frame_[fi::FmData + 2] = 100000000;
    frame_[fi::FmData + 1] = 0;  // not a count a measurement can give
    EXPECT_EQ(TextOf("F("), "F(A1) = ...");

    state_.System.Device_Type_Code = 28 & ~8;  // no frequency meter
    EXPECT_FALSE(Find("F("));
}

TEST_F(ReadoutsTest, PeakToPeakAndMeanVoltage) {
    frame_[fi::VoltsDivA1] = 1000000;  // 31250 uV per code
    frame_[fi::ZeroA1] = 191;
    frame_[fi::ValidPoints] = 1000;
    frame_[fi::PeakToPeakA1] = 64;
    frame_[fi::SumA1] = 201000;  // mean 201: 10 codes above zero
    const auto vpp = Find("Vpp = ");
    ASSERT_TRUE(vpp);
    EXPECT_EQ(vpp->Text, "Vpp = 2.000 V");
    EXPECT_EQ(vpp->Y, 383);
    EXPECT_EQ(TextOf("Vdc = "), "Vdc = 312.5 mV");

    // A sine clipped at the top of the ADC range.
    frame_[fi::PeakToPeakA1] = -1;
    EXPECT_EQ(TextOf("Vpp = "), "Vpp = ...");
    EXPECT_EQ(TextOf("Vdc = "), "Vdc = ...");
    frame_[fi::PeakToPeakA1] = 64;
    frame_[fi::ValidPoints] = 0;
    EXPECT_EQ(TextOf("Vpp = "), "Vpp = ...");

    state_.Common.CH_A1 = false;
    frame_[fi::ValidPoints] = 1000;
    frame_[fi::VoltsDivA2] = 500000;
    frame_[fi::PeakToPeakA2] = 32;
    frame_[fi::SumA2] = 63000;
    frame_[fi::ZeroA2] = 63;
    const auto a2 = Find("Vpp = ");
    ASSERT_TRUE(a2);
    EXPECT_EQ(a2->Text, "Vpp = 500.0 mV");
    EXPECT_EQ(a2->Y, 399);
    EXPECT_EQ(a2->Colour, Colour(ColourSlot::CH_A2));
    EXPECT_EQ(TextOf("Vdc = "), "Vdc = 0.000 mV");

    state_.Common.Measure = false;
    EXPECT_FALSE(Find("Vpp"));
}

TEST_F(ReadoutsTest, MarkerTimesAndTheirInverse) {
    derived_.MarkerMode = 2;
    state_.Common.Marker1_x = 100;  // 100 points apart at 1 ms/div: 2 ms
    state_.Common.Marker2_x = 200;
    EXPECT_EQ(TextOf("T1 = "), "T1 = 2.000 mS");
    EXPECT_EQ(TextOf("T2 = "), "T2 = 4.000 mS");
    EXPECT_EQ(TextOf("dT = "), "dT = 2.000 mS");
    const auto inverse = Find("1/dT = ");
    ASSERT_TRUE(inverse);
    EXPECT_EQ(inverse->Text, "1/dT = 500.0 Hz");
    EXPECT_EQ(inverse->X, 531);
    EXPECT_EQ(inverse->Y, 367);
    EXPECT_EQ(inverse->Colour, Colour(ColourSlot::Markers));

    state_.Common.Marker1_x = 300;  // order does not matter
    EXPECT_EQ(TextOf("T1 = "), "T1 = 4.000 mS");
    EXPECT_EQ(TextOf("dT = "), "dT = 2.000 mS");

    state_.Common.Marker1_x = state_.Common.Marker2_x = 200;
    EXPECT_EQ(TextOf("1/dT = "), "1/dT = ...");

    derived_.MarkerMode = 1;
    state_.Common.Marker_x = 50;
    EXPECT_EQ(TextOf("T = "), "T = 1.0000 mS");
    EXPECT_FALSE(Find("T1 = "));
}

TEST_F(ReadoutsTest, MarkerFrequenciesOfASweep) {
    state_.Generator.Mode = GenMode::F_Sweep;
    derived_.MarkerMode = 2;
    EXPECT_EQ(TextOf("F1 = "), "F1 = ...");
    EXPECT_EQ(TextOf("F2 = "), "F2 = ...");
    EXPECT_EQ(TextOf("dF = "), "dF = ...");
    EXPECT_FALSE(Find("1/dT"));

    frame_[fi::Divider] = 200;
    frame_[fi::RingLength] = 1000;
    frame_[fi::PreTrigger] = 0;
    frame_[fi::GenSpan] = 100000;  // 10 kHz over 1000 x 2 us = 2 ms
    frame_[fi::GenFreq] = 10000;   // from 1 kHz
    state_.Common.Marker1_x = 0;
    state_.Common.Marker2_x = 50;  // 1 ms: halfway up the sweep
    EXPECT_EQ(TextOf("F1 = "), "F1 = 1.0000 KHz");
    EXPECT_EQ(TextOf("F2 = "), "F2 = 6.0000 KHz");
    EXPECT_EQ(TextOf("dF = "), "dF = 5.000 KHz");
}

TEST_F(ReadoutsTest, MarkerVoltage) {
    derived_.MarkerMode = 1;
    state_.Common.Marker_y = 255 - state_.Scope.A1_Zero;  // on the A1 zero line
    const auto texts = Texts();
    std::vector<ScreenText> atC5;
    for (const ScreenText& t : texts)
        if (t.X == 531 && t.Y == 383) atC5.push_back(t);
    ASSERT_EQ(atC5.size(), 2u);
    EXPECT_EQ(atC5[0].Text, "V = 0.000 mV");
    EXPECT_EQ(atC5[0].Colour, Colour(ColourSlot::Markers));
    EXPECT_EQ(atC5[1].Text, "V = ");  // the label again in the channel's colour
    EXPECT_EQ(atC5[1].Colour, Colour(ColourSlot::CH_A1));

    state_.Common.Marker_y = 255 - state_.Scope.A1_Zero + 32;  // one division below the zero line
    EXPECT_EQ(TextOf("V = -"), "V = -1.000 V");

    derived_.MarkerMode = 2;
    EXPECT_EQ(TextOf("dV = 7"), "dV = 7.000 V");  // |240 - 16| codes
}

// Marker positions from a settings file may hold anything; their voltages
// keep their sign and size instead of wrapping round.
TEST_F(ReadoutsTest, MarkerVoltageOfWildPositions) {
    derived_.MarkerMode = 1;
    derived_.VoltsDivA1 = 32;  // one microvolt per code
    state_.Scope.A1_Zero = 0;
    state_.Common.Marker_y = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(TextOf("V = 2"), "V = 2.147 KV");  // 255 + 2^31 codes above the zero line

    derived_.MarkerMode = 2;
    state_.Common.Marker1_y = std::numeric_limits<std::int32_t>::min();
    state_.Common.Marker2_y = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(TextOf("dV = "), "dV = 4.295 KV");  // 2^32 - 1 codes apart
}

TEST_F(ReadoutsTest, DiagnosticLinesWithTheServiceSwitch) {
    state_.Common.Extra_Info = true;
    frame_[fi::ValidPoints] = 5000;
    frame_[fi::TrigSource] = 1;
    frame_[fi::TrigEcho + 1] = 12;
    link_.FramesShown = 25;
    link_.FramesAccepted = 28;
    link_.ChecksumErrors = 1;
    EXPECT_FALSE(Find("Smpl = "));
    state_.System.Debug_qx = true;

    const auto size = Find("660 x 320");
    ASSERT_TRUE(size);
    EXPECT_EQ(size->X, 39);
    EXPECT_EQ(size->Y, 26);
    EXPECT_TRUE(size->Transparent);
    EXPECT_EQ(size->Font, FontName::Arial);
    EXPECT_EQ(size->PixelHeight, 10);
    EXPECT_EQ(TextOf("Vcc = "), "Vcc = ...");
    vcc_ = 507;
    EXPECT_EQ(TextOf("Vcc = "), "Vcc = 5.07 V");
    EXPECT_EQ(TextOf("Smpl = "), "Smpl = 5000");
    frame_[fi::PeakDetect] = 1;
    EXPECT_EQ(TextOf("Smpl = "), "Smpl = 10000 p.d.");
    EXPECT_EQ(TextOf("Slew"), "Slew = 120 nS");
    frame_[fi::TrigEcho + 1] = 0x1FF;
    EXPECT_EQ(TextOf("Slew"), "Slew >= 2550 nS");
    frame_[fi::TrigSource] = 3;
    EXPECT_EQ(TextOf("Slew"), "Slew ...");

    const auto stats = Find("FPS");
    ASSERT_TRUE(stats);
    EXPECT_EQ(stats->Text, "FPS / L / E  = 25 / 3 / 1");
    EXPECT_EQ(stats->Y, 42);

    state_.System.Debug_qx = false;
    state_.System.No_Excuse = true;
    state_.System.USB_VIEW = true;
    link_.StatusFrames = 10;
    link_.BytesReceived = 123456;
    link_.LostBytes = 7;
    link_.LargestQueue = 4096;
    EXPECT_FALSE(Find("FPS"));
    std::vector<ScreenText> lines;
    for (const ScreenText& t : Texts())
        if (t.X == 39 && t.Y >= 55) lines.push_back(t);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0].Text, "Отображенных осциллограм в сек = 25  Отброшенных = 3");
    EXPECT_EQ(lines[0].Y, 55);
    EXPECT_EQ(lines[1].Text, "Принятых основных пакетов в сек = 28");
    EXPECT_EQ(lines[2].Text, "Принятых служебных пакетов в сек = 10");
    EXPECT_EQ(lines[3].Text, "Сбоев CRC пакетов (о и с) в сек = 1");
    EXPECT_EQ(lines[4].Text, "Забранных данных у драйвера в сек = 123456 Bytes");
    EXPECT_EQ(lines[5].Text, "Утечка данных вне пакетов в сек = 7 Bytes");
    EXPECT_EQ(lines[6].Text, "Пиковая загрузка буфера драйвера  = 4096 Bytes");
    EXPECT_EQ(lines[6].Y, 145);
}

class SpectrumReadoutsTest : public ReadoutsTest {
protected:
    SpectrumReadoutsTest() {
        spectrumMode_ = kSpectrumA1;
        state_.FFT.View_A1 = true;
        frame_[fi::Divider] = 1;  // Nyquist 50 MHz
        spectrum_.SizeIndex = 3;
        spectrum_.TopDb = 10;
        spectrum_.PeakValid = true;
        spectrum_.PeakLevel = -12.5;
        spectrum_.PeakFreq = 0.1;
    }
};

TEST_F(SpectrumReadoutsTest, TitleRowShowsScaleSizeAndSpan) {
    EXPECT_FALSE(Find("1 mS"));  // the time-domain title row is replaced
    const auto a1 = Find("  A1");
    ASSERT_TRUE(a1);
    EXPECT_EQ(a1->X, 201);
    EXPECT_EQ(a1->Colour, Colour(ColourSlot::CH_A1));
    const auto n = Find("N ");
    ASSERT_TRUE(n);
    EXPECT_EQ(n->Text, "N 8192");
    EXPECT_EQ(n->X, 283 - 10);
    EXPECT_EQ(n->Colour, Colour(ColourSlot::FFT));
    EXPECT_EQ(TextOf("10 dBV"), "10 dBV");
    EXPECT_EQ(TextOf("Span"), "Span 50.0 MHz");
    EXPECT_EQ(TextOf("10 dBV/"), "10 dBV/Div");

    state_.FFT.Scale = 1;
    EXPECT_TRUE(Find("10 dBm (50 ohm)"));
    EXPECT_TRUE(Find("10 dBm/Div"));
    spectrum_.PeakValid = false;
    EXPECT_TRUE(Find("... dBm (50 ohm)"));
    frame_[fi::Divider] = 0;
    EXPECT_EQ(TextOf("Span"), "Span ...");
}

TEST_F(SpectrumReadoutsTest, PeakValuesOfTheAnalysedChannel) {
    EXPECT_FALSE(Find("Vpp"));
    const auto vp = Find("Vp = ");
    ASSERT_TRUE(vp);
    EXPECT_EQ(vp->Text, "Vp = -12.50 dBV");
    EXPECT_EQ(vp->Y, 383);
    EXPECT_EQ(TextOf("Fp = "), "Fp = 5.00000 MHz");
    EXPECT_FALSE(Find("Aver.N"));

    spectrum_.AverageCount = 3;
    const auto texts = Texts();
    int averages = 0;
    for (const ScreenText& t : texts)
        if (t.Text.rfind("Aver.N = ", 0) == 0) ++averages;
    EXPECT_EQ(averages, 2);  // the value, then the label in the spectrum's colour
    EXPECT_EQ(TextOf("Aver.N = 3"), "Aver.N = 3");

    state_.FFT.dbv_v = true;
    spectrum_.PeakLevel = -20.0;
    EXPECT_EQ(TextOf("Vp = "), "Vp = 100.0 mV");

    spectrum_.PeakValid = false;
    EXPECT_EQ(TextOf("Vp = "), "Vp = ...");
    EXPECT_EQ(TextOf("Fp = "), "Fp = ...");

    spectrumMode_ = kSpectrumA2;
    spectrum_.PeakValid = true;
    EXPECT_EQ(Find("Vp = ")->Y, 399);
}

TEST_F(SpectrumReadoutsTest, MarkerFrequenciesAndLevels) {
    derived_.MarkerMode = 2;
    EXPECT_EQ(TextOf("F1 = "), "F1 = 2.500 MHz");
    EXPECT_EQ(TextOf("F2 = "), "F2 = 47.50 MHz");
    EXPECT_EQ(TextOf("dF = "), "dF = 45.00 MHz");
    EXPECT_EQ(TextOf("dV = "), "dV = 70.00 dBV");  // 224 codes of 80/256 dB
    EXPECT_FALSE(Find("T1 = "));

    derived_.MarkerMode = 1;
    state_.Common.Marker_x = 250;
    state_.Common.Marker_y = 64;  // 20 dB below the top line
    EXPECT_EQ(TextOf("F = 2"), "F = 25.00 MHz");  // "F = ..." is the frequency meter
    EXPECT_EQ(TextOf("V = "), "V = -10.00 dBV");
}

}  // namespace
}  // namespace qx40
