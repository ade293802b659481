// The list of export formats that the window's Export menu and qx40cli
// export share, and the picture writers.
#include "display/export_formats.h"

#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "display/picture_export.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

namespace qx40 {
namespace {

using testing_support::ScriptedDialogs;
using testing_support::TempDir;

QImage Picture() {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    image.setPixel(3, 4, qRgb(255, 0, 0));
    return image;
}

TEST(ExportFormats, EveryFormatOnce) {
    std::set<std::string_view> ids;
    for (const ExportFormat& f : ExportFormats()) {
        EXPECT_TRUE(ids.insert(f.id).second) << f.id;
        EXPECT_FALSE(f.description.empty()) << f.id;
        EXPECT_EQ(FindExportFormat(f.id), &f);
    }
    EXPECT_EQ(ids, (std::set<std::string_view>{"text", "bin:A1", "bin:A2", "bin:D1", "bin:D2",
                                               "csv", "bmp", "png"}));
    EXPECT_EQ(FindExportFormat("jpeg"), nullptr);
}

TEST(ExportFormats, TheImageItemWritesPngOnlyForPngNames) {
    EXPECT_EQ(ExportFormatFor("Menu_Image", "/x/shot.png")->id, "png");
    EXPECT_EQ(ExportFormatFor("Menu_Image", "/x/shot.PNG")->id, "png");
    EXPECT_EQ(ExportFormatFor("Menu_Image", "/x/shot.bmp")->id, "bmp");
    EXPECT_EQ(ExportFormatFor("Menu_Image", "/x/shot")->id, "bmp");
    EXPECT_EQ(ExportFormatFor("Menu_EBin_D1", "/x/d.dat")->id, "bin:D1");
    EXPECT_EQ(ExportFormatFor("Menu_Nothing", "/x/d.dat"), nullptr);
}

TEST(ExportFormats, SaveDialogs) {
    struct Case {
        const char* id;
        bool russian;
        std::int32_t model;
        const char* recordName;
        FileRequest expected;
    };
    const Case cases[] = {
        {"bmp",
         false,
         31,
         "",
         {true, "Save Image", "/data", "Bitmap File (*.bmp)|*.bmp|PNG Image (*.png)|*.png", "bmp",
          "*.bmp"}},
        {"png",
         true,
         31,
         "run.qxd",
         {true, "Сохранение рисунка", "/data", "Рисунок (*.bmp)|*.bmp|Рисунок PNG (*.png)|*.png",
          "png", "run.png"}},
        {"text",
         false,
         31,
         "run.qxd",
         {true, "Save Text", "/data", "Text File (*.txt)|*.txt", "txt", "run.txt"}},
        {"text",
         true,
         31,
         "",
         {true, "Сохранение текстового файла", "/data", "Текст (*.txt)|*.txt", "txt", "*.txt"}},
        {"bin:D1",
         false,
         28,
         "",
         {true, "Save Row Binary (CH D)", "/data", "Binary File (*.bin)|*.bin", "bin", "*.bin"}},
        {"bin:A1",
         true,
         31,
         "a.b.qxd",
         {true, "Сохранение двоичного файла (канал A1)", "/data", "Двоичный файл (*.bin)|*.bin",
          "bin", "a.b.bin"}},
        {"csv",
         false,
         31,
         "",
         {true, "Save CSV", "/data", "CSV File (*.csv)|*.csv", "csv", "*.csv"}},
    };
    for (const Case& c : cases) {
        const FileRequest r =
            ExportFileRequest(*FindExportFormat(c.id), c.russian, c.model, "/data", c.recordName);
        EXPECT_TRUE(r.save) << c.id;
        EXPECT_EQ(r.title, c.expected.title) << c.id;
        EXPECT_EQ(r.folder, c.expected.folder) << c.id;
        EXPECT_EQ(r.filter, c.expected.filter) << c.id;
        EXPECT_EQ(r.defaultExtension, c.expected.defaultExtension) << c.id;
        EXPECT_EQ(r.fileName, c.expected.fileName) << c.id;
    }
}

TEST(ExportFormats, NoDataIsKnownBeforeTheDialog) {
    SampleRecord r;
    r.Info[fi::RingLength] = r.Info[fi::ValidPoints] = 10;
    r.Info[fi::Channels] = 1 | 4;
    for (const char* id : {"text", "csv", "bin:A1", "bin:D1", "bmp", "png"})
        EXPECT_TRUE(FindExportFormat(id)->hasData(r)) << id;
    for (const char* id : {"bin:A2", "bin:D2"})
        EXPECT_FALSE(FindExportFormat(id)->hasData(r)) << id;
    r.Info[fi::ValidPoints] = 0;
    EXPECT_FALSE(FindExportFormat("text")->hasData(r));
    EXPECT_TRUE(FindExportFormat("bmp")->hasData(r)) << "the screen is there without data";
}

TEST(PictureExport, EncodingFollowsTheName) {
    EXPECT_EQ(PictureEncodingOf("a.bmp"), PictureEncoding::Bmp);
    EXPECT_EQ(PictureEncodingOf("a.Png"), PictureEncoding::Png);
    EXPECT_EQ(PictureEncodingOf("a.jpg"), std::nullopt);
    EXPECT_EQ(PictureEncodingOf("png"), std::nullopt);
}

TEST(PictureExport, WritesTheScreenInTheFormatAsked) {
    TempDir dir;
    ScriptedDialogs dialogs;
    const SampleRecord record;
    int drawn = 0;
    const ScreenPicture screen = [&] {
        ++drawn;
        return Picture();
    };
    for (const char* id : {"bmp", "png"}) {
        const std::string path = dir.File(std::string("shot.") + id);
        const ExportResult result = FindExportFormat(id)->write({path, record, dialogs}, screen);
        ASSERT_EQ(result.status, ExportStatus::Written) << result.reason;
        const std::string bytes = dir.Read(std::string("shot.") + id);
        EXPECT_EQ(bytes.substr(0, 2) == "BM", std::string(id) == "bmp");
        EXPECT_EQ(bytes.substr(1, 3) == "PNG", std::string(id) == "png");
        const QImage read(QString::fromStdString(path));
        ASSERT_EQ(read.size(), QSize(64, 48));
        EXPECT_EQ(read.pixel(3, 4), qRgb(255, 0, 0));
        EXPECT_EQ(read.pixel(0, 0), qRgb(10, 200, 30));
    }
    EXPECT_EQ(drawn, 2);
    FindExportFormat("text")->write({dir.File("t.txt"), record, dialogs}, screen);
    EXPECT_EQ(drawn, 2) << "only pictures draw the screen";
}

TEST(PictureExport, AFailureLeavesTheOldFile) {
    TempDir dir;
    const std::string path = dir.Write("shot.png", "old");
    EXPECT_EQ(WritePicture(path, QImage(), PictureEncoding::Png).status, ExportStatus::CantWrite);
    EXPECT_EQ(dir.Read("shot.png"), "old");
    const ExportResult result =
        WritePicture(dir.File("none/shot.png"), Picture(), PictureEncoding::Png);
    EXPECT_EQ(result.status, ExportStatus::CantWrite);
    EXPECT_EQ(result.failedPath, dir.File("none/shot.png"));
    const auto box = ExportResultMessage(result, "Save Image", false);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, dir.File("none/shot.png") + "\r\nCan't open file for writing.");
}

}  // namespace
}  // namespace qx40
