#include "recorder/recorder_texts.h"

#include <cstdio>

#include "base/user_dialogs.h"
#include "base/value_format.h"
#include "files/companion_file.h"

namespace qx40 {

RecorderInfoLines RecorderInfo(const FrameInfo& info, bool ru, char sep) {
    RecorderInfoLines out;
    const std::int32_t divider = info[fi::Divider];
    if (divider <= 0) {
        out.lines = {Tr(ru, "Not ready.", "Не готов."), ""};
        return out;
    }
    out.ready = true;
    const double rate = 1e8 / divider;
    const bool peak = info[fi::PeakDetect] != 0;
    out.lines.push_back(Tr(ru, "Sampling rate = ", "Частота дискретизации = ") +
                        FormatValue(rate, ValueKind::Frequency, -3, sep));
    out.lines.push_back(peak ? Tr(ru, "Peak detector on, bytes per sample = 2",
                                  "Пиковый детектор включен, байт на отсчет = 2")
                             : Tr(ru, "Peak detector off, bytes per sample = 1",
                                  "Пиковый детектор выключен, байт на отсчет = 1"));
    out.lines.push_back(Tr(ru, "Write speed = ", "Скорость записи = ") +
                        FixedText(rate * (peak ? 2 : 1) * 3600 / 1048576, 6, sep) +
                        Tr(ru, " MBytes/hour", " МБайт/час"));
    out.lines.push_back("");
    out.lines.push_back(Tr(ru, "Time step = ", "Шаг по времени = ") +
                        FormatValue(divider * 10.0, ValueKind::Time, -4, sep));
    out.lines.push_back(Tr(ru, "Voltage step = ", "Шаг по напряжению = ") +
                        FormatValue(info[fi::VoltsDivA1] / 32.0, ValueKind::Voltage, -4, sep));
    out.lines.push_back(Tr(ru, "Zero level = ", "Уровень нуля = ") +
                        std::to_string(info[fi::ZeroA1]));
    out.lines.push_back("");
    return out;
}

std::string GroupedCount(std::uint64_t count) {
    std::string digits = std::to_string(count);
    if (digits.size() > 6) digits.insert(digits.size() - 6, " ");
    if (digits.size() > 3) digits.insert(digits.size() - 3, " ");
    return digits;
}

std::string ElapsedText(std::int64_t seconds) {
    if (seconds < 0) seconds = 0;  // a clock set back during the recording
    const std::int64_t rest = seconds % 86400;
    char clock[16];
    std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", static_cast<int>(rest / 3600),
                  static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
    return std::to_string(seconds / 86400) + "  " + clock;
}

std::string RecorderSizeLabel(bool recorded, std::uint64_t bytes, std::int64_t seconds, bool ru) {
    if (!recorded) return Tr(ru, "Size = ...", "Записано = ...");
    return Tr(ru, "Size = ", "Записано = ") + GroupedCount(bytes) + Tr(ru, " Bytes", " Байт") +
           Tr(ru, "    Time = ", "    Время = ") + ElapsedText(seconds);
}

std::string RecorderCaption(bool ru) {
    return Tr(ru, "Recorder", "Самописец");
}

std::string RecorderRefusalText(bool ru) {
    return Tr(ru, "Run 0.1 .. 20 S/Div. Disable Trigger.",
              "Запустите развертку 0.1 .. 20 S/Div. Отключите синхронизацию.");
}

std::string RecorderTextContent(const std::string& dataPath,
                                const std::vector<std::string>& infoLines, std::uint64_t bytes,
                                std::int64_t seconds, bool ru) {
    std::string out = Tr(ru, "Oscilloscope recorder file = ", "Файл самописца = ") +
                      FileNameOf(dataPath) + "\r\n";
    out += "\r\n";
    for (const std::string& line : infoLines) out += line + "\r\n";
    out += Tr(ru, "Size = ", "Записано = ") + std::to_string(bytes) + Tr(ru, " Bytes", " Байт") +
           "\r\n";
    out += Tr(ru, "Time = ", "Время = ") + ElapsedText(seconds) + "\r\n";
    return out;
}

}  // namespace qx40
