#include "files/data_file.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace qx40 {
namespace {

using testing_support::TempDir;

SampleRecord Record(std::int32_t points, std::int32_t channels, bool peak) {
    SampleRecord r;
    r.Info[fi::DeviceTypeCode] = 31;
    r.Info[fi::RingLength] = points;
    r.Info[fi::ValidPoints] = points;
    r.Info[fi::PreTrigger] = points / 10;
    r.Info[fi::Channels] = channels;
    r.Info[fi::PeakDetect] = peak ? 1 : 0;
    r.Info[fi::FrameCounter] = 1234;
    for (std::size_t c = 0; c < kChannelCount; ++c) {
        for (std::int32_t i = 0; i < points; ++i) {
            const auto at = static_cast<std::size_t>(i);
            const std::int32_t v = c >= kD1 ? i % 2 : (i * 7 + static_cast<std::int32_t>(c)) % 255;
            r.Min[c][at] = v;
            r.Max[c][at] = peak && c < kD1 ? std::min(v + 3, 254) : v;
        }
    }
    return r;
}

bool SameRecord(const SampleRecord& a, const SampleRecord& b) {
    return a.Info == b.Info && a.Min == b.Min && a.Max == b.Max;
}

class DataFileTest : public testing::Test {
protected:
    std::string Save(const SampleRecord& r, const std::string& name = "r.qxd") {
        std::string error;
        EXPECT_EQ(WriteDataFile(dir.File(name), r, error), DataFileError::None) << error;
        return dir.File(name);
    }
    TempDir dir;
};

TEST_F(DataFileTest, SizeFollowsChannelsAndPeakDetect) {
    struct Case {
        std::int32_t channels;
        bool peak;
        std::size_t bytesPerPoint;
    };
    for (const Case c : {Case{1 | 4, false, 2}, Case{1 | 4, true, 4}, Case{15, false, 4}, Case{2, true, 2}, Case{0, false, 0}}) {
        Save(Record(1000, c.channels, c.peak));
        EXPECT_EQ(dir.Read("r.qxd").size(), 174 + c.bytesPerPoint * 1000) << c.channels << c.peak;
    }
}

TEST_F(DataFileTest, RoundTripRestoresTheRecord) {
    for (const bool peak : {false, true}) {
        const SampleRecord original = Record(2500, 15, peak);
        Save(original);
        SampleRecord loaded;
        ASSERT_EQ(ReadDataFile(dir.File("r.qxd"), loaded), DataFileError::None);
        for (std::size_t c = 0; c < kChannelCount; ++c) {
            EXPECT_EQ(loaded.Min[c], original.Min[c]) << c;
            EXPECT_EQ(loaded.Max[c], original.Max[c]) << c;
        }
        EXPECT_EQ(loaded.Info[fi::FrameCounter], 1234);
        EXPECT_EQ(loaded.Info[fi::Reserved], -1);
        EXPECT_EQ(loaded.Info[fi::Reserved + 5], -1);
        EXPECT_EQ(loaded.Info[fi::Checksum], FrameInfoChecksum(loaded.Info));
    }
}

TEST_F(DataFileTest, PeakDetectStoresMinBeforeMax) {
    SampleRecord r = Record(2, 1, true);
    r.Min[kA1][0] = 10, r.Max[kA1][0] = 20, r.Min[kA1][1] = 30, r.Max[kA1][1] = 40;
    Save(r);
    EXPECT_EQ(dir.Read("r.qxd").substr(174), std::string("\x0a\x14\x1e\x28"));
}

TEST_F(DataFileTest, EmptySlotsSurviveAsEmpty) {
    SampleRecord r = Record(10, 1, false);
    r.Min[kA1][3] = r.Max[kA1][3] = kEmptySample;
    r.Min[kA1][4] = r.Max[kA1][4] = 255;  // not a code: stored as empty
    Save(r);
    SampleRecord loaded;
    ASSERT_EQ(ReadDataFile(dir.File("r.qxd"), loaded), DataFileError::None);
    EXPECT_EQ(loaded.Min[kA1][3], kEmptySample);
    EXPECT_EQ(loaded.Max[kA1][4], kEmptySample);
    EXPECT_EQ(loaded.Min[kA1][5], r.Min[kA1][5]);
}

TEST_F(DataFileTest, AnyFlippedByteOfFrameInfoFailsTheChecksum) {
    Save(Record(10, 1, false));
    const std::string good = dir.Read("r.qxd");
    for (std::size_t at = 10; at < 10 + 160; ++at) {
        std::string bad = good;
        bad[at] = static_cast<char>(bad[at] ^ 0x20);
        dir.Write("bad.qxd", bad);
        SampleRecord loaded;
        ASSERT_EQ(ReadDataFile(dir.File("bad.qxd"), loaded), DataFileError::CrcError) << at;
    }
}

// The record on screen may be an unsaved capture: a file that is refused
// must not cost a single slot of it.
TEST_F(DataFileTest, RefusedFileLeavesTheRecordAsItWas) {
    SampleRecord tooLong = Record(10, 1, false);
    tooLong.Info[fi::ValidPoints] = tooLong.Info[fi::RingLength] = 50000;
    Save(tooLong, "long.qxd");
    SampleRecord negative = Record(10, 1, false);
    negative.Info[fi::PreTrigger] = -1;
    Save(negative, "negative.qxd");
    Save(Record(10, 1, false), "good.qxd");
    std::string crc = dir.Read("good.qxd");
    crc[10 + 4 * fi::Divider] ^= 1;
    dir.Write("crc.qxd", crc);
    dir.Write("cut.qxd", dir.Read("good.qxd").substr(0, 100));  // ends inside FrameInfo

    struct Case {
        const char* file;
        std::string content;  // written unless empty
        DataFileError error;
    };
    const Case cases[] = {
        {"old.qxd", std::string("QXD:\0rest", 9), DataFileError::OldVersion},
        {"other.qxd", "QXD_QX41:", DataFileError::InvalidFormat},
        {"nul.qxd", std::string("QXD_QX40:\1", 10), DataFileError::InvalidFormat},
        {"crc.qxd", "", DataFileError::CrcError},
        {"cut.qxd", "", DataFileError::CrcError},
        {"long.qxd", "", DataFileError::InvalidFormat},
        {"negative.qxd", "", DataFileError::InvalidFormat},
        {"missing.qxd", "", DataFileError::NotFound},
    };
    dir.Write("empty.qxd", "");
    const SampleRecord shown = Record(3000, 15, true);
    for (const Case& c : cases) {
        if (!c.content.empty()) dir.Write(c.file, c.content);
        SampleRecord loaded = shown;
        EXPECT_EQ(ReadDataFile(dir.File(c.file), loaded), c.error) << c.file;
        EXPECT_TRUE(SameRecord(loaded, shown)) << c.file;
    }
    SampleRecord loaded = shown;
    EXPECT_EQ(ReadDataFile(dir.File("empty.qxd"), loaded), DataFileError::InvalidFormat);
    EXPECT_TRUE(SameRecord(loaded, shown));
}

TEST_F(DataFileTest, SavingLeavesTheRecordAsItWas) {
    SampleRecord r = Record(500, 1 | 2, false);
    for (std::size_t i = fi::Reserved; i < fi::FrameCounter; ++i) r.Info[i] = 7;
    r.Info[fi::Checksum] = 99;
    const SampleRecord before = r;
    Save(r);
    EXPECT_TRUE(SameRecord(r, before));

    // The file carries the reserved words as -1 and their checksum.
    SampleRecord loaded;
    ASSERT_EQ(ReadDataFile(dir.File("r.qxd"), loaded), DataFileError::None);
    FrameInfo expected = before.Info;
    for (std::size_t i = fi::Reserved; i < fi::FrameCounter; ++i) expected[i] = -1;
    expected[fi::Checksum] = FrameInfoChecksum(expected);
    EXPECT_EQ(loaded.Info, expected);
    EXPECT_EQ(loaded.Min[kA2], before.Min[kA2]);
}

TEST_F(DataFileTest, GoodFileReplacesTheWholeRecord) {
    Save(Record(100, 1, false));
    SampleRecord loaded = Record(3000, 15, true);
    ASSERT_EQ(ReadDataFile(dir.File("r.qxd"), loaded), DataFileError::None);
    EXPECT_EQ(loaded.Info[fi::ValidPoints], 100);
    EXPECT_EQ(loaded.Min[kA1][100], kEmptySample);  // beyond the file's points
    EXPECT_EQ(loaded.Min[kA2][0], kEmptySample);    // a channel the file does not hold
    EXPECT_EQ(loaded.Max[kD1][5], kEmptySample);
}

TEST_F(DataFileTest, FileEndingEarlyLoadsWhatIsThere) {
    Save(Record(100, 1 | 2, false));
    dir.Write("short.qxd", dir.Read("r.qxd").substr(0, 174 + 150));
    SampleRecord loaded;
    ASSERT_EQ(ReadDataFile(dir.File("short.qxd"), loaded), DataFileError::None);
    EXPECT_NE(loaded.Min[kA2][49], kEmptySample);
    EXPECT_EQ(loaded.Min[kA2][50], kEmptySample);
}

TEST_F(DataFileTest, UnwritablePlace) {
    SampleRecord r = Record(10, 1, false);
    std::string error;
    EXPECT_EQ(WriteDataFile(dir.File("none/r.qxd"), r, error), DataFileError::CantWrite);
    EXPECT_FALSE(error.empty());
}

TEST(DataFileMessage, BothLanguages) {
    EXPECT_EQ(DataFileMessage(DataFileError::CrcError, "a.qxd", false).text, "a.qxd\r\nInvalid file format. (CRC error)");
    EXPECT_EQ(DataFileMessage(DataFileError::CrcError, "a.qxd", true).text, "a.qxd\r\nОшибка CRC файла.");
    EXPECT_EQ(DataFileMessage(DataFileError::NotFound, "a.qxd", false).caption, "Open");
    EXPECT_EQ(DataFileMessage(DataFileError::CantWrite, "a.qxd", true).caption, "Сохранение файла данных");
    EXPECT_EQ(DataFileMessage(DataFileError::OldVersion, "a.qxd", false).text, "a.qxd\r\nUse software version 1.xx to open.");
}

}  // namespace
}  // namespace qx40
