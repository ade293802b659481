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
    CaptionRow{"Menu_CSV", "CSV...", "Таблица CSV..."},
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

// Tooltips. A channel is named by its short form on a model without the
// second channel of its kind, as the captions do.
constexpr std::string_view kTimebaseTip = "Time per division (the Left and Right keys step it)";
constexpr std::string_view kTimebaseTipRu = "Время на деление (клавиши «влево» и «вправо»)";
constexpr std::string_view kVoltsA1Tip =
    "Volts per division of channel A1 (the Up and Down keys step it)";
constexpr std::string_view kVoltsA1TipRu = "Вольт на деление канала A1 (клавиши «вверх» и «вниз»)";
constexpr std::string_view kVoltsA1TipShort =
    "Volts per division of channel A (the Up and Down keys step it)";
constexpr std::string_view kVoltsA1TipShortRu =
    "Вольт на деление канала A (клавиши «вверх» и «вниз»)";
constexpr std::string_view kVoltsA2Tip =
    "Volts per division of channel A2 (Shift with the Up and Down keys steps it)";
constexpr std::string_view kVoltsA2TipRu =
    "Вольт на деление канала A2 (Shift с клавишами «вверх» и «вниз»)";
constexpr std::string_view kRangeTip =
    "Frequency range of the generator; in pulse mode the range of the pulse times";
constexpr std::string_view kRangeTipRu =
    "Диапазон частоты генератора; в режиме импульсов — диапазон длительностей";

constexpr CaptionRow TimebaseTip(std::string_view name) {
    return {name, kTimebaseTip, kTimebaseTipRu};
}
constexpr CaptionRow VoltsA1Tip(std::string_view name) {
    return {name, kVoltsA1Tip, kVoltsA1TipRu, WithoutA2, kVoltsA1TipShort, kVoltsA1TipShortRu};
}
constexpr CaptionRow VoltsA2Tip(std::string_view name) {
    return {name, kVoltsA2Tip, kVoltsA2TipRu};
}
constexpr CaptionRow RangeTip(std::string_view name) {
    return {name, kRangeTip, kRangeTipRu};
}

