// The text, raw and CSV exports against small hand-made records.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "files/csv_export.h"
#include "files/raw_channel_export.h"
#include "files/text_export.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

namespace qx40 {
namespace {

using testing_support::ScriptedDialogs;
using testing_support::TempDir;

constexpr std::int32_t kModelFull = 31;    // QX4003: A2 and D2
constexpr std::int32_t kModelSingle = 28;  // QX4001A: neither

// points valid points of the channels in mask; A1 counts up from 100, A2
// down from 200 (both repeating after 100 points), the digital channels
// alternate. With peak detect the
// maximum is the minimum + 5 (digital: 1).
SampleRecord Record(std::int32_t points, std::int32_t mask, bool peak) {
    SampleRecord r;
    r.Info[fi::DeviceTypeCode] = kModelFull;
    r.Info[fi::Divider] = 200;         // 2 uS
    r.Info[fi::VoltsDivA1] = 1000000;  // 1 V/div: 31.25 mV a code
    r.Info[fi::ZeroA1] = 128;
    r.Info[fi::VoltsDivA2] = 50000;  // 50 mV/div
    r.Info[fi::ZeroA2] = 64;
    r.Info[fi::RingLength] = r.Info[fi::ValidPoints] = points;
    r.Info[fi::PreTrigger] = 2;
    r.Info[fi::Channels] = mask;
    r.Info[fi::PeakDetect] = peak ? 1 : 0;
    for (std::int32_t i = 0; i < points; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const std::int32_t values[4] = {100 + i % 100, 200 - i % 100, i % 2, 1 - i % 2};
        for (std::size_t c = 0; c < kChannelCount; ++c) {
            r.Min[c][at] = values[c];
            r.Max[c][at] = !peak ? values[c] : c < kD1 ? values[c] + 5 : 1;
        }
    }
    return r;
}

std::vector<std::string> Lines(const std::string& text, const std::string& end = "\r\n") {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = text.find(end, at);
        EXPECT_NE(next, std::string::npos) << "a line without its end";
        if (next == std::string::npos) break;
        lines.push_back(text.substr(at, next - at));
        at = next + end.size();
    }
    return lines;
}

class ExportWriters : public testing::Test {
protected:
    ExportJob Job(const SampleRecord& r, const std::string& name, std::int32_t model = kModelFull) {
        return ExportJob{dir.File(name), r, dialogs, model};
    }
    TempDir dir;
    ScriptedDialogs dialogs;
};

// --- Text -------------------------------------------------------------------

TEST_F(ExportWriters, TextHeaderOnAModelWithBothChannels) {
    const SampleRecord r = Record(3, 1 | 2 | 4, false);
    const auto lines = Lines(TextExportContent(r, kModelFull, ','));
    const std::vector<std::string> head(lines.begin(), lines.begin() + 10);
    EXPECT_EQ(head, (std::vector<std::string>{"Oscilloscope data. ", "Time step = 2,000 uS",
                                              "Voltage step A1 = 31,25 mV", "Zero level A1 = 128",
                                              "Voltage step A2 = 1,563 mV", "Zero level A2 = 64",
                                              "", "N\tA1\tA2\tD1", "", "0\t100\t200\t0"}));
    EXPECT_EQ(lines.back(), "2\t102\t198\t0");
    EXPECT_EQ(lines.size(), 12u);
}

TEST_F(ExportWriters, TextOfAnA1RecordWithoutA2NamesNoChannel) {
    const SampleRecord r = Record(2, 1 | 4, false);
    const auto lines = Lines(TextExportContent(r, kModelSingle, '.'));
    EXPECT_EQ(lines[2], "Voltage step = 31.25 mV");
    EXPECT_EQ(lines[3], "Zero level = 128");
    EXPECT_EQ(lines[5], "N\tA\tD");
    EXPECT_EQ(lines[7], "0\t100\t0");
}

TEST_F(ExportWriters, TextPeakDetectPutsTwoTabsBetweenChannels) {
    const SampleRecord r = Record(2, 1 | 2, true);
    const auto lines = Lines(TextExportContent(r, kModelFull, '.'));
    EXPECT_EQ(lines[7], "N\tA1(min,max)\tA2(min,max)");
    EXPECT_EQ(lines[9], "0\t100, 105\t\t200, 205\t");
}

TEST_F(ExportWriters, TextWritesEmptySlotsAsTheEmptyValue) {
    SampleRecord r = Record(2, 1, false);
    r.Min[kA1][1] = kEmptySample;
    EXPECT_EQ(Lines(TextExportContent(r, kModelFull, '.')).back(), "1\t2147483647");
}

// --- Raw bytes ----------------------------------------------------------------

TEST_F(ExportWriters, RawSizesFollowPeakDetect) {
    struct Case {
        std::int32_t mask;
        bool peak;
        Channel channel;
        std::size_t size;
    };
    for (const Case c : {Case{1 | 4, false, kA1, 1000}, Case{1 | 4, false, kD1, 1000},
                         Case{1 | 4, true, kA1, 2000}, Case{15, true, kD2, 2000}}) {
        const SampleRecord r = Record(1000, c.mask, c.peak);
        ASSERT_EQ(WriteRawChannelExport(Job(r, "x.bin"), c.channel).status, ExportStatus::Written);
        EXPECT_EQ(dir.Read("x.bin").size(), c.size) << c.mask << c.peak << c.channel;
    }
}

TEST_F(ExportWriters, RawPeakDetectWritesMinBeforeMax) {
    const SampleRecord r = Record(2, 2, true);
    ASSERT_EQ(WriteRawChannelExport(Job(r, "x.bin"), kA2).status, ExportStatus::Written);
    EXPECT_EQ(dir.Read("x.bin"), std::string("\xc8\xcd\xc7\xcc"));
}

TEST_F(ExportWriters, RawStopsAtTheFirstEmptySlot) {
    for (const bool peak : {false, true}) {
        SampleRecord r = Record(10, 1, peak);
        r.Min[kA1][4] = kEmptySample;
        ASSERT_EQ(WriteRawChannelExport(Job(r, "x.bin"), kA1).status, ExportStatus::Written);
        EXPECT_EQ(dir.Read("x.bin").size(), peak ? 8u : 4u);
        // An empty maximum ends the file after its minimum.
        r.Min[kA1][4] = 7;
        r.Max[kA1][4] = kEmptySample;
        ASSERT_EQ(WriteRawChannelExport(Job(r, "x.bin"), kA1).status, ExportStatus::Written);
        EXPECT_EQ(dir.Read("x.bin").size(), peak ? 9u : 10u);
    }
}

TEST_F(ExportWriters, RawCompanionTexts) {
    const SampleRecord r = Record(4, 1 | 4, true);
    ASSERT_EQ(WriteRawChannelExport(Job(r, "a.bin"), kA1).status, ExportStatus::Written);
    EXPECT_EQ(dir.Read("a.txt"),
              "Oscilloscope binary file = a.bin\r\nTime step = 2.000 uS\r\n"
              "Peak detector on, bytes per sample = 2\r\nVoltage step = 31.25 mV\r\nZero level = "
              "128\r\n\r\n");
    ASSERT_EQ(WriteRawChannelExport(Job(Record(4, 4, false), "d.bin", kModelSingle), kD1).status,
              ExportStatus::Written);
    EXPECT_EQ(dir.Read("d.txt"),
              "Oscilloscope binary file = d.bin\r\nTime step = 2.000 uS\r\n"
              "Peak detector off, bytes per sample = 1\r\n");
    EXPECT_TRUE(dialogs.shown.empty()) << "no question while the companion is new";
}

TEST_F(ExportWriters, RawTitleNamesTheChannelByModel) {
    EXPECT_EQ(RawChannelTitle(kD1, false, kModelSingle), "Save Row Binary (CH D)");
    EXPECT_EQ(RawChannelTitle(kD1, false, kModelFull), "Save Row Binary (CH D1)");
    EXPECT_EQ(RawChannelTitle(kA1, true, 25), "Сохранение двоичного файла (канал A1)");
    EXPECT_EQ(RawChannelTitle(kD2, false, kModelSingle), "Save Row Binary (CH D2)");
}

TEST_F(ExportWriters, RawCompanionQuestion) {
    const SampleRecord r = Record(3, 1, false);
    dir.Write("x.txt", "mine");
    // Declined: the binary file is written, the old companion kept.
    ExportResult result = WriteRawChannelExport(Job(r, "x.bin"), kA1);
    EXPECT_EQ(result.status, ExportStatus::Written);
    EXPECT_EQ(dir.Read("x.bin").size(), 3u);
    EXPECT_EQ(dir.Read("x.txt"), "mine");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "Save Text For Row Binary");
    EXPECT_EQ(dialogs.shown[0].text,
              dir.File("x.txt") + "\r\nThe file already exists. Replace existing file?");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::YesNo);

    // In Russian, answered Yes: replaced.
    dialogs.answers = {MessageAnswer::Yes};
    ExportJob job = Job(r, "x.bin");
    job.russian = true;
    EXPECT_EQ(WriteRawChannelExport(job, kA1).status, ExportStatus::Written);
    EXPECT_EQ(dialogs.shown[1].caption, "Сохранение сопутствующего текстового файла");
    EXPECT_EQ(dialogs.shown[1].text, dir.File("x.txt") + " уже существует.\r\nЗаменить?");
    EXPECT_EQ(dir.Read("x.txt").substr(0, 32), "Oscilloscope binary file = x.bin");
}

