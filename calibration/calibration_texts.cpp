#include "calibration/calibration_texts.h"

#include <array>

#include "base/value_format.h"
#include "scope/value_tables.h"

namespace qx40 {
namespace {

constexpr std::array kZeroCaptions = {
    CalibrationCaption{"Form_ZeroCalibrate", "Zero Calibrate", "Калибровка уровня нуля"},
    CalibrationCaption{"Label_Info", "Disconnect anything from BNC's and press Start button.",
                       "Отключите всё от разъемов устройства."},
    CalibrationCaption{"Button_Start", "Start", "Старт"},
    CalibrationCaption{"Button_OK", "OK", "OK"},
    CalibrationCaption{"Button_Cancel", "Cancel", "Отмена"},
};

constexpr std::array kTimeCaptions = {
    CalibrationCaption{"Form_TimeCalibrate", "Freq. Meter Calibrate", "Калибровка частотомера"},
    CalibrationCaption{"Button_OK", "OK", "OK"},
    CalibrationCaption{"Button_Cancel", "Cancel", "Отмена"},
};

constexpr std::array kTdcCaptions = {
    CalibrationCaption{"Form_TDCCalibrate", "TDC Calibrate", "Калибровка TDC"},
    CalibrationCaption{"Label_Info", "Connect generator to D1, D2 chanels and press Start button.",
                       "Подключите каналы D1, D2 к выходу генератора."},
    CalibrationCaption{"Button_Start", "Start", "Старт"},
    CalibrationCaption{"Button_OK", "OK", "OK"},
    CalibrationCaption{"Button_Cancel", "Cancel", "Отмена"},
};

std::string TdcValue(const std::optional<std::int32_t>& v) {
    return v ? "10/" + std::to_string(*v) + " nS" : "...";
}

}  // namespace

std::span<const CalibrationCaption> ZeroCalibrateCaptions() { return kZeroCaptions; }
std::span<const CalibrationCaption> TimeCalibrateCaptions() { return kTimeCaptions; }
std::span<const CalibrationCaption> TdcCalibrateCaptions() { return kTdcCaptions; }

std::string CalibratingText(bool russian) { return Tr(russian, "Calibration, please wait...", "Идет калибровка ..."); }
std::string CalibrationOkText(bool russian) { return Tr(russian, "Calibration OK.", "Калибровка закончена."); }
std::string CalibrationFailedText(bool russian) { return Tr(russian, "Calibration failed.", "Ошибка калибровки."); }

UserMessage DeviceNotFoundMessage(bool russian) {
    return {Tr(russian, "Calibrate Error", "Ошибка калибровки"), Tr(russian, "Device not found.", "Устройство не найдено."),
            MessageIcon::Error, MessageButtons::Ok};
}

UserMessage ModelChangeMessage(std::int32_t reportedModelCode, bool russian) {
    return {Tr(russian, "Warning", "Предупреждение"),
            Tr(russian, "Interface will be changed for ", "Интерфейс будет перестроен для ") +
                ModelName(reportedModelCode) + ". ",
            MessageIcon::Warning, MessageButtons::Ok};
}

std::string ZeroCalibrationText(const CalibrateSection& c, bool twoChannels) {
    const auto line = [](const char* channel, std::int32_t p1, std::int32_t p2, std::int32_t sh) {
        const std::string ch = channel;
        return ch + "P1 = " + std::to_string(p1) + "    " + ch + "P2 = " + std::to_string(p2) + "    " + ch +
               "SH = " + std::to_string(sh);
    };
    std::string text = line("A1", c.Z_A1P1, c.Z_A1P2, c.Z_A1SH) + "\r\n";
    if (twoChannels) text += line("A2", c.Z_A2P1, c.Z_A2P2, c.Z_A2SH);
    return text;
}

std::string TdcReadingText(const TdcReading& reading, int lines, bool russian) {
    const std::string rise = Tr(russian, "Rise = ", "Фронт = ");
    const std::string fall = Tr(russian, "     Fall = ", "     Срез = ");
    std::string text;
    for (std::size_t i = 0; i < static_cast<std::size_t>(lines) && i < 2; ++i) {
        if (i > 0) text += "\r\n";
        text += rise + TdcValue(reading[2 * i]) + fall + TdcValue(reading[2 * i + 1]);
    }
    return text;
}

std::string PpmText(std::int32_t time, char decimalSeparator) {
    return "PPM = " + FixedText(time * 0.2, 2, decimalSeparator);
}

}  // namespace qx40
