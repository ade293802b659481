#include "app/caption_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "scope/scope_enums.h"

namespace qx40 {
namespace {

using enum CaptionShortForm;

constexpr std::int32_t kQx4003 = 31;     // every feature
constexpr std::int32_t kQx4001A = 28;    // no A2, no D2
constexpr std::int32_t kWithoutA2 = 30;  // only bit 0 clear
constexpr std::int32_t kWithoutD2 = 29;  // only bit 1 clear

struct Translated {
    const char* name;
    const char* english;
    const char* russian;
    CaptionShortForm shortForm = Never;
    const char* englishShort = "";
    const char* russianShort = "";
};

// Every item that reads differently in Russian, with its short forms.
const Translated kTranslated[] = {
    {"GroupBox1", "Scope", "Осциллограф"},
    {"StaticText_TimeDiv", "Time/Div", "Время/Дел"},
    {"SpeedButton_Trig", "Trigger", "Синхронизация"},
    {"SpeedButton_Run", "RUN", "Пуск"},
    {"SpeedButton_Sngl", "SINGLE", "Однокр."},
    {"SpeedButton_Auto", "Auto", "Авт."},
    {"GroupBox2", "Generator", "Генератор"},
    {"SpeedButton_GenOn", "ON", "Вкл."},
    {"SpeedButton_Mod", "Mod.", "Модул."},
    {"SpeedButton_Pulse", "Pulse", "Импульсы"},
    {"SpeedButton_Sweep", "Sweep", "ГКЧ"},
    {"Menu_File", "File", "Файл"},
    {"Menu_Open", "Open...", "Открыть осциллограмму..."},
    {"Menu_Open_Settings", "Open Settings...", "Открыть настройки..."},
    {"Menu_Save_As", "Save...", "Сохранить осциллограмму..."},
    {"Menu_Save_Settings_As", "Save Settings...", "Сохранить настройки..."},
    {"Menu_Export", "Export", "Экспорт"},
    {"Menu_Image", "Image...", "Рисунок..."},
    {"Menu_Text", "Text...", "Текст..."},
    {"Menu_Row_Binary", "Row Binary", "Двоичный"},
    {"Menu_EBin_A1", "CH A1...", "Канал A1...", WithoutA2, "CH A...", "Канал A..."},
    {"Menu_EBin_A2", "CH A2...", "Канал A2..."},
    {"Menu_EBin_D1", "CH D1...", "Канал D1...", WithoutD2, "CH D...", "Канал D..."},
    {"Menu_EBin_D2", "CH D2...", "Канал D2..."},
    {"Menu_Recorder", "Recorder...", "Самописец..."},
    {"Menu_Device", "Device", "Устройство"},
    {"Menu_Exit", "Exit", "Выход"},
    {"Menu_Options", "Options", "Настройки"},
    {"Menu_Trigger", "Trigger...", "Синхронизация..."},
    {"Menu_FFTSet", "FFT...", "БПФ..."},
    {"Menu_GeneratorSet", "Generator Mod...", "Модуляция генератора..."},
    {"Menu_Sampling", "Sampling", "Выборки"},
    {"Menu_SmplPeakDet", "Peak Detect", "Пиковый детектор"},
    {"Menu_Smpl_Max", "20000 (A or A+D)", "20000 (A или A+D)", WithoutA2, "20000", "20000"},
    {"Menu_Divisions", "Divisions per signal (min)", "Гориз. развертка, делений (мин.)"},
    {"Menu_Max_FPS", "FPS (max)", "Осциллограмм в секунду (макс.)"},
    {"Menu_FPS_NO_LIM", "No Limit", "Не огранич."},
    {"Menu_Probe_A1", "Probe A1", "Пробник для канала A1", WithoutA2, "Probe",
     "Пробник для канала A"},
    {"Menu_Probe_A2", "Probe A2", "Пробник для канала A2"},
    {"Menu_FreqMeter", "Freq. Meter Input", "Вход частотомера"},
    {"Menu_FM_A1", "CH A1", "Канал A1", WithoutA2, "CH A", "Канал A"},
    {"Menu_FM_A2", "CH A2", "Канал A2"},
    {"Menu_FM_D1", "CH D1", "Канал D1", WithoutD2, "CH D", "Канал D"},
    {"Menu_FM_D2", "CH D2", "Канал D2"},
    {"Menu_FM_D1_HF", "CH D1 (HF)", "Канал D1 (ВЧ)", WithoutD2, "CH D (HF)", "Канал D (ВЧ)"},
    {"Menu_FM_D2_HF", "CH D2 (HF)", "Канал D2 (ВЧ)"},
    {"Menu_FM_TRIG", "Trig. Cond.", "Условие синхр."},
    {"Menu_FM_Calibrate", "Freq. Meter Calibrate...", "Калибровка частотомера..."},
    {"Menu_ZeroCalibrate", "Zero Calibrate...", "Калибровка уровня нуля..."},
    {"Menu_TDCCalibrate", "TDC Calibrate...", "Калибровка TDC..."},
    {"Menu_View", "View", "Вид"},
    {"Menu_Markers_1", "Markers 1", "Маркеры"},
    {"Menu_Markers_2", "Markers 2", "Маркеры двойные"},
    {"Menu_CH_A1", "CH A1", "Канал A1", WithoutA2, "CH A", "Канал A"},
    {"Menu_CH_A2", "CH A2", "Канал A2"},
    {"Menu_CH_D1", "CH D1", "Канал D1", WithoutD2, "CH D", "Канал D"},
    {"Menu_CH_D2", "CH D2", "Канал D2"},
    {"Menu_Measure", "Measure", "Автоизмерения"},
    {"Menu_Grid", "Grid", "Сетка"},
    {"Menu_TrigPosL", "Trig. Position", "Линия синхронизации"},
    {"Menu_Extra_Info", "Extra Info", "Дополнит. информация"},
    {"Menu_Trig_PT", "Trig. Pulse Time", "Длит. импульса вызвавшего синхр."},
    {"Menu_BG_View", "B.G. Oscillogram", "Фоновая осциллограмма"},
    {"Menu_Gen_View", "Generator", "Генератор"},
    {"Menu_BG_Do", "Main <-> B.G. Oscillogram", "Обменять с фоновой"},
    {"Menu_BG_Clr", "Clear B.G. Oscillogram", "Стереть фоновую"},
    {"Menu_DrawMode", "Draw Mode", "Прорисовка сигнала"},
    {"Menu_Dots", "Dots", "Точки"},
    {"Menu_Vectors", "Vectors", "Векторы"},
    {"Menu_Sinxx", "Sin(x)/x", "Интерполяция Sin(x)/x"},
    {"Menu_Lenta", "Scroll (0.1 .. 20 S/Div)", "Лента (0.1 .. 20 S/Div)"},
    {"Menu_FFT_A1", "FFT A1", "БПФ A1", WithoutA2, "FFT", "БПФ"},
    {"Menu_FFT_A2", "FFT A2", "БПФ A2"},
    {"Menu_Colors", "Colors...", "Цвета..."},
    {"Menu_On_Top", "Always On Top", "Поверх других окон"},
    {"Menu_Russian", "Russian", "Русский"},
    {"Menu_English", "English", "English"},
    {"Menu_Compact", "Compact View", "Компактный вид"},
    {"Menu_Help", "Help", "Справка"},
    {"Menu_Help_Contents", "Contents", "Вызов справки"},
    {"Menu_About", "About...", "О программе..."},
};

std::string Caption(std::string_view name, bool russian, std::int32_t code) {
    const auto caption = MainWindowCaption(name, russian, code);
    return caption ? std::string(*caption) : std::string("<not touched>");
}

TEST(CaptionTable, EveryTranslatedItemInBothLanguages) {
    for (const Translated& row : kTranslated) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Caption(row.name, false, kQx4003), row.english);
        EXPECT_EQ(Caption(row.name, true, kQx4003), row.russian);
    }
}

