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

class DataFileTest : public testing::Test {
protected:
    std::string Save(SampleRecord r, const std::string& name = "r.qxd") {
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
        SampleRecord loaded = Record(5, 1, false);
        ASSERT_EQ(ReadDataFile(dir.File("bad.qxd"), loaded), DataFileError::CrcError) << at;
        EXPECT_FALSE(loaded.HasData());
        EXPECT_EQ(loaded.Min[kA1][0], kEmptySample);
    }
}

TEST_F(DataFileTest, WrongMagicLeavesTheRecord) {
    struct Case {
        std::string content;
        DataFileError error;
    };
    for (const Case& c : {Case{std::string("QXD:\0rest", 9), DataFileError::OldVersion},
                          Case{"QXD_QX41:", DataFileError::InvalidFormat}, Case{"", DataFileError::InvalidFormat},
                          Case{std::string("QXD_QX40:\1", 10), DataFileError::InvalidFormat}}) {
        dir.Write("m.qxd", c.content);
        SampleRecord loaded = Record(5, 1, false);
        EXPECT_EQ(ReadDataFile(dir.File("m.qxd"), loaded), c.error);
        EXPECT_TRUE(loaded.HasData());
    }
    SampleRecord loaded;
    EXPECT_EQ(ReadDataFile(dir.File("missing.qxd"), loaded), DataFileError::NotFound);
}

TEST_F(DataFileTest, FileEndingEarlyLoadsWhatIsThere) {
    Save(Record(100, 1 | 2, false));
    dir.Write("short.qxd", dir.Read("r.qxd").substr(0, 174 + 150));
    SampleRecord loaded;
    ASSERT_EQ(ReadDataFile(dir.File("short.qxd"), loaded), DataFileError::None);
    EXPECT_NE(loaded.Min[kA2][49], kEmptySample);
    EXPECT_EQ(loaded.Min[kA2][50], kEmptySample);
    dir.Write("cut.qxd", dir.Read("r.qxd").substr(0, 100));  // inside FrameInfo
    EXPECT_EQ(ReadDataFile(dir.File("cut.qxd"), loaded), DataFileError::CrcError);
}

TEST_F(DataFileTest, ExtentBeyondTheBuffersIsRefused) {
    SampleRecord r = Record(10, 1, false);
    r.Info[fi::ValidPoints] = r.Info[fi::RingLength] = 50000;
    Save(r);
    SampleRecord loaded;
    EXPECT_EQ(ReadDataFile(dir.File("r.qxd"), loaded), DataFileError::InvalidFormat);
    EXPECT_FALSE(loaded.HasData());
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