TEST_F(ExportWriters, RawCompanionNeverReplacesTheBinaryItself) {
    const SampleRecord r = Record(3, 1, false);
    ASSERT_EQ(WriteRawChannelExport(Job(r, "x.txt"), kA1).status, ExportStatus::Written);
    EXPECT_EQ(dir.Read("x.txt").size(), 3u);
    EXPECT_EQ(dir.Read("x.txt.txt").substr(0, 32), "Oscilloscope binary file = x.txt");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ExportWriters, RawCompanionThatCannotBeWritten) {
    const SampleRecord r = Record(3, 1, false);
    std::filesystem::create_directory(dir.File("x.txt"));  // a folder where the companion would go
    dialogs.answers = {MessageAnswer::Yes};
    const ExportResult result = WriteRawChannelExport(Job(r, "x.bin"), kA1);
    EXPECT_EQ(result.status, ExportStatus::CantWrite);
    EXPECT_EQ(result.failedPath, dir.File("x.txt"));
    EXPECT_EQ(dir.Read("x.bin").size(), 3u) << "the binary file stays written";
    const auto box = ExportResultMessage(result, RawChannelTitle(kA1, false, kModelFull), false);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "Save Text For Row Binary");
    EXPECT_EQ(box->text, dir.File("x.txt") + "\r\nCan't open file for writing.");
}