TEST(CaptionTable, ShortFormsFollowOnlyTheirOwnMissingChannel) {
    for (const Translated& row : kTranslated) {
        SCOPED_TRACE(row.name);
        const bool a2 = row.shortForm == WithoutA2, d2 = row.shortForm == WithoutD2;
        EXPECT_EQ(Caption(row.name, false, kWithoutA2), a2 ? row.englishShort : row.english);
        EXPECT_EQ(Caption(row.name, true, kWithoutA2), a2 ? row.russianShort : row.russian);
        EXPECT_EQ(Caption(row.name, false, kWithoutD2), d2 ? row.englishShort : row.english);
        EXPECT_EQ(Caption(row.name, true, kWithoutD2), d2 ? row.russianShort : row.russian);
    }
}

TEST(CaptionTable, Qx4001ANamesItsSingleChannels) {
    struct Case {
        const char* name;
        const char* english;
        const char* russian;
    };
    const Case cases[] = {
        {"Menu_CH_A1", "CH A", "Канал A"},
        {"Menu_FM_A1", "CH A", "Канал A"},
        {"Menu_CH_D1", "CH D", "Канал D"},
        {"Menu_FM_D1", "CH D", "Канал D"},
        {"Menu_FM_D1_HF", "CH D (HF)", "Канал D (ВЧ)"},
        {"Menu_Probe_A1", "Probe", "Пробник для канала A"},
        {"Menu_FFT_A1", "FFT", "БПФ"},
        {"Menu_Smpl_Max", "20000", "20000"},
        {"Menu_EBin_A1", "CH A...", "Канал A..."},
        {"Menu_EBin_D1", "CH D...", "Канал D..."},
        // Items of the channels the model lacks are hidden, not renamed.
        {"Menu_CH_A2", "CH A2", "Канал A2"},
        {"Menu_Markers_1", "Markers 1", "Маркеры"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Caption(c.name, false, kQx4001A), c.english);
        EXPECT_EQ(Caption(c.name, true, kQx4001A), c.russian);
    }
}

