#include "display/export_formats.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "display/picture_export.h"
#include "files/csv_export.h"
#include "files/raw_channel_export.h"
#include "files/text_export.h"

namespace qx40 {
namespace {

std::string ImageTitle(bool ru, std::int32_t) {
    return Tr(ru, "Save Image", "Сохранение рисунка");
}
std::string ImageFilter(bool ru) {
    return Tr(ru, "Bitmap File (*.bmp)|*.bmp|PNG Image (*.png)|*.png",
              "Рисунок (*.bmp)|*.bmp|Рисунок PNG (*.png)|*.png");
}
bool Always(const SampleRecord&) {
    return true;
}
template <PictureEncoding encoding>
ExportResult WritePictureFormat(const ExportJob& job, const ScreenPicture& screen) {
    return WritePicture(job.path, screen(), encoding);
}

std::string TextTitle(bool ru, std::int32_t) {
    return Tr(ru, "Save Text", "Сохранение текстового файла");
}
std::string TextFilter(bool ru) {
    return Tr(ru, "Text File (*.txt)|*.txt", "Текст (*.txt)|*.txt");
}
bool AnyChannel(const SampleRecord& r) {
    return HasExportData(r, 0xF);
}
ExportResult WriteText(const ExportJob& job, const ScreenPicture&) {
    return WriteTextExport(job);
}

template <Channel c>
std::string RawTitle(bool ru, std::int32_t model) {
    return RawChannelTitle(c, ru, model);
}
std::string RawFilter(bool ru) {
    return Tr(ru, "Binary File (*.bin)|*.bin", "Двоичный файл (*.bin)|*.bin");
}
template <Channel c>
bool HasChannel(const SampleRecord& r) {
    return HasExportData(r, 1 << c);
}
template <Channel c>
ExportResult WriteRaw(const ExportJob& job, const ScreenPicture&) {
    return WriteRawChannelExport(job, c);
}

std::string CsvTitle(bool ru, std::int32_t) {
    return Tr(ru, "Save CSV", "Сохранение файла CSV");
}
std::string CsvFilter(bool ru) {
    return Tr(ru, "CSV File (*.csv)|*.csv", "Файл CSV (*.csv)|*.csv");
}
ExportResult WriteCsv(const ExportJob& job, const ScreenPicture&) {
    return WriteCsvExport(job);
}

constexpr std::array<ExportFormat, 8> kFormats = {{
    {"text", "text table of every channel, raw codes", "txt", "Menu_Text", TextTitle, TextFilter,
     AnyChannel, WriteText},
    {"bin:A1", "raw bytes of A1, and beside them a .txt with the steps", "bin", "Menu_EBin_A1",
     RawTitle<kA1>, RawFilter, HasChannel<kA1>, WriteRaw<kA1>},
    {"bin:A2", "raw bytes of A2, and beside them a .txt with the steps", "bin", "Menu_EBin_A2",
     RawTitle<kA2>, RawFilter, HasChannel<kA2>, WriteRaw<kA2>},
    {"bin:D1", "raw bytes of D1, and beside them a .txt with the steps", "bin", "Menu_EBin_D1",
     RawTitle<kD1>, RawFilter, HasChannel<kD1>, WriteRaw<kD1>},
    {"bin:D2", "raw bytes of D2, and beside them a .txt with the steps", "bin", "Menu_EBin_D2",
     RawTitle<kD2>, RawFilter, HasChannel<kD2>, WriteRaw<kD2>},
    {"csv", "CSV in seconds and volts, for spreadsheets, pandas and numpy", "csv", "Menu_CSV",
     CsvTitle, CsvFilter, AnyChannel, WriteCsv},
    {"bmp", "the screen as a Windows bitmap", "bmp", "Menu_Image", ImageTitle, ImageFilter, Always,
     WritePictureFormat<PictureEncoding::Bmp>},
    {"png", "the screen as a PNG image", "png", "Menu_Image", ImageTitle, ImageFilter, Always,
     WritePictureFormat<PictureEncoding::Png>},
}};

}  // namespace

std::span<const ExportFormat> ExportFormats() {
    return kFormats;
}

const ExportFormat* FindExportFormat(std::string_view id) {
    for (const ExportFormat& f : kFormats)
        if (f.id == id) return &f;
    return nullptr;
}

const ExportFormat* ExportFormatFor(std::string_view menuItem, const std::string& path) {
    const ExportFormat* first = nullptr;
    const std::string extension = std::filesystem::path(path).extension().string();
    for (const ExportFormat& f : kFormats) {
        if (f.menuItem != menuItem) continue;
        if (!first) first = &f;
        if (extension.size() == f.extension.size() + 1 &&
            std::equal(f.extension.begin(), f.extension.end(), extension.begin() + 1,
                       [](char a, char b) {
                           return std::tolower(static_cast<unsigned char>(a)) ==
                                  std::tolower(static_cast<unsigned char>(b));
                       }))
            return &f;
    }
    return first;
}

FileRequest ExportFileRequest(const ExportFormat& format, bool russian, std::int32_t modelCode,
                              const std::string& folder, const std::string& recordFileName) {
    FileRequest request;
    request.save = true;
    request.title = format.title(russian, modelCode);
    request.folder = folder;
    request.filter = format.filter(russian);
    request.defaultExtension = format.extension;
    const std::string dotted = "." + std::string(format.extension);
    request.fileName =
        recordFileName.empty()
            ? "*" + dotted
            : std::filesystem::path(recordFileName).replace_extension(dotted).string();
    return request;
}

}  // namespace qx40
