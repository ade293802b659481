#include "files/settings_file.h"

#include <gtest/gtest.h>

#include "files/ini_document.h"
#include "scope/build_device_settings.h"
#include "temp_dir.h"

namespace qx40 {
namespace {

using testing_support::TempDir;

// Every stored field away from its default, so a key that is not written or
// not read shows up as a difference.
ScopeState Unusual() {
    ScopeState s;
    s.Scope = {TimebaseIndex::T05uS, VoltsDiv::mV50, VoltsDiv::V02, true, true, 12, 250};
    CommonSection& c = s.Common;
    c.CH_A1 = false, c.CH_A2 = true, c.CH_D1 = false, c.CH_D2 = true;
    c.SmplPeakDet = true;
    c.SampleCount = SampleCountChoice::Smpl_N_20000;
    c.SignalLength = SignalLength::Sig_100_Div;
    c.FrameRate = FrameRate::FPS_NO_LIM;
    c.ProbeA1 = Probe::x100;
    c.ProbeA2 = Probe::x10;
    c.FreqMeter = FreqMeterSource::FM_D2_HF;
    c.Markers_1 = true, c.Markers_2 = false;
    c.Marker_x = 1, c.Marker_y = 2, c.Marker1_x = 3, c.Marker1_y = 4, c.Marker2_x = 5, c.Marker2_y = 6;
    c.Measure = false, c.Grid = false, c.TrigPosL = false, c.Extra_Info = true, c.Trig_PT = true;
    c.Generator = false, c.On_Top = true, c.Lenta = true;
    c.DrawMode = DrawMode::Dots;
    c.Russian = false;
    c.Window_Left = -1200, c.Window_Top = 40, c.Window_Width = 1024, c.Window_Height = 700;
    c.Window_Maximized = true;
    TriggerSection& t = s.Trigger;
    t.Source = TriggerSource::CH_D2;
    t.Edge = t.Auto = t.TPLUS = true;
    t.Lev_A1 = 127.5;
    t.Lev_A2 = 17.123456;
    t.Pre = 9, t.Hyst = 5, t.N = 255, t.PTmin = 12, t.PTmax = 345, t.PTmult = 100, t.PTMode = 2;
    t.Slew = 200, t.Slew_Mode = 1, t.Levels = 5, t.Lev_Mask = 10;
    s.Calibrate = {-7, 2000, 3680, 80, 1999, 3700, -3};
    GeneratorSection& g = s.Generator;
    g.Mode = GenMode::Pulse;
    g.Range = GenRange::R50M_100uS;
    g.Shape = GenShape::Dn_Trian;
    g.F_fast = 333, g.F_slow = 999, g.Ampl = 1500;
    g.Mod_Type = 2, g.Mod_Src = 4, g.Inv = 1, g.Mod_Freq_Fast = 11, g.Mod_Freq_Slow = 22, g.MF_Mult = 5000;
    g.MF_Shape = 7, g.Mod_K = 1, g.Dev_Freq = 2, g.DF_Mult = 10, g.Sum_Lev = 3;
    s.FFT = {true, false, 3, 8, 1, true, true, true};
    s.System.Device_Type_Code = 25;
    for (std::size_t i = 0; i < kColourSlotCount; ++i) s.Colors.values[i] = 0x010203u * static_cast<std::uint32_t>(i + 1);
    return s;
}

class SettingsFileTest : public testing::Test {
protected:
    std::string Write(const ScopeState& s, SettingsKind kind, const std::string& name = "s.ini") {
        std::string error;
        EXPECT_TRUE(WriteSettings(dir.File(name), kind, s, facts, error)) << error;
        return dir.File(name);
    }
    IniDocument Ini(const std::string& name = "s.ini") { return IniDocument::Parse(dir.Read(name)); }

