// qx40cli export as a script runs it: the options, the writers it shares
// with the window, its exit codes.
#include "app/cli/export_command.h"

#include <gtest/gtest.h>

#include <QImage>
#include <sstream>

#include "app/cli/cli_exit.h"
#include "app/cli/file_screen.h"
#include "app/cli/screenshot_command.h"
#include "files/data_file.h"
#include "files/text_export.h"
#include "temp_dir.h"

namespace qx40 {
namespace {

using testing_support::TempDir;

class ExportCommand : public testing::Test {
protected:
    // A QX4001A record (no A2, no D2) of A1 and D1.
    std::string SaveRecord(std::int32_t points = 100, const std::string& name = "rec.qxd") {
        SampleRecord r;
        r.Info[fi::DeviceTypeCode] = 28;
        r.Info[fi::Divider] = 200;
        r.Info[fi::VoltsDivA1] = 1000000;
        r.Info[fi::ZeroA1] = 128;
        r.Info[fi::RingLength] = r.Info[fi::ValidPoints] = points;
        r.Info[fi::Channels] = 1 | 4;
        for (std::int32_t i = 0; i < points; ++i) {
            r.Min[kA1][static_cast<std::size_t>(i)] = r.Max[kA1][static_cast<std::size_t>(i)] =
                100 + i % 50;
            r.Min[kD1][static_cast<std::size_t>(i)] = r.Max[kD1][static_cast<std::size_t>(i)] =
                i % 2;
        }
        std::string error;
        EXPECT_EQ(WriteDataFile(dir.File(name), r, error), DataFileError::None) << error;
        return dir.File(name);
    }
    int Run(const std::vector<std::string>& args) {
        err.str("");
        ExportOptions options;
        const int parsed = ParseExportOptions(args, options, err);
        return parsed != kExitOk ? parsed : RunExport(options, err);
    }
    int Lines() const {
        const std::string s = err.str();
        return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
    }