TEST(CaptionTable, LanguageMenuIsLeftAloneByTheRussianPass) {
    for (const std::int32_t code : {kQx4003, kQx4001A}) {
        EXPECT_EQ(Caption("Menu_Language", false, code), "Language");
        EXPECT_EQ(MainWindowCaption("Menu_Language", true, code), std::nullopt);
    }
}

TEST(CaptionTable, TimeBaseButtonsKeepTheirDecimalCommaInBothLanguages) {
    const char* const captions[kTimebaseCount] = {
        "20S",  "10S",  "5S",  "2S",  "1S",  "0,5S",  "0,2S",  "0,1S",  "50mS",
        "20mS", "10mS", "5mS", "2mS", "1mS", "0,5mS", "0,2mS", "0,1mS", "50uS",
        "20uS", "10uS", "5uS", "2uS", "1uS", "0,5uS", "0,2uS", "0,1uS", "50nS"};
    for (std::size_t i = 0; i < kTimebaseCount; ++i) {
        const std::string name = "SpeedButton_" + std::string(kTimebaseKeys[i]);
        SCOPED_TRACE(name);
        EXPECT_EQ(Caption(name, false, kQx4003), captions[i]);
        EXPECT_EQ(Caption(name, true, kQx4001A), captions[i]);
    }
}

TEST(CaptionTable, NumberedItemsReadTheSameInBothLanguages) {
    struct Case {
        const char* name;
        const char* caption;
    };
    const Case cases[] = {
        {"SpeedButton_TrigA2", "A2"}, {"SpeedButton_TrigD2", "D2"}, {"SpeedButton_TPLUS", "T+"},
        {"Menu_4001A", "QX4001A"},    {"Menu_4002", "QX4002"},      {"Menu_4003", "QX4003"},
        {"Menu_A1_x1", "x1"},         {"Menu_A1_x10", "x10"},       {"Menu_A2_x100", "x100"},
        {"Menu_Smpl_2000", "2000"},   {"Menu_Smpl_5000", "5000"},   {"Menu_Smpl_10000", "10000"},
        {"Menu_10_Div", "10"},        {"Menu_200_Div", "200"},      {"Menu_FPS_8", "8"},
        {"Menu_FPS_40", "40"},        {"Menu_English", "English"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Caption(c.name, false, kQx4003), c.caption);
        EXPECT_EQ(Caption(c.name, true, kQx4003), c.caption);
    }
}

// Captions that follow the state (probe factor, pulse mode) or the model's
// layout are written elsewhere; rewriting them here would show stale texts.
TEST(CaptionTable, LeavesCaptionsThatFollowTheState) {
    for (const char* name :
         {"SpeedButton_2V_A1", "SpeedButton_50mV_A2", "SpeedButton_VoltsDiv_A1",
          "SpeedButton_VoltsDiv_A2", "SpeedButton_10K_1S", "SpeedButton__10uS_Noise",
          "SpeedButton_TrigA1", "SpeedButton_TrigD1", "Label_F", "QX4003MFrm", ""}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(MainWindowCaption(name, false, kQx4003), std::nullopt);
        EXPECT_EQ(MainWindowCaption(name, true, kQx4001A), std::nullopt);
    }
}

TEST(CaptionTable, EachNameOnceWithTextsForEveryPass) {
    std::set<std::string_view> names;
    for (const CaptionRow& row : MainWindowCaptions()) {
        SCOPED_TRACE(std::string(row.name));
        EXPECT_TRUE(names.insert(row.name).second) << "listed twice";
        EXPECT_FALSE(row.english.empty());
        EXPECT_EQ(row.russian.empty(), row.name == "Menu_Language");
        if (row.shortForm != Never) {
            EXPECT_FALSE(row.englishShort.empty());
            EXPECT_FALSE(row.russianShort.empty());
        }
    }
}

}  // namespace
}  // namespace qx40