    TempDir dir;
    DeviceFacts facts;
};

TEST_F(SettingsFileTest, ProgramFileRoundTripRestoresEveryKey) {
    const ScopeState written = Unusual();
    const std::string path = Write(written, SettingsKind::Program);
    ScopeState read;
    ASSERT_EQ(ReadSettings(path, SettingsKind::Program, read), SettingsRefusal::None);

    EXPECT_NEAR(read.Trigger.Lev_A1, 127.5, 1e-9);
    EXPECT_NEAR(read.Trigger.Lev_A2, 17.123456, 1e-9);
    read.Trigger.Lev_A1 = written.Trigger.Lev_A1;
    read.Trigger.Lev_A2 = written.Trigger.Lev_A2;
    ScopeState expected = written;
    expected.FFT.View_A1 = false;  // only user files carry the spectrum view
    // Marker positions are not written to the program file.
    expected.Common.Marker_x = 25, expected.Common.Marker_y = 240, expected.Common.Marker1_x = 25;
    expected.Common.Marker1_y = 240, expected.Common.Marker2_x = 475, expected.Common.Marker2_y = 16;
    EXPECT_EQ(read.Scope, expected.Scope);
    EXPECT_EQ(read.Common, expected.Common);
    EXPECT_EQ(read.Trigger, expected.Trigger);
    EXPECT_EQ(read.Calibrate, expected.Calibrate);
    EXPECT_EQ(read.Generator, expected.Generator);
    EXPECT_EQ(read.FFT, expected.FFT);
    EXPECT_EQ(read.System, expected.System);
    EXPECT_EQ(read.Colors, expected.Colors);
}

TEST_F(SettingsFileTest, UserFileRoundTripLeavesProgramKeysAlone) {
    const ScopeState written = Unusual();
    const std::string path = Write(written, SettingsKind::User, "s.qxs");
    ScopeState read;  // defaults
    ASSERT_EQ(ReadSettings(path, SettingsKind::User, read), SettingsRefusal::None);

    ScopeState expected = written;
    expected.Common.On_Top = false;
    expected.Common.Russian = true;
    expected.Common.Window_Left = 0, expected.Common.Window_Top = 0;
    expected.Common.Window_Width = 0, expected.Common.Window_Height = 0;
    expected.Common.Window_Maximized = false;
    expected.Calibrate = CalibrateSection{};
    expected.System = SystemSection{};
    expected.Colors = ColourSlots{};
    EXPECT_NEAR(read.Trigger.Lev_A2, 17.123456, 1e-9);
    read.Trigger.Lev_A1 = written.Trigger.Lev_A1;
    read.Trigger.Lev_A2 = written.Trigger.Lev_A2;
    EXPECT_EQ(read, expected);

    const IniDocument ini = Ini("s.qxs");
    EXPECT_EQ(ini.Get("System", "QX40_QXS_FILE"), "1");
    EXPECT_FALSE(ini.HasKey("System", "QX40_INI_FILE"));
    EXPECT_EQ(ini.Get("System", "Device_Type"), "~QX4002~");
    EXPECT_FALSE(ini.HasKey("System", "Soft_Ver"));
    EXPECT_FALSE(ini.HasSection("Calibrate"));
    EXPECT_FALSE(ini.HasSection("Colors"));
    EXPECT_EQ(ini.Get("Generator", "50M_100uS"), "1");
}

TEST_F(SettingsFileTest, LevelStoredAsWholeAndMillionths) {
    ScopeState s;
    s.Trigger.Lev_A1 = 127.5;
    s.Trigger.Lev_A2 = -3.25;
    Write(s, SettingsKind::Program);
    const IniDocument ini = Ini();
    EXPECT_EQ(ini.Get("Trigger", "Lev_A1"), "127");
    EXPECT_EQ(ini.Get("Trigger", "Lev_A1_fine"), "500000");
    EXPECT_EQ(ini.Get("Trigger", "Lev_A2"), "-3");
    EXPECT_EQ(ini.Get("Trigger", "Lev_A2_fine"), "-250000");
}

TEST_F(SettingsFileTest, LevelReadDefaults) {
    ScopeState s;
    s.Trigger.Lev_A1 = 100.75;
    s.Trigger.Lev_A2 = 50.5;
    // Lev_A1 missing: the current whole part plus the fraction given.
    const std::string path = dir.Write("p.ini", "[Trigger]\nLev_A1_fine=250000\nLev_A2=7\n");
    ReadSettings(path, SettingsKind::Program, s);
    EXPECT_DOUBLE_EQ(s.Trigger.Lev_A1, 100.25);
    EXPECT_DOUBLE_EQ(s.Trigger.Lev_A2, 7.0);
}

TEST_F(SettingsFileTest, MissingProgramFileGivesCalibrationDefaults) {
    ScopeState s;
    ASSERT_EQ(ReadSettings(dir.File("absent.ini"), SettingsKind::Program, s), SettingsRefusal::None);
    EXPECT_EQ(s.Calibrate, (CalibrateSection{0, 3357, 725, 0, 3357, 725, 0}));
    ScopeState expected;
    expected.Calibrate = s.Calibrate;
    EXPECT_EQ(s, expected);
}

TEST_F(SettingsFileTest, UnusableValuesKeepTheDefaults) {
    ScopeState s;
    const std::string path = dir.Write("p.ini",
                                       "[Scope]\nA1_Zero=abc\nA2_Zero=99999999999\n"
                                       "[Trigger]\nN= 12 \nPre=+3\nHyst=1.5\n"
                                       "[Colors]\nGrid=\nCH_A1=255\n"
                                       "[Calibrate]\nZ_A1P1=x\n"
                                       "[System]\nDevice_Type_Code=zz\nDebug_qx=junk\n");
    ReadSettings(path, SettingsKind::Program, s);
    EXPECT_EQ(s.Scope.A1_Zero, 191);
    EXPECT_EQ(s.Scope.A2_Zero, 63);
    EXPECT_EQ(s.Trigger.N, 12);
    EXPECT_EQ(s.Trigger.Pre, 3);
    EXPECT_EQ(s.Trigger.Hyst, 1);
    EXPECT_EQ(s.Colors[ColourSlot::Grid], kDefaultColours[IndexOf(ColourSlot::Grid)]);
    EXPECT_EQ(s.Colors[ColourSlot::CH_A1], 255u);
    EXPECT_EQ(s.Calibrate.Z_A1P1, 3357);
    EXPECT_EQ(s.System.Device_Type_Code, 31);
    EXPECT_FALSE(s.System.Debug_qx);
}

TEST_F(SettingsFileTest, ServiceSwitchesAreReadButNeverWritten) {
    const std::string path = dir.Write("p.ini", "[System]\nDebug_qx=1\nUSB_VIEW=2\nMine=keep\n");
    ScopeState s;
    ReadSettings(path, SettingsKind::Program, s);
    EXPECT_TRUE(s.System.Debug_qx);
    EXPECT_TRUE(s.System.USB_VIEW);
    EXPECT_FALSE(s.System.No_Excuse);
    s.System.No_Excuse = true;
    Write(s, SettingsKind::Program, "p.ini");
    const IniDocument ini = Ini("p.ini");
    EXPECT_EQ(ini.Get("System", "Debug_qx"), "1");  // kept as the user wrote it
    EXPECT_EQ(ini.Get("System", "Mine"), "keep");
    EXPECT_FALSE(ini.HasKey("System", "No_Excuse"));
}

TEST_F(SettingsFileTest, RadioGroupsReadLikeButtonPresses) {
    ScopeState s;
    s.Trigger.Source = TriggerSource::CH_A2;
    s.Generator.Mode = GenMode::Mod;
    const std::string path = dir.Write("p.ini",
                                       "[Scope]\n1mS=0\n2mS=0\n"        // a group that cannot be empty stays
                                       "[Common]\nSmpl_N_2000=1\nSmpl_N_10000=1\n"  // the last 1 wins
                                       "[Trigger]\nCH_A2=0\n"           // may be left empty
                                       "[Generator]\nMod=0\nPulse=0\n50m_100uS=1\n");
    ReadSettings(path, SettingsKind::Program, s);
    EXPECT_EQ(s.Scope.TimebaseIndex, TimebaseIndex::T1mS);
    EXPECT_EQ(s.Common.SampleCount, SampleCountChoice::Smpl_N_10000);
    EXPECT_EQ(s.Trigger.Source, TriggerSource::None);
    EXPECT_EQ(s.Generator.Mode, GenMode::Plain);
    EXPECT_EQ(s.Generator.Range, GenRange::R50M_100uS);
}

TEST_F(SettingsFileTest, ScrollPositionsStayInTheirRange) {
    const std::string path = dir.Write("p.ini", "[Generator]\nF_fast=5000\nF_slow=-4\nAmpl=0\n");
    ScopeState s;
    ReadSettings(path, SettingsKind::Program, s);
    EXPECT_EQ(s.Generator.F_fast, 1000);
    EXPECT_EQ(s.Generator.F_slow, 0);
    EXPECT_EQ(s.Generator.Ampl, 47);
    ScopeState extended;
    dir.Write("p.ini", "[System]\nNo_Excuse=1\n[Generator]\nAmpl=0\n");
    ReadSettings(path, SettingsKind::Program, extended);
    EXPECT_EQ(extended.Generator.Ampl, 0);
}

struct TriggerRangeCase {
    const char* name;
    const char* trigger;  // the file's Trigger section
    void (*expect)(TriggerSection&);
};

TEST_F(SettingsFileTest, TriggerValuesOutsideTheDialogsRangesAreBroughtIntoThem) {
    const TriggerRangeCase cases[] = {
        {"pre above 9", "Pre=12\n", [](TriggerSection& t) { t.Pre = 9; }},
        {"pre below 0", "Pre=-1\n", [](TriggerSection& t) { t.Pre = 0; }},
        {"count 0", "N=0\n", [](TriggerSection& t) { t.N = 1; }},
        {"count above 255", "N=300\n", [](TriggerSection& t) { t.N = 255; }},
        {"hysteresis", "Hyst=7\n", [](TriggerSection& t) { t.Hyst = 5; }},
        {"equal limits", "PTmin=500\nPTmax=500\n",
         [](TriggerSection& t) { t.PTmin = 500, t.PTmax = 501; }},
        {"crossed limits", "PTmin=999\nPTmax=20\n",
         [](TriggerSection& t) { t.PTmin = 999, t.PTmax = 1000; }},
        {"limits too large", "PTmin=2000\nPTmax=5000\n",
         [](TriggerSection& t) { t.PTmin = 999, t.PTmax = 1000; }},
        {"limits too small", "PTmin=-5\nPTmax=0\n",
         [](TriggerSection& t) { t.PTmin = 0, t.PTmax = 1; }},
        {"multiplier 0", "PTmult=0\n", [](TriggerSection& t) { t.PTmult = 1; }},
        {"multiplier between steps", "PTmult=50\n", [](TriggerSection& t) { t.PTmult = 10; }},
        {"multiplier above 1 s", "PTmult=250000\n", [](TriggerSection& t) { t.PTmult = 100000; }},
        {"multiplier kept", "PTmult=1000\n", [](TriggerSection& t) { t.PTmult = 1000; }},
        {"modes shown as checked", "PTMode=5\nSlew_Mode=-1\n",
         [](TriggerSection& t) { t.PTMode = t.Slew_Mode = 2; }},
        {"modes kept", "PTMode=1\nSlew_Mode=0\n",
         [](TriggerSection& t) { t.PTMode = 1, t.Slew_Mode = 0; }},
        {"slew", "Slew=300\n", [](TriggerSection& t) { t.Slew = 255; }},
        {"level bits", "Levels=21\nLev_Mask=-1\n",
         [](TriggerSection& t) { t.Levels = 5, t.Lev_Mask = 15; }},
    };
    for (const TriggerRangeCase& c : cases) {
        for (const SettingsKind kind : {SettingsKind::Program, SettingsKind::User}) {
            const std::string path =
                dir.Write("t.qxs", std::string("[Common]\nCH_D1=1\n[Trigger]\n") + c.trigger);
            ScopeState read;
            ASSERT_EQ(ReadSettings(path, kind, read), SettingsRefusal::None);
            TriggerSection expected;
            c.expect(expected);
            EXPECT_EQ(read.Trigger, expected) << c.name;
        }
    }
}

struct ModulationRangeCase {
    const char* name;
    const char* generator;  // the file's Generator section
    void (*expect)(GeneratorSection&);
};

// What the modulation dialog would show is what the instrument gets; a bar
// far out of range would also overflow the phase word.
TEST_F(SettingsFileTest, ModulationValuesOutsideTheDialogsRangesAreBroughtIntoThem) {
    const ModulationRangeCase cases[] = {
        {"type shown as SUM", "Mod_Type=5\n", [](GeneratorSection& g) { g.Mod_Type = 2; }},
        {"type kept", "Mod_Type=1\n", [](GeneratorSection& g) { g.Mod_Type = 1; }},
        {"source shown as Int", "Mod_Src=6\n", [](GeneratorSection& g) { g.Mod_Src = 0; }},
        {"negative source", "Mod_Src=-1\n", [](GeneratorSection& g) { g.Mod_Src = 0; }},
        {"inversion", "Inv=3\n", [](GeneratorSection& g) { g.Inv = 1; }},
        {"bars", "Mod_Freq_Fast=2000000000\nMod_Freq_Slow=-3\nMod_K=1001\nDev_Freq=5000\nSum_Lev=-1\n",
         [](GeneratorSection& g) { g.Mod_Freq_Fast = 1000, g.Mod_Freq_Slow = 0, g.Mod_K = g.Dev_Freq = 1000, g.Sum_Lev = 0; }},
        {"range between steps", "MF_Mult=999\n", [](GeneratorSection& g) { g.MF_Mult = 100; }},
        {"range above 50M", "MF_Mult=9000\n", [](GeneratorSection& g) { g.MF_Mult = 5000; }},
        {"range 0", "MF_Mult=0\n", [](GeneratorSection& g) { g.MF_Mult = 1; }},
        {"deviation shown as 100K", "DF_Mult=4\n", [](GeneratorSection& g) { g.DF_Mult = 10; }},
        {"waveform without a button", "MF_Shape=5\n", [](GeneratorSection& g) { g.MF_Shape = 0; }},
        {"noise kept", "MF_Shape=7\n", [](GeneratorSection& g) { g.MF_Shape = 7; }},
    };
    for (const ModulationRangeCase& c : cases) {
        for (const SettingsKind kind : {SettingsKind::Program, SettingsKind::User}) {
            const std::string path =
                dir.Write("g.qxs", std::string("[Common]\nCH_D1=1\n[Generator]\n") + c.generator);
            ScopeState read;
            ASSERT_EQ(ReadSettings(path, kind, read), SettingsRefusal::None);
            GeneratorSection expected;
            c.expect(expected);
            EXPECT_EQ(read.Generator, expected) << c.name;
        }
    }
}

TEST_F(SettingsFileTest, AHandEditedPreTriggerNeverExceedsTheRecord) {
    const std::string path = dir.Write("p.ini", "[Trigger]\nCH_A1=1\nPre=99\n");
    ScopeModel m;
    ReadSettings(path, SettingsKind::Program, m.state);
    RecordLevels background;
    BuildDeviceSettings(m, true, false, background);
    EXPECT_LT(m.derived.PreTrigCount, m.derived.SampleCount);
    EXPECT_EQ(m.derived.PreTrigCount + m.derived.PostTrigCount, m.derived.SampleCount);
    EXPECT_EQ(m.registers.reg[reg::kTriggerCount], 1);
}

TEST_F(SettingsFileTest, MarkersComeBackFromAnOlderProgramFile) {
    const std::string path = dir.Write("p.ini", "[Common]\nMarker_x=100\nMarker2_y=3\n");
    ScopeState s;
    ReadSettings(path, SettingsKind::Program, s);
    EXPECT_EQ(s.Common.Marker_x, 100);
    EXPECT_EQ(s.Common.Marker2_y, 3);
    Write(s, SettingsKind::Program, "p.ini");
    EXPECT_FALSE(Ini("p.ini").HasKey("Common", "Marker_x"));
}

TEST_F(SettingsFileTest, RewriteKeepsForeignContentWhereItShould) {
    const std::string path = dir.Write("p.ini",
                                       "[Window]\nLeft=10\n"
                                       "[System]\nFavourite=blue\nSoft_Ver=~100~\n"
                                       "[Colors]\nExtra=1\n"
                                       "[Scope]\nOldKey=5\n"
                                       "[FFT]\nAncient=1\n");
    Write(ScopeState{}, SettingsKind::Program, "p.ini");
    const IniDocument ini = Ini("p.ini");
    EXPECT_EQ(ini.Get("Window", "Left"), "10");
    EXPECT_EQ(ini.Get("System", "Favourite"), "blue");
    EXPECT_EQ(ini.Get("System", "Soft_Ver"), "~208~");
    EXPECT_EQ(ini.Get("Colors", "Extra"), "1");
    EXPECT_EQ(ini.Get("Colors", "Grid"), std::to_string(0x800000));
    EXPECT_FALSE(ini.HasKey("Scope", "OldKey"));
    EXPECT_FALSE(ini.HasKey("FFT", "Ancient"));
    EXPECT_EQ(ini.Get("System", "QX40_INI_FILE"), "1");
    EXPECT_EQ(dir.Read("p.ini").rfind("[Window]\r\nLeft=10\r\n", 0), 0u);  // foreign section stays first
}

TEST_F(SettingsFileTest, ReplaceDropsEverythingForeign) {
    dir.Write("u.qxs", "[Window]\nLeft=10\n[System]\nMine=1\n");
    std::string error;
    ASSERT_TRUE(WriteSettings(dir.File("u.qxs"), SettingsKind::User, ScopeState{}, facts, error, WriteMode::Replace));
    const IniDocument ini = Ini("u.qxs");
    EXPECT_FALSE(ini.HasSection("Window"));
    EXPECT_FALSE(ini.HasKey("System", "Mine"));
    EXPECT_EQ(ini.Get("Common", "CH_D1"), "1");
}

TEST_F(SettingsFileTest, DeviceInformationKeys) {
    facts.SerialKnown = true;
    facts.SerialNumber = 0x00ABCDEF;
    facts.SerialNumberHi = 0x12;
    facts.FirmwareVersion = 7;
    facts.FpgaVersion = 12;
    facts.TdcKnown = true;
    facts.TDC_Rise_A1 = 20, facts.TDC_Fall_A1 = 21, facts.TDC_Rise_A2 = 22, facts.TDC_Fall_A2 = 23;
    facts.VccCentivolts = 330;
    Write(ScopeState{}, SettingsKind::Program);
    const IniDocument ini = Ini();
    EXPECT_EQ(ini.Get("System", "Ser_Num"), "~0012 - 00ABCDEF~");
    EXPECT_EQ(ini.Get("System", "Firm_Ver"), "~7~");
    EXPECT_EQ(ini.Get("System", "FPGA_Ver"), "~12~");
    EXPECT_EQ(ini.Get("System", "TDC_Fall_A2"), "~23~");
    EXPECT_EQ(ini.Get("System", "Vcc"), "~3.30~");
    EXPECT_EQ(ini.Get("System", "Device_Type"), "~QX4003~");
    EXPECT_EQ(ini.Get("System", "Device_Type_Code"), "31");

    facts = DeviceFacts{};
    facts.VccCentivolts = 5;
    Write(ScopeState{}, SettingsKind::Program, "q.ini");
    const IniDocument unknown = Ini("q.ini");
    EXPECT_EQ(unknown.Get("System", "Vcc"), "~0.05~");
    for (const char* key : {"Ser_Num", "Firm_Ver", "FPGA_Ver", "TDC_Rise_A1"}) EXPECT_FALSE(unknown.HasKey("System", key)) << key;
}

TEST_F(SettingsFileTest, UserFileFormatCheck) {
    struct Case {
        const char* content;
        SettingsRefusal refusal;
    };
    for (const Case c : {Case{"[Common]\nGrid=0\n", SettingsRefusal::InvalidFormat},
                         Case{"[Common]\nExtTrig=1\nGrid=0\n", SettingsRefusal::OldVersion},
                         Case{"", SettingsRefusal::InvalidFormat},
                         Case{"[Common]\nCH_D1=0\nGrid=0\n", SettingsRefusal::None}}) {
        const std::string path = dir.Write("u.qxs", c.content);
        ScopeState s;
        EXPECT_EQ(ReadSettings(path, SettingsKind::User, s), c.refusal) << c.content;
        EXPECT_EQ(s.Common.Grid, c.refusal != SettingsRefusal::None) << c.content;  // refused: nothing read
    }
    ScopeState s;
    EXPECT_EQ(ReadSettings(dir.File("none.qxs"), SettingsKind::User, s), SettingsRefusal::InvalidFormat);
}

TEST(LocaleIsRussian, TheFirstSetVariableDecides) {
    struct Case {
        const char *lcAll, *lcMessages, *lang;
        bool russian;
    };
    const Case cases[] = {
        {nullptr, nullptr, "ru_RU.UTF-8", true},
        {nullptr, nullptr, "ru", true},
        {nullptr, nullptr, "en_GB.UTF-8", false},
        {nullptr, nullptr, nullptr, false},
        {"", "", "", false},
        {nullptr, nullptr, "C", false},
        {"C.UTF-8", nullptr, "ru_RU.UTF-8", false},  // LC_ALL overrides everything
        {nullptr, "en_US.UTF-8", "ru_RU.UTF-8", false},
        {nullptr, "ru_UA.UTF-8", "de_DE.UTF-8", true},
        {"", "ru_RU.KOI8-R", "en_US", true},  // an empty variable counts as unset
        {"ru_RU.UTF-8", "en_US.UTF-8", nullptr, true},
        {nullptr, nullptr, "r", false},
        {nullptr, nullptr, "run", true},  // only the first two letters are asked
        {nullptr, nullptr, "RU_RU", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lcAll ? c.lcAll : "-") + " " +
                     (c.lcMessages ? c.lcMessages : "-") + " " + (c.lang ? c.lang : "-"));
        EXPECT_EQ(LocaleIsRussian(c.lcAll, c.lcMessages, c.lang), c.russian);
    }
}

// The locale's choice stands until the program file holds the user's.
TEST_F(SettingsFileTest, ProgramFileLanguageOverridesTheLocale) {
    for (const bool locale : {false, true}) {
        ScopeState fresh;
        fresh.Common.Russian = locale;
        ReadSettings(dir.File("missing.ini"), SettingsKind::Program, fresh);
        EXPECT_EQ(fresh.Common.Russian, locale);
        ScopeState started;
        started.Common.Russian = locale;
        ReadSettings(
            dir.Write("p.ini", std::string("[Common]\nRussian=") + (locale ? "0" : "1") + "\n"),
            SettingsKind::Program, started);
        EXPECT_EQ(started.Common.Russian, !locale);
    }
}

TEST(SettingsRefusalMessage, BothLanguages) {
    const MessageText en = SettingsRefusalMessage(SettingsRefusal::OldVersion, "/a/b.qxs", false);
    EXPECT_EQ(en.caption, "Open Settings");
    EXPECT_EQ(en.text, "/a/b.qxs\r\nUse software version 1.xx to open.");
    const MessageText ru = SettingsRefusalMessage(SettingsRefusal::InvalidFormat, "/a/b.qxs", true);
    EXPECT_EQ(ru.caption, "Открытие файла настроек");
    EXPECT_EQ(ru.text, "/a/b.qxs\r\nНеверный формат файла.");
}

TEST_F(SettingsFileTest, WriteFailureLeavesTheFileAndSaysWhy) {
    std::string error;
    EXPECT_FALSE(WriteSettings(dir.File("no/such/dir/p.ini"), SettingsKind::Program, ScopeState{}, facts, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace qx40
