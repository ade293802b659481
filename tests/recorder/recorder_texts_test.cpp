#include "recorder/recorder_texts.h"

#include <gtest/gtest.h>

namespace qx40 {
namespace {

FrameInfo Info(std::int32_t divider, bool peak) {
    FrameInfo info;
    info[fi::Divider] = divider;
    info[fi::PeakDetect] = peak ? 1 : 0;
    info[fi::VoltsDivA1] = 1000000;
    info[fi::ZeroA1] = 191;
    return info;
}

TEST(RecorderTexts, InformationBox) {
    const RecorderInfoLines en = RecorderInfo(Info(100000, false), false, '.');  // 1 ms a sample
    EXPECT_TRUE(en.ready);
    EXPECT_EQ(en.lines, (std::vector<std::string>{
                            "Sampling rate = 1.00 KHz", "Peak detector off, bytes per sample = 1",
                            "Write speed = 3.433228 MBytes/hour", "", "Time step = 1.000 mS",
                            "Voltage step = 31.25 mV", "Zero level = 191", ""}));
    const RecorderInfoLines ru = RecorderInfo(Info(100000, true), true, ',');
    EXPECT_EQ(ru.lines, (std::vector<std::string>{
                            "Частота дискретизации = 1,00 KHz",
                            "Пиковый детектор включен, байт на отсчет = 2",
                            "Скорость записи = 6,866455 МБайт/час", "", "Шаг по времени = 1,000 mS",
                            "Шаг по напряжению = 31,25 mV", "Уровень нуля = 191", ""}));
}

TEST(RecorderTexts, NotReadyWithoutASampleInterval) {
    const RecorderInfoLines info = RecorderInfo(Info(0, false), false, '.');
    EXPECT_FALSE(info.ready);
    EXPECT_EQ(info.lines, (std::vector<std::string>{"Not ready.", ""}));
    EXPECT_EQ(RecorderInfo(Info(0, false), true, '.').lines[0], "Не готов.");
}

TEST(RecorderTexts, SizeInDigitGroups) {
    struct Case {
        std::uint64_t count;
        const char* text;
    };
    for (const Case c :
         {Case{0, "0"}, Case{123, "123"}, Case{1234, "1 234"}, Case{123456, "123 456"},
          Case{1234567, "1 234 567"}, Case{1234567890, "1234 567 890"}})
        EXPECT_EQ(GroupedCount(c.count), c.text);
    EXPECT_EQ(RecorderSizeLabel(true, 1234567, 3725, false),
              "Size = 1 234 567 Bytes    Time = 0  01:02:05");
    EXPECT_EQ(RecorderSizeLabel(true, 123, 0, true), "Записано = 123 Байт    Время = 0  00:00:00");
    EXPECT_EQ(RecorderSizeLabel(false, 5, 5, false), "Size = ...");
    EXPECT_EQ(RecorderSizeLabel(false, 5, 5, true), "Записано = ...");
}

TEST(RecorderTexts, ElapsedTimeCountsWholeDays) {
    EXPECT_EQ(ElapsedText(25 * 3600 + 61), "1  01:01:01");
    EXPECT_EQ(ElapsedText(86399), "0  23:59:59");
    EXPECT_EQ(ElapsedText(-5), "0  00:00:00");
}

TEST(RecorderTexts, CompanionFile) {
    EXPECT_EQ(
        RecorderTextContent("/data/run.bin", {"Sampling rate = 10.0 Hz", "", "Start recording = x"},
                            1234567, 25 * 3600, false),
        "Oscilloscope recorder file = run.bin\r\n\r\nSampling rate = 10.0 Hz\r\n\r\nStart "
        "recording = x\r\n"
        "Size = 1234567 Bytes\r\nTime = 1  01:00:00\r\n");
    EXPECT_EQ(RecorderTextContent("run.bin", {}, 5, 0, true),
              "Файл самописца = run.bin\r\n\r\nЗаписано = 5 Байт\r\nВремя = 0  00:00:00\r\n");
}

}  // namespace
}  // namespace qx40
