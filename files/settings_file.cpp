#include "files/settings_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>

#include "base/program_version.h"
#include "scope/value_tables.h"
#include "base/round_nearest.h"
#include "files/file_io.h"
#include "files/ini_document.h"
#include "generator/modulation_ranges.h"
#include "trigger/trigger_ranges.h"

namespace qx40 {
namespace {

std::optional<std::int32_t> ParseInt(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::string Tilde(const std::string& s) { return "~" + s + "~"; }

// One walk over every key serves both the reader and the writer, so the two
// can never disagree on names, sections or which file holds a key.
class SettingsMapper {
public:
    SettingsMapper(IniDocument& ini, SettingsKind kind, bool writing)
        : ini_(ini), program_(kind == SettingsKind::Program), writing_(writing) {}

    bool Program() const { return program_; }
    bool Writing() const { return writing_; }

    void Flag(const char* section, std::string_view key, bool& field) {
        if (writing_)
            Write(section, key, field ? 1 : 0);
        else
            field = ReadInt(section, key).value_or(field ? 1 : 0) != 0;
    }

    // fixedDefault replaces "keep the current value" for a missing key.
    void Int(const char* section, std::string_view key, std::int32_t& field,
             std::optional<std::int32_t> fixedDefault = std::nullopt) {
        if (writing_)
            Write(section, key, field);
        else
            field = ReadInt(section, key).value_or(fixedDefault.value_or(field));
    }

    void Colour(std::string_view key, std::uint32_t& field) {
        std::int32_t value = static_cast<std::int32_t>(field);
        Int("Colors", key, value);
        field = static_cast<std::uint32_t>(value);
    }

    // A real level: the integer part and the millionths of the rest.
    void Level(std::string_view key, double& level) {
        const std::string fineKey = std::string(key) + "_fine";
        if (writing_) {
            const double whole = std::trunc(level);
            Write("Trigger", key, static_cast<std::int32_t>(whole));
            Write("Trigger", fineKey, RoundNearest((level - whole) * 1000000.0));
            return;
        }
        const std::int32_t whole = ReadInt("Trigger", key).value_or(static_cast<std::int32_t>(std::trunc(level)));
        const std::int32_t fine = ReadInt("Trigger", fineKey).value_or(0);
        level = whole + fine * 0.000001;
    }

    // An exclusive group stored as one flag per member. Reading acts like a
    // user pressing the members in key order: a 1 selects the member; a 0
    // releases it only in a group that may be left empty (noneValue).
    template <typename E, std::size_t N>
    void Radio(const char* section, const std::array<std::string_view, N>& keys, E& field,
               std::string_view prefix = {}, std::optional<E> noneValue = std::nullopt,
               std::size_t firstMember = 0) {
        for (std::size_t i = 0; i < N; ++i) {
            const E member = static_cast<E>(i + firstMember);
            const std::string key = std::string(prefix) + std::string(keys[i]);
            if (writing_) {
                Write(section, key, field == member ? 1 : 0);
                continue;
            }
            const bool down = ReadInt(section, key).value_or(field == member ? 1 : 0) != 0;
            if (down)
                field = member;
            else if (field == member && noneValue)
                field = *noneValue;
        }
    }

    void Text(const char* section, std::string_view key, const std::string& value) {
        if (writing_) ini_.Set(section, key, value);
    }

private:
    std::optional<std::int32_t> ReadInt(const char* section, std::string_view key) const {
        const auto text = ini_.Get(section, key);
        return text ? ParseInt(*text) : std::nullopt;
    }
    void Write(const char* section, std::string_view key, std::int32_t value) {
        ini_.Set(section, key, std::to_string(value));
    }

    IniDocument& ini_;
    bool program_;
    bool writing_;
};

void MapCommon(SettingsMapper& io, CommonSection& c) {
    const char* s = "Common";
    io.Flag(s, "Markers_1", c.Markers_1);
    io.Flag(s, "Markers_2", c.Markers_2);
    // Marker positions go to user files only, but are read from both.
    if (!io.Writing() || !io.Program()) {
        for (auto [key, field] : {std::pair{"Marker_x", &c.Marker_x}, {"Marker_y", &c.Marker_y},
                                  {"Marker1_x", &c.Marker1_x}, {"Marker1_y", &c.Marker1_y},
                                  {"Marker2_x", &c.Marker2_x}, {"Marker2_y", &c.Marker2_y}})
            io.Int(s, key, *field);
    }
    io.Flag(s, "CH_A1", c.CH_A1);
    io.Flag(s, "CH_A2", c.CH_A2);
    io.Flag(s, "CH_D1", c.CH_D1);
    io.Flag(s, "CH_D2", c.CH_D2);
    io.Flag(s, "Measure", c.Measure);
    io.Flag(s, "Grid", c.Grid);
    io.Flag(s, "TrigPosL", c.TrigPosL);
    io.Flag(s, "Extra_Info", c.Extra_Info);
    io.Flag(s, "Trig_PT", c.Trig_PT);
    io.Flag(s, "Generator", c.Generator);
    io.Radio(s, kDrawModeKeys, c.DrawMode);
    if (io.Program()) io.Flag(s, "On_Top", c.On_Top);
    io.Flag(s, "SmplPeakDet", c.SmplPeakDet);
    io.Radio(s, kSampleCountKeys, c.SampleCount);
    io.Radio(s, kSignalLengthKeys, c.SignalLength);
    io.Radio(s, kFrameRateKeys, c.FrameRate);
    io.Radio(s, kProbeKeySuffixes, c.ProbeA1, "A1_");
    io.Radio(s, kProbeKeySuffixes, c.ProbeA2, "A2_");
    io.Radio(s, kFreqMeterKeys, c.FreqMeter);
    if (io.Program()) io.Flag(s, "Russian", c.Russian);
    io.Flag(s, "Lenta", c.Lenta);
    if (io.Program()) {
        for (auto [key, field] : {std::pair{"Window_Left", &c.Window_Left},
                                  {"Window_Top", &c.Window_Top},
                                  {"Window_Width", &c.Window_Width},
                                  {"Window_Height", &c.Window_Height}})
            io.Int(s, key, *field);
        io.Flag(s, "Window_Maximized", c.Window_Maximized);
    }
}

void MapScope(SettingsMapper& io, ScopeSection& sc) {
    const char* s = "Scope";
    io.Radio(s, kTimebaseKeys, sc.TimebaseIndex);
    io.Radio(s, kVoltsDivKeySuffixes, sc.A1, "A1_");
    io.Flag(s, "A1_ACDC", sc.A1_ACDC);
    io.Int(s, "A1_Zero", sc.A1_Zero);
    io.Radio(s, kVoltsDivKeySuffixes, sc.A2, "A2_");
    io.Flag(s, "A2_ACDC", sc.A2_ACDC);
    io.Int(s, "A2_Zero", sc.A2_Zero);
}

void MapTrigger(SettingsMapper& io, TriggerSection& t) {
    const char* s = "Trigger";
    io.Radio(s, kTriggerSourceKeys, t.Source, {}, std::optional(TriggerSource::None), 1);
    io.Flag(s, "Edge", t.Edge);
    io.Flag(s, "Auto", t.Auto);
    io.Flag(s, "TPLUS", t.TPLUS);
    io.Level("Lev_A1", t.Lev_A1);
    io.Level("Lev_A2", t.Lev_A2);
    for (auto [key, field] : {std::pair{"Pre", &t.Pre}, {"Hyst", &t.Hyst}, {"N", &t.N}, {"PTmin", &t.PTmin},
                              {"PTmax", &t.PTmax}, {"PTmult", &t.PTmult}, {"PTMode", &t.PTMode},
                              {"Slew", &t.Slew}, {"Slew_Mode", &t.Slew_Mode}, {"Levels", &t.Levels},
                              {"Lev_Mask", &t.Lev_Mask}})
        io.Int(s, key, *field);
}

void MapCalibrate(SettingsMapper& io, CalibrateSection& c) {
    const char* s = "Calibrate";
    io.Int(s, "Time", c.Time, 0);
    io.Int(s, "Z_A1P1", c.Z_A1P1, 3357);
    io.Int(s, "Z_A1P2", c.Z_A1P2, 725);
    io.Int(s, "Z_A1SH", c.Z_A1SH, 0);
    io.Int(s, "Z_A2P1", c.Z_A2P1, 3357);
    io.Int(s, "Z_A2P2", c.Z_A2P2, 725);
    io.Int(s, "Z_A2SH", c.Z_A2SH, 0);
}

void MapGenerator(SettingsMapper& io, GeneratorSection& g) {
    const char* s = "Generator";
    io.Radio(s, kGenRangeKeys, g.Range);
    io.Radio(s, kGenShapeKeys, g.Shape);
    io.Radio(s, kGenModeKeys, g.Mode, {}, std::optional(GenMode::Plain), 1);
    io.Int(s, "F_fast", g.F_fast);
    io.Int(s, "F_slow", g.F_slow);
    io.Int(s, "Ampl", g.Ampl);
    for (auto [key, field] : {std::pair{"Mod_Type", &g.Mod_Type}, {"Mod_Src", &g.Mod_Src}, {"Inv", &g.Inv},
                              {"Mod_Freq_Fast", &g.Mod_Freq_Fast}, {"Mod_Freq_Slow", &g.Mod_Freq_Slow},
                              {"MF_Mult", &g.MF_Mult}, {"MF_Shape", &g.MF_Shape}, {"Mod_K", &g.Mod_K},
                              {"Dev_Freq", &g.Dev_Freq}, {"DF_Mult", &g.DF_Mult}, {"Sum_Lev", &g.Sum_Lev}})
        io.Int(s, key, *field);
}

void MapFft(SettingsMapper& io, FftSection& f) {
    const char* s = "FFT";
    if (!io.Program()) {
        io.Flag(s, "View_A1", f.View_A1);
        io.Flag(s, "View_A2", f.View_A2);
    }
    io.Int(s, "Size", f.Size);
    io.Int(s, "Win", f.Win);
    io.Int(s, "Scale", f.Scale);
    io.Flag(s, "dbv_v", f.dbv_v);
    io.Flag(s, "Mdl", f.Mdl);
    io.Flag(s, "Dither", f.Dither);
}

void MapSections(SettingsMapper& io, ScopeState& state) {
    MapCommon(io, state.Common);
    MapScope(io, state.Scope);
    MapTrigger(io, state.Trigger);
    if (io.Program()) MapCalibrate(io, state.Calibrate);
    MapGenerator(io, state.Generator);
    MapFft(io, state.FFT);
    if (io.Program())
        for (std::size_t i = 0; i < kColourSlotCount; ++i) io.Colour(kColourSlotKeys[i], state.Colors.values[i]);
}

void WriteSystemKeys(SettingsMapper& io, const ScopeState& state, const DeviceFacts& facts) {
    const char* s = "System";
    char buffer[32];
    io.Text(s, io.Program() ? "QX40_INI_FILE" : "QX40_QXS_FILE", "1");
    if (io.Program()) {
        if (facts.SerialKnown) {
            std::snprintf(buffer, sizeof buffer, "%04X - %08X", static_cast<unsigned>(facts.SerialNumberHi),
                          static_cast<unsigned>(facts.SerialNumber));
            io.Text(s, "Ser_Num", Tilde(buffer));
        }
        io.Text(s, "Soft_Ver", Tilde(std::to_string(kProgramVersion)));
        if (facts.FirmwareVersion != -1) io.Text(s, "Firm_Ver", Tilde(std::to_string(facts.FirmwareVersion)));
        if (facts.FpgaVersion != -1) io.Text(s, "FPGA_Ver", Tilde(std::to_string(facts.FpgaVersion)));
        if (facts.TdcKnown) {
            io.Text(s, "TDC_Rise_A1", Tilde(std::to_string(facts.TDC_Rise_A1)));
            io.Text(s, "TDC_Fall_A1", Tilde(std::to_string(facts.TDC_Fall_A1)));
            io.Text(s, "TDC_Rise_A2", Tilde(std::to_string(facts.TDC_Rise_A2)));
            io.Text(s, "TDC_Fall_A2", Tilde(std::to_string(facts.TDC_Fall_A2)));
        }
        if (facts.VccCentivolts >= 0) {
            const std::int32_t v = facts.VccCentivolts;
            std::snprintf(buffer, sizeof buffer, "%d.%d%d", v / 100, (v / 10) % 10, v % 10);
            io.Text(s, "Vcc", Tilde(buffer));
        }
    }
    io.Text(s, "Device_Type", Tilde(ModelName(state.System.Device_Type_Code)));
    io.Text(s, "Device_Type_Code", std::to_string(state.System.Device_Type_Code));
}

void ReadSystemKeys(const IniDocument& ini, SystemSection& sys) {
    const auto flag = [&](const char* key) {
        const auto text = ini.Get("System", key);
        const auto value = text ? ParseInt(*text) : std::nullopt;
        return value.value_or(0) != 0;
    };
    sys.Debug_qx = flag("Debug_qx");
    sys.TDC_Clbr = flag("TDC_Clbr");
    sys.No_Excuse = flag("No_Excuse");
    sys.USB_VIEW = flag("USB_VIEW");
    if (const auto text = ini.Get("System", "Device_Type_Code"))
        sys.Device_Type_Code = ParseInt(*text).value_or(sys.Device_Type_Code);
}

}  // namespace

SettingsRefusal ReadSettings(const std::string& path, SettingsKind kind, ScopeState& state) {
    std::string text;
    if (!ReadWholeFile(path, text)) text.clear();
    IniDocument ini = IniDocument::Parse(text);

    if (kind == SettingsKind::User && !ini.HasKey("Common", "CH_D1"))
        return ini.HasKey("Common", "ExtTrig") ? SettingsRefusal::OldVersion : SettingsRefusal::InvalidFormat;
    if (kind == SettingsKind::Program) ReadSystemKeys(ini, state.System);

    SettingsMapper io(ini, kind, false);
    MapSections(io, state);
    // Scroll bars hold only positions within their range.
    GeneratorSection& g = state.Generator;
    g.F_fast = std::clamp(g.F_fast, 0, 1000);
    g.F_slow = std::clamp(g.F_slow, 0, 1000);
    g.Ampl = std::clamp(g.Ampl, state.AmplitudeMin(), state.AmplitudeMax());
    BringModulationIntoRange(g);
    BringTriggerIntoRange(state.Trigger);
    return SettingsRefusal::None;
}

bool WriteSettings(const std::string& path, SettingsKind kind, const ScopeState& state, const DeviceFacts& facts,
                   std::string& error, WriteMode mode) {
    std::string text;
    if (mode == WriteMode::Replace || !ReadWholeFile(path, text)) text.clear();
    IniDocument ini = IniDocument::Parse(text);
    for (const char* section : {"Common", "Scope", "Trigger", "Calibrate", "Generator", "FFT"})
        ini.EraseSection(section);

    SettingsMapper io(ini, kind, true);
    WriteSystemKeys(io, state, facts);
    ScopeState copy = state;  // the mapper's walk takes fields by reference
    MapSections(io, copy);
    return WriteFileAtomically(path, ini.Serialize(), error);
}

bool LocaleIsRussian(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang})
        if (value && *value) return std::string_view(value).substr(0, 2) == "ru";
    return false;
}

MessageText SettingsRefusalMessage(SettingsRefusal refusal, const std::string& path, bool russian) {
    MessageText m;
    m.caption = russian ? "Открытие файла настроек" : "Open Settings";
    if (refusal == SettingsRefusal::OldVersion)
        m.text = path + (russian ? "\r\nДля открытия используйте программу версии 1.xx."
                                 : "\r\nUse software version 1.xx to open.");
    else
        m.text = path + (russian ? "\r\nНеверный формат файла." : "\r\nInvalid file format.");
    return m;
}

}  // namespace qx40
