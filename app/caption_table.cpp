#include "app/caption_table.h"

#include <array>

namespace qx40 {
namespace {

using enum CaptionShortForm;

// Rows with a Russian text of their own come first; then the captions that
// read the same in both languages, which are rewritten too so that a window
// left with stray texts comes back whole.
//
// Not here, because other code writes them from the state on every apply:
// the volts/div buttons and SpeedButton_VoltsDiv_A1/_A2 (their captions
// follow the probe factor), the generator range buttons (pulse mode changes
// them, and the noise button reads "Шум" in Russian) and the generator
// read-out labels. SpeedButton_TrigA1 and SpeedButton_TrigD1 shrink to "A"
// and "D" together with their width when the model is laid out, so the
// layout owns them. Glyph buttons carry no text.
constexpr std::array kRows = {
    CaptionRow{"GroupBox1", "Scope", "Осциллограф"},
    CaptionRow{"StaticText_TimeDiv", "Time/Div", "Время/Дел"},
    CaptionRow{"SpeedButton_Trig", "Trigger", "Синхронизация"},
    CaptionRow{"SpeedButton_Run", "RUN", "Пуск"},
    CaptionRow{"SpeedButton_Sngl", "SINGLE", "Однокр."},
    CaptionRow{"SpeedButton_Auto", "Auto", "Авт."},
    CaptionRow{"GroupBox2", "Generator", "Генератор"},
    CaptionRow{"SpeedButton_GenOn", "ON", "Вкл."},
    CaptionRow{"SpeedButton_Mod", "Mod.", "Модул."},
    CaptionRow{"SpeedButton_Pulse", "Pulse", "Импульсы"},
    CaptionRow{"SpeedButton_Sweep", "Sweep", "ГКЧ"},
    CaptionRow{"Menu_File", "File", "Файл"},
    CaptionRow{"Menu_Open", "Open...", "Открыть осциллограмму..."},
    CaptionRow{"Menu_Open_Settings", "Open Settings...", "Открыть настройки..."},
    CaptionRow{"Menu_Save_As", "Save...", "Сохранить осциллограмму..."},
    CaptionRow{"Menu_Save_Settings_As", "Save Settings...", "Сохранить настройки..."},
    CaptionRow{"Menu_Export", "Export", "Экспорт"},
    CaptionRow{"Menu_Image", "Image...", "Рисунок..."},
    CaptionRow{"Menu_Text", "Text...", "Текст..."},
    CaptionRow{"Menu_Row_Binary", "Row Binary", "Двоичный"},
    CaptionRow{"Menu_EBin_A1", "CH A1...", "Канал A1...", WithoutA2, "CH A...", "Канал A..."},
    CaptionRow{"Menu_EBin_A2", "CH A2...", "Канал A2..."},
    CaptionRow{"Menu_EBin_D1", "CH D1...", "Канал D1...", WithoutD2, "CH D...", "Канал D..."},
    CaptionRow{"Menu_EBin_D2", "CH D2...", "Канал D2..."},
    CaptionRow{"Menu_Recorder", "Recorder...", "Самописец..."},
    CaptionRow{"Menu_Device", "Device", "Устройство"},
    CaptionRow{"Menu_Exit", "Exit", "Выход"},
    CaptionRow{"Menu_Options", "Options", "Настройки"},
    CaptionRow{"Menu_Trigger", "Trigger...", "Синхронизация..."},
    CaptionRow{"Menu_FFTSet", "FFT...", "БПФ..."},
    CaptionRow{"Menu_GeneratorSet", "Generator Mod...", "Модуляция генератора..."},
    CaptionRow{"Menu_Sampling", "Sampling", "Выборки"},
    CaptionRow{"Menu_SmplPeakDet", "Peak Detect", "Пиковый детектор"},
    CaptionRow{"Menu_Smpl_Max", "20000 (A or A+D)", "20000 (A или A+D)", WithoutA2, "20000",
               "20000"},
    CaptionRow{"Menu_Divisions", "Divisions per signal (min)", "Гориз. развертка, делений (мин.)"},
    CaptionRow{"Menu_Max_FPS", "FPS (max)", "Осциллограмм в секунду (макс.)"},
    CaptionRow{"Menu_FPS_NO_LIM", "No Limit", "Не огранич."},
    CaptionRow{"Menu_Probe_A1", "Probe A1", "Пробник для канала A1", WithoutA2, "Probe",
               "Пробник для канала A"},
    CaptionRow{"Menu_Probe_A2", "Probe A2", "Пробник для канала A2"},
    CaptionRow{"Menu_FreqMeter", "Freq. Meter Input", "Вход частотомера"},
    CaptionRow{"Menu_FM_A1", "CH A1", "Канал A1", WithoutA2, "CH A", "Канал A"},
    CaptionRow{"Menu_FM_A2", "CH A2", "Канал A2"},
    CaptionRow{"Menu_FM_D1", "CH D1", "Канал D1", WithoutD2, "CH D", "Канал D"},
    CaptionRow{"Menu_FM_D2", "CH D2", "Канал D2"},
    CaptionRow{"Menu_FM_D1_HF", "CH D1 (HF)", "Канал D1 (ВЧ)", WithoutD2, "CH D (HF)",
               "Канал D (ВЧ)"},
    CaptionRow{"Menu_FM_D2_HF", "CH D2 (HF)", "Канал D2 (ВЧ)"},
    CaptionRow{"Menu_FM_TRIG", "Trig. Cond.", "Условие синхр."},
    CaptionRow{"Menu_FM_Calibrate", "Freq. Meter Calibrate...", "Калибровка частотомера..."},
    CaptionRow{"Menu_ZeroCalibrate", "Zero Calibrate...", "Калибровка уровня нуля..."},
    CaptionRow{"Menu_TDCCalibrate", "TDC Calibrate...", "Калибровка TDC..."},
    CaptionRow{"Menu_View", "View", "Вид"},
    CaptionRow{"Menu_Markers_1", "Markers 1", "Маркеры"},
    CaptionRow{"Menu_Markers_2", "Markers 2", "Маркеры двойные"},
    CaptionRow{"Menu_CH_A1", "CH A1", "Канал A1", WithoutA2, "CH A", "Канал A"},
    CaptionRow{"Menu_CH_A2", "CH A2", "Канал A2"},
    CaptionRow{"Menu_CH_D1", "CH D1", "Канал D1", WithoutD2, "CH D", "Канал D"},
    CaptionRow{"Menu_CH_D2", "CH D2", "Канал D2"},
    CaptionRow{"Menu_Measure", "Measure", "Автоизмерения"},
    CaptionRow{"Menu_Grid", "Grid", "Сетка"},
    CaptionRow{"Menu_TrigPosL", "Trig. Position", "Линия синхронизации"},
    CaptionRow{"Menu_Extra_Info", "Extra Info", "Дополнит. информация"},
    CaptionRow{"Menu_Trig_PT", "Trig. Pulse Time", "Длит. импульса вызвавшего синхр."},
    CaptionRow{"Menu_BG_View", "B.G. Oscillogram", "Фоновая осциллограмма"},
    CaptionRow{"Menu_Gen_View", "Generator", "Генератор"},
    CaptionRow{"Menu_BG_Do", "Main <-> B.G. Oscillogram", "Обменять с фоновой"},
    CaptionRow{"Menu_BG_Clr", "Clear B.G. Oscillogram", "Стереть фоновую"},
    CaptionRow{"Menu_DrawMode", "Draw Mode", "Прорисовка сигнала"},
    CaptionRow{"Menu_Dots", "Dots", "Точки"},
    CaptionRow{"Menu_Vectors", "Vectors", "Векторы"},
    CaptionRow{"Menu_Sinxx", "Sin(x)/x", "Интерполяция Sin(x)/x"},
    CaptionRow{"Menu_Lenta", "Scroll (0.1 .. 20 S/Div)", "Лента (0.1 .. 20 S/Div)"},
    CaptionRow{"Menu_FFT_A1", "FFT A1", "БПФ A1", WithoutA2, "FFT", "БПФ"},
    CaptionRow{"Menu_FFT_A2", "FFT A2", "БПФ A2"},
    CaptionRow{"Menu_Colors", "Colors...", "Цвета..."},
    CaptionRow{"Menu_On_Top", "Always On Top", "Поверх других окон"},
    CaptionRow{"Menu_Russian", "Russian", "Русский"},
    CaptionRow{"Menu_English", "English", "English"},
    CaptionRow{"Menu_Compact", "Compact View", "Компактный вид"},
    CaptionRow{"Menu_Help", "Help", "Справка"},
    CaptionRow{"Menu_Help_Contents", "Contents", "Вызов справки"},
    CaptionRow{"Menu_About", "About...", "О программе..."},
    // The Russian pass keeps it: the way back to English stays readable.
    CaptionRow{"Menu_Language", "Language", ""},

    // Time base; the decimal comma is part of the design captions.
    CaptionRow{"SpeedButton_20S", "20S", "20S"},
    CaptionRow{"SpeedButton_10S", "10S", "10S"},
    CaptionRow{"SpeedButton_5S", "5S", "5S"},
    CaptionRow{"SpeedButton_2S", "2S", "2S"},
    CaptionRow{"SpeedButton_1S", "1S", "1S"},
    CaptionRow{"SpeedButton_500mS", "0,5S", "0,5S"},
    CaptionRow{"SpeedButton_200mS", "0,2S", "0,2S"},
    CaptionRow{"SpeedButton_100mS", "0,1S", "0,1S"},
    CaptionRow{"SpeedButton_50mS", "50mS", "50mS"},
    CaptionRow{"SpeedButton_20mS", "20mS", "20mS"},
    CaptionRow{"SpeedButton_10mS", "10mS", "10mS"},
    CaptionRow{"SpeedButton_5mS", "5mS", "5mS"},
    CaptionRow{"SpeedButton_2mS", "2mS", "2mS"},
    CaptionRow{"SpeedButton_1mS", "1mS", "1mS"},
    CaptionRow{"SpeedButton_05mS", "0,5mS", "0,5mS"},
    CaptionRow{"SpeedButton_02mS", "0,2mS", "0,2mS"},
    CaptionRow{"SpeedButton_01mS", "0,1mS", "0,1mS"},
    CaptionRow{"SpeedButton_50uS", "50uS", "50uS"},
    CaptionRow{"SpeedButton_20uS", "20uS", "20uS"},
    CaptionRow{"SpeedButton_10uS", "10uS", "10uS"},
    CaptionRow{"SpeedButton_5uS", "5uS", "5uS"},
    CaptionRow{"SpeedButton_2uS", "2uS", "2uS"},
    CaptionRow{"SpeedButton_1uS", "1uS", "1uS"},
    CaptionRow{"SpeedButton_05uS", "0,5uS", "0,5uS"},
    CaptionRow{"SpeedButton_02uS", "0,2uS", "0,2uS"},
    CaptionRow{"SpeedButton_01uS", "0,1uS", "0,1uS"},
    CaptionRow{"SpeedButton_50nS", "50nS", "50nS"},

    // Trigger buttons whose captions never change.
    CaptionRow{"SpeedButton_TrigA2", "A2", "A2"},
    CaptionRow{"SpeedButton_TrigD2", "D2", "D2"},
    CaptionRow{"SpeedButton_TPLUS", "T+", "T+"},

    // Menu items named by model or number.
    CaptionRow{"Menu_4001A", "QX4001A", "QX4001A"},
    CaptionRow{"Menu_4002", "QX4002", "QX4002"},
    CaptionRow{"Menu_4003", "QX4003", "QX4003"},
    CaptionRow{"Menu_A1_x1", "x1", "x1"},
    CaptionRow{"Menu_A1_x10", "x10", "x10"},
    CaptionRow{"Menu_A1_x100", "x100", "x100"},
    CaptionRow{"Menu_A2_x1", "x1", "x1"},
    CaptionRow{"Menu_A2_x10", "x10", "x10"},
    CaptionRow{"Menu_A2_x100", "x100", "x100"},
    CaptionRow{"Menu_Smpl_2000", "2000", "2000"},
    CaptionRow{"Menu_Smpl_5000", "5000", "5000"},
    CaptionRow{"Menu_Smpl_10000", "10000", "10000"},
    CaptionRow{"Menu_10_Div", "10", "10"},
    CaptionRow{"Menu_20_Div", "20", "20"},
    CaptionRow{"Menu_50_Div", "50", "50"},
    CaptionRow{"Menu_100_Div", "100", "100"},
    CaptionRow{"Menu_200_Div", "200", "200"},
    CaptionRow{"Menu_FPS_8", "8", "8"},
    CaptionRow{"Menu_FPS_15", "15", "15"},
    CaptionRow{"Menu_FPS_25", "25", "25"},
    CaptionRow{"Menu_FPS_40", "40", "40"},
};

bool UsesShortForm(CaptionShortForm form, std::int32_t deviceTypeCode) {
    switch (form) {
        case WithoutA2:
            return (deviceTypeCode & 1) == 0;
        case WithoutD2:
            return (deviceTypeCode & 2) == 0;
        case Never:
            break;
    }
    return false;
}

}  // namespace

std::span<const CaptionRow> MainWindowCaptions() {
    return kRows;
}

std::optional<std::string_view> CaptionOf(const CaptionRow& row, bool russian,
                                          std::int32_t deviceTypeCode) {
    const bool shortForm = UsesShortForm(row.shortForm, deviceTypeCode);
    const std::string_view text = russian ? (shortForm ? row.russianShort : row.russian)
                                          : (shortForm ? row.englishShort : row.english);
    if (text.empty()) return std::nullopt;
    return text;
}

std::optional<std::string_view> MainWindowCaption(std::string_view name, bool russian,
                                                  std::int32_t deviceTypeCode) {
    for (const CaptionRow& row : kRows)
        if (row.name == name) return CaptionOf(row, russian, deviceTypeCode);
    return std::nullopt;
}

}  // namespace qx40