// --- CSV ----------------------------------------------------------------------

TEST_F(ExportWriters, CsvInSecondsAndVolts) {
    SampleRecord r = Record(4, 1 | 2 | 4 | 8, false);
    r.Min[kA2][3] = kEmptySample;
    r.Min[kD2][0] = kEmptySample;
    EXPECT_EQ(Lines(CsvExportContent(r), "\n"),
              (std::vector<std::string>{"time_s,A1_V,A2_V,D1,D2", "-0.000004,-0.875,0.2125,0,",
                                        "-0.000002,-0.84375,0.2109375,1,0",
                                        "0,-0.8125,0.209375,0,1", "0.000002,-0.78125,,1,0"}));
}

TEST_F(ExportWriters, CsvPeakDetectHasMinAndMaxColumns) {
    SampleRecord r = Record(1, 1 | 8, true);
    r.Info[fi::Divider] = 1;  // 10 ns
    r.Info[fi::PreTrigger] = 0;
    r.Info[fi::VoltsDivA1] = 10000;  // 10 mV/div: 0.3125 mV a code
    r.Max[kA1][0] = kEmptySample;
    EXPECT_EQ(CsvExportContent(r), "time_s,A1_V_min,A1_V_max,D2_min,D2_max\n0,-0.00875,,1,1\n");
}