constexpr std::array kTooltips = {
    CaptionRow{"SpeedButton_Run", "Acquire continuously; press again to stop (Space)",
               "Непрерывная развертка; повторное нажатие останавливает её (пробел)"},
    CaptionRow{"SpeedButton_Sngl", "Acquire one record, then stop (Enter)",
               "Однократная развертка: одна осциллограмма, затем остановка (Enter)"},
    TimebaseTip("SpeedButton_20S"),
    TimebaseTip("SpeedButton_10S"),
    TimebaseTip("SpeedButton_5S"),
    TimebaseTip("SpeedButton_2S"),
    TimebaseTip("SpeedButton_1S"),
    TimebaseTip("SpeedButton_500mS"),
    TimebaseTip("SpeedButton_200mS"),
    TimebaseTip("SpeedButton_100mS"),
    TimebaseTip("SpeedButton_50mS"),
    TimebaseTip("SpeedButton_20mS"),
    TimebaseTip("SpeedButton_10mS"),
    TimebaseTip("SpeedButton_5mS"),
    TimebaseTip("SpeedButton_2mS"),
    TimebaseTip("SpeedButton_1mS"),
    TimebaseTip("SpeedButton_05mS"),
    TimebaseTip("SpeedButton_02mS"),
    TimebaseTip("SpeedButton_01mS"),
    TimebaseTip("SpeedButton_50uS"),
    TimebaseTip("SpeedButton_20uS"),
    TimebaseTip("SpeedButton_10uS"),
    TimebaseTip("SpeedButton_5uS"),
    TimebaseTip("SpeedButton_2uS"),
    TimebaseTip("SpeedButton_1uS"),
    TimebaseTip("SpeedButton_05uS"),
    TimebaseTip("SpeedButton_02uS"),
    TimebaseTip("SpeedButton_01uS"),
    TimebaseTip("SpeedButton_50nS"),
    CaptionRow{"SpeedButton_VoltsDiv_A1",
               "Probe of channel A1: switches between x1 and x10 (x100 in the Options menu)",
               "Пробник канала A1: переключает x1 и x10 (x100 — в меню «Настройки»)", WithoutA2,
               "Probe of channel A: switches between x1 and x10 (x100 in the Options menu)",
               "Пробник канала A: переключает x1 и x10 (x100 — в меню «Настройки»)"},
    VoltsA1Tip("SpeedButton_2V_A1"),
    VoltsA1Tip("SpeedButton_1V_A1"),
    VoltsA1Tip("SpeedButton_05V_A1"),
    VoltsA1Tip("SpeedButton_02V_A1"),
    VoltsA1Tip("SpeedButton_100mV_A1"),
    VoltsA1Tip("SpeedButton_50mV_A1"),
    CaptionRow{"SpeedButton_ACDC_A1", "Input coupling of channel A1: AC when down, DC when up",
               "Вход канала A1: закрытый (AC), когда кнопка нажата, открытый (DC), когда отжата",
               WithoutA2, "Input coupling of channel A: AC when down, DC when up",
               "Вход канала A: закрытый (AC), когда кнопка нажата, открытый (DC), когда отжата"},
    CaptionRow{"SpeedButton_VoltsDiv_A2",
               "Probe of channel A2: switches between x1 and x10 (x100 in the Options menu)",
               "Пробник канала A2: переключает x1 и x10 (x100 — в меню «Настройки»)"},
    VoltsA2Tip("SpeedButton_2V_A2"),
    VoltsA2Tip("SpeedButton_1V_A2"),
    VoltsA2Tip("SpeedButton_05V_A2"),
    VoltsA2Tip("SpeedButton_02V_A2"),
    VoltsA2Tip("SpeedButton_100mV_A2"),
    VoltsA2Tip("SpeedButton_50mV_A2"),
    CaptionRow{"SpeedButton_ACDC_A2", "Input coupling of channel A2: AC when down, DC when up",
               "Вход канала A2: закрытый (AC), когда кнопка нажата, открытый (DC), когда отжата"},
    CaptionRow{"SpeedButton_Trig", "Trigger settings", "Настройки синхронизации"},
    CaptionRow{"SpeedButton_TrigA1", "Trigger on channel A1; press again for no trigger source",
               "Синхронизация по каналу A1; повторное нажатие отключает её", WithoutA2,
               "Trigger on channel A; press again for no trigger source",
               "Синхронизация по каналу A; повторное нажатие отключает её"},
    CaptionRow{"SpeedButton_TrigA2", "Trigger on channel A2; press again for no trigger source",
               "Синхронизация по каналу A2; повторное нажатие отключает её"},
    CaptionRow{"SpeedButton_TrigD1",
               "Trigger on digital channel D1; press again for no trigger source",
               "Синхронизация по цифровому каналу D1; повторное нажатие отключает её", WithoutD2,
               "Trigger on digital channel D; press again for no trigger source",
               "Синхронизация по цифровому каналу D; повторное нажатие отключает её"},
    CaptionRow{"SpeedButton_TrigD2",
               "Trigger on digital channel D2; press again for no trigger source",
               "Синхронизация по цифровому каналу D2; повторное нажатие отключает её"},
    CaptionRow{"SpeedButton_TrigEdge", "Trigger edge: rising when up, falling when down",
               "Фронт синхронизации: нарастающий, когда кнопка отжата, спадающий, когда нажата"},
    CaptionRow{"SpeedButton_Auto", "Automatic trigger: the screen runs on without a trigger event",
               "Автоматическая синхронизация: развертка идёт и без события синхронизации"},
    CaptionRow{"SpeedButton_TPLUS",
               "Extra trigger conditions of the trigger settings (pulse width, slew, levels)",
               "Дополнительные условия из настроек синхронизации (длительность импульса, скорость, "
               "уровни)"},
    CaptionRow{"SpeedButton_ret_trig", "Scroll back to the trigger point",
               "Вернуться к точке синхронизации"},
    CaptionRow{"ScrollBar_X_POS", "Part of the record on the screen", "Показываемая часть записи"},

    CaptionRow{"SpeedButton_GenOn", "Generator output on or off",
               "Включение и выключение выхода генератора"},
    CaptionRow{"SpeedButton_Sin", "Waveform: sine", "Форма сигнала: синус"},
    CaptionRow{"SpeedButton_Rect", "Waveform: square", "Форма сигнала: меандр"},
    CaptionRow{"SpeedButton_Trian", "Waveform: triangle", "Форма сигнала: треугольник"},
    CaptionRow{"SpeedButton_Up_Trian", "Waveform: rising ramp", "Форма сигнала: нарастающая пила"},
    CaptionRow{"SpeedButton_Dn_Trian", "Waveform: falling ramp", "Форма сигнала: спадающая пила"},
    RangeTip("SpeedButton_10K_1S"),
    RangeTip("SpeedButton_100K_100mS"),
    RangeTip("SpeedButton_1M_10mS"),
    RangeTip("SpeedButton_10M_1mS"),
    RangeTip("SpeedButton_50M_100uS"),
    CaptionRow{"SpeedButton__10uS_Noise",
               "Noise; in pulse mode the range of the shortest pulse times",
               "Шум; в режиме импульсов — диапазон самых коротких длительностей"},
    CaptionRow{"SpeedButton_Mod", "Modulation on or off (set up under Options, Generator Mod...)",
               "Модуляция (настраивается в меню «Настройки», «Модуляция генератора...»)"},
    CaptionRow{"SpeedButton_Pulse",
               "Pulses: the upper bar sets the width, the lower one the period",
               "Импульсы: верхний ползунок задаёт длительность, нижний — период"},
    CaptionRow{"SpeedButton_Sweep",
               "Frequency sweep: the upper bar sets the start, the lower one the stop",
               "Качание частоты: верхний ползунок задаёт начальную частоту, нижний — конечную"},
    CaptionRow{"ScrollBar_F_fast", "Frequency, coarse (sweep: start; pulses: width)",
               "Частота, грубо (ГКЧ: начальная; импульсы: длительность)"},
    CaptionRow{"ScrollBar_F_slow", "Frequency, fine (sweep: stop; pulses: period)",
               "Частота, точно (ГКЧ: конечная; импульсы: период)"},
    CaptionRow{"ScrollBar_Amplitude", "Output amplitude, larger towards the top",
               "Амплитуда выхода, больше к верху"},
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

std::span<const CaptionRow> MainWindowTooltips() {
    return kTooltips;
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