    TempDir dir;
    std::ostringstream err;
};

TEST_F(ExportCommand, WritesWhatTheWindowWrites) {
    const std::string input = SaveRecord();
    ASSERT_EQ(Run({"--input", input, "--format", "text", "--output", dir.File("t.txt")}), kExitOk)
        << err.str();
    SampleRecord record;
    ASSERT_EQ(ReadDataFile(input, record), DataFileError::None);
    EXPECT_EQ(dir.Read("t.txt"), TextExportContent(record, 28, '.')) << "named by the file's model";
    EXPECT_NE(dir.Read("t.txt").find("\r\nN\tA\tD\r\n"), std::string::npos);

    ASSERT_EQ(Run({"--input", input, "--format", "csv", "--output", dir.File("t.csv")}), kExitOk)
        << err.str();
    EXPECT_EQ(dir.Read("t.csv").substr(0, 26), "time_s,A1_V,D1\n0,-0.875,0\n");
}

TEST_F(ExportCommand, RawExportReplacesTheCompanion) {
    const std::string input = SaveRecord(100);
    dir.Write("d.txt", "old");
    ASSERT_EQ(Run({"--input", input, "--format", "bin:D1", "--output", dir.File("d.bin")}), kExitOk)
        << err.str();
    EXPECT_EQ(dir.Read("d.bin").size(), 100u);
    EXPECT_EQ(dir.Read("d.txt"),
              "Oscilloscope binary file = d.bin\r\nTime step = 2.000 uS\r\nPeak detector off, "
              "bytes per sample = 1\r\n");
}

TEST_F(ExportCommand, PicturesAsScreenshotDrawsThem) {
    const std::string input = SaveRecord(5000);
    ASSERT_EQ(Run({"--input", input, "--format", "png", "--output", dir.File("e.png")}), kExitOk)
        << err.str();
    const QImage exported(QString::fromStdString(dir.File("e.png")), "PNG");
    EXPECT_EQ(exported.size(), QSize(1280, 720));

    ASSERT_EQ(Run({"--input", input, "--format", "bmp", "--size", "400x300", "--output",
                   dir.File("e.bmp")}),
              kExitOk);
    const QImage bmp(QString::fromStdString(dir.File("e.bmp")), "BMP");
    ScreenshotOptions shot;
    shot.inputPath = input;
    shot.width = 400;
    shot.height = 300;
    shot.outputPath = dir.File("s.png");
    ASSERT_EQ(RunScreenshot(shot, nullptr, {}, false, err), kExitOk) << err.str();
    const QImage screenshot(QString::fromStdString(shot.outputPath), "PNG");
    ASSERT_EQ(bmp.size(), screenshot.size());
    EXPECT_EQ(bmp.convertToFormat(QImage::Format_RGB32),
              screenshot.convertToFormat(QImage::Format_RGB32));
}

TEST_F(ExportCommand, ExitCodes) {
    const std::string input = SaveRecord();
    const std::string empty = SaveRecord(0, "empty.qxd");
    const std::string out = dir.File("o.txt");
    const std::string badSettings = dir.Write("bad.qxs", "[Common]\nGrid=0\n");
    struct Case {
        std::vector<std::string> args;
        int exit;
        const char* says;
    };
    const Case cases[] = {
        {{"--input", input, "--format", "tiff", "--output", out},
         kExitUsage,
         "--format needs one of text|bin:A1"},
        {{"--input", input, "--format", "text"}, kExitUsage, "--output"},
        {{"--format", "text", "--output", out}, kExitUsage, "--input"},
        {{"--input", input, "--format", "text", "--output", out, "--fast"},
         kExitUsage,
         "unknown option --fast"},
        {{"--input", input, "--format", "png", "--size", "10x10", "--output", out},
         kExitUsage,
         "--size"},
        {{"--input", input, "--format", "bmp", "--output", dir.File("o.png")},
         kExitUsage,
         "does not write"},
        {{"--input", input, "--format", "text", "--output"}, kExitUsage, "--output needs a value"},
        {{"--input", dir.File("none.qxd"), "--format", "text", "--output", out},
         kExitFile,
         "File not found."},
        {{"--input", input, "--settings", dir.File("none.qxs"), "--format", "text", "--output",
          out},
         kExitFile,
         "none.qxs: file not found"},
        {{"--input", input, "--settings", badSettings, "--format", "text", "--output", out},
         kExitUsage,
         "Invalid file format."},
        {{"--input", empty, "--format", "csv", "--output", out},
         kExitNoData,
         "No data for writing."},
        {{"--input", input, "--format", "bin:A2", "--output", out},
         kExitNoData,
         "No data for writing. (bin:A2)"},
        {{"--input", input, "--format", "text", "--output", dir.File("none/o.txt")},
         kExitFile,
         "none/o.txt: "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.args), c.exit) << c.says;
        EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
        EXPECT_EQ(Lines(), 1) << err.str();
    }
    EXPECT_FALSE(std::filesystem::exists(out)) << "no failure wrote the output";
}

TEST_F(ExportCommand, HelpListsEveryFormat) {
    const std::string help = ExportHelp();
    for (const char* word : {"--input", "--settings", "--format", "--size", "--output", "bin:D2",
                             "csv", "png", "6 no data for writing"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
}

TEST(ScreenshotExtension, PictureFormatFollowsTheName) {
    TempDir dir;
    SampleRecord r;
    r.Info[fi::DeviceTypeCode] = 31;
    std::string error;
    ASSERT_EQ(WriteDataFile(dir.File("r.qxd"), r, error), DataFileError::None);
    std::ostringstream err;
    ScreenshotOptions o;
    o.inputPath = dir.File("r.qxd");
    o.outputPath = dir.File("x.png");
    ASSERT_EQ(RunScreenshot(o, nullptr, {}, false, err), kExitOk) << err.str();
    EXPECT_EQ(dir.Read("x.png").substr(1, 3), "PNG");
    o.outputPath = dir.File("x.BMP");
    ASSERT_EQ(RunScreenshot(o, nullptr, {}, false, err), kExitOk) << err.str();
    EXPECT_EQ(dir.Read("x.BMP").substr(0, 2), "BM");
    o.outputPath = dir.File("x.jpg");
    EXPECT_EQ(RunScreenshot(o, nullptr, {}, false, err), kExitUsage);
    EXPECT_FALSE(std::filesystem::exists(o.outputPath));
    EXPECT_NE(err.str().find("writes .bmp or .png"), std::string::npos);
}

}  // namespace
}  // namespace qx40