TEST_F(ExportWriters, CsvTimeKeepsEveryTick) {
    SampleRecord r = Record(2, 4, false);
    r.Info[fi::Divider] = 1;
    r.Info[fi::PreTrigger] = 0;
    EXPECT_EQ(Lines(CsvExportContent(r), "\n")[2], "0.00000001,1");
}

TEST_F(ExportWriters, CsvOfADamagedRecordStaysANumber) {
    SampleRecord r = Record(1, 1, false);
    r.Info[fi::ZeroA1] = std::numeric_limits<std::int32_t>::min();
    r.Info[fi::VoltsDivA1] = std::numeric_limits<std::int32_t>::max();
    r.Info[fi::Divider] = std::numeric_limits<std::int32_t>::max();
    r.Info[fi::PreTrigger] = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(Lines(CsvExportContent(r), "\n")[1], "46116860162.79904256,144115194719.63342");
}

// --- Shared rules -----------------------------------------------------------------

TEST_F(ExportWriters, NoDataWritesNothing) {
    SampleRecord empty = Record(0, 15, false);
    SampleRecord noChannel = Record(10, 0, false);
    SampleRecord noD2 = Record(10, 1 | 2 | 4, false);
    for (const SampleRecord* r : {&empty, &noChannel}) {
        EXPECT_EQ(WriteTextExport(Job(*r, "t.txt")).status, ExportStatus::NoData);
        EXPECT_EQ(WriteCsvExport(Job(*r, "t.csv")).status, ExportStatus::NoData);
        EXPECT_EQ(WriteRawChannelExport(Job(*r, "t.bin"), kA1).status, ExportStatus::NoData);
    }
    EXPECT_EQ(WriteRawChannelExport(Job(noD2, "t.bin"), kD2).status, ExportStatus::NoData);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));

    const auto box = ExportResultMessage({ExportStatus::NoData}, "Save Text", false);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "Save Text");
    EXPECT_EQ(box->text, "No data for writing.");
    EXPECT_EQ(box->icon, MessageIcon::Error);
    EXPECT_EQ(ExportResultMessage({ExportStatus::NoData}, "x", true)->text,
              "Нет данных для записи.");
    EXPECT_FALSE(ExportResultMessage({ExportStatus::Written}, "x", false));
}

TEST_F(ExportWriters, AFailedWriteLeavesWhatIsOnDisk) {
    const SampleRecord r = Record(5, 1, false);
    // A folder in the way of the target: the rename over it fails.
    std::filesystem::create_directory(dir.File("taken.txt"));
    dir.Write("taken.txt/inside", "old");
    ExportJob job{dir.File("taken.txt"), r, dialogs};
    for (const ExportResult& result :
         {WriteTextExport(job), WriteCsvExport(job), WriteRawChannelExport(job, kA1)}) {
        EXPECT_EQ(result.status, ExportStatus::CantWrite);
        EXPECT_EQ(result.failedPath, job.path);
        EXPECT_FALSE(result.reason.empty());
    }
    EXPECT_EQ(dir.Read("taken.txt/inside"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1)
        << "no temporary file left";
    const auto box = ExportResultMessage(WriteTextExport(job), "Сохранение текстового файла", true);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "Сохранение текстового файла");
    EXPECT_EQ(box->text, job.path + "\r\nНет доступа к файлу.");
}

}  // namespace
}  // namespace qx40
