#include "files/data_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>

#include "base/little_endian.h"
#include "files/file_io.h"

namespace qx40 {
namespace {

constexpr char kMagic[10] = {'Q', 'X', 'D', '_', 'Q', 'X', '4', '0', ':', '\0'};
constexpr char kOldMagic[5] = {'Q', 'X', 'D', ':', '\0'};
constexpr std::size_t kInfoBytes = 4 * fi::Count;
constexpr std::size_t kHeaderBytes = sizeof kMagic + kInfoBytes;
constexpr std::uint8_t kEmptyByte = 255;

std::uint8_t SampleByte(std::int32_t v) { return v >= 0 && v <= 254 ? static_cast<std::uint8_t>(v) : kEmptyByte; }

// The words that index the buffers must fit them; no file this program
// writes can break that.
bool PlausibleExtent(const FrameInfo& info) {
    const auto inRange = [](std::int32_t v) { return v >= 0 && v <= static_cast<std::int32_t>(kRecordSlots); };
    return inRange(info[fi::RingLength]) && inRange(info[fi::PreTrigger]) && inRange(info[fi::ValidPoints]) &&
           inRange(info[fi::WritePos]) && info[fi::ValidPoints] <= info[fi::RingLength];
}

}  // namespace

std::int32_t FrameInfoChecksum(const FrameInfo& info) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < fi::Checksum; ++i) sum += static_cast<std::uint32_t>(info[i]);
    return static_cast<std::int32_t>(sum);
}

DataFileError WriteDataFile(const std::string& path, const SampleRecord& record,
                            std::string& error) {
    FrameInfo info = record.Info;  // the reserved words and the checksum belong to the file only
    for (std::size_t i = fi::Reserved; i < fi::FrameCounter; ++i) info[i] = -1;
    info[fi::Checksum] = FrameInfoChecksum(info);

    const std::int32_t points = std::clamp(info[fi::ValidPoints], 0, static_cast<std::int32_t>(kRecordSlots));
    const bool peak = info[fi::PeakDetect] == 1;
    std::string data(kMagic, sizeof kMagic);
    data.resize(kHeaderBytes);
    for (std::size_t i = 0; i < fi::Count; ++i)
        PutLE<4>(reinterpret_cast<std::uint8_t*>(&data[sizeof kMagic + 4 * i]), static_cast<std::uint32_t>(info[i]));
    for (std::size_t c = 0; c < kChannelCount; ++c) {
        if (!(info[fi::Channels] & (1 << c))) continue;
        for (std::int32_t i = 0; i < points; ++i) {
            const auto at = static_cast<std::size_t>(i);
            data.push_back(static_cast<char>(SampleByte(record.Min[c][at])));
            if (peak) data.push_back(static_cast<char>(SampleByte(record.Max[c][at])));
        }
    }
    return WriteFileAtomically(path, data, error) ? DataFileError::None : DataFileError::CantWrite;
}

DataFileError ReadDataFile(const std::string& path, SampleRecord& record) {
    std::string data;
    if (!ReadWholeFile(path, data)) return DataFileError::NotFound;
    return ParseDataFile(data, record);
}

DataFileError ParseDataFile(std::string_view data, SampleRecord& record) {
    if (data.size() < sizeof kMagic || std::memcmp(data.data(), kMagic, sizeof kMagic) != 0)
        return data.size() >= sizeof kOldMagic && std::memcmp(data.data(), kOldMagic, sizeof kOldMagic) == 0
                   ? DataFileError::OldVersion
                   : DataFileError::InvalidFormat;

    // Every check comes before the record is touched: a refused file leaves it as it was.
    // A file cut inside FrameInfo reads zeros there and fails the checksum.
    std::array<std::uint8_t, kInfoBytes> header{};
    const std::string_view stored = data.substr(sizeof kMagic, kInfoBytes);
    std::memcpy(header.data(), stored.data(), stored.size());
    FrameInfo info;
    for (std::size_t i = 0; i < fi::Count; ++i)
        info[i] = static_cast<std::int32_t>(static_cast<std::uint32_t>(GetLE<4>(&header[4 * i])));
    if (FrameInfoChecksum(info) != info[fi::Checksum]) return DataFileError::CrcError;
    if (!PlausibleExtent(info)) return DataFileError::InvalidFormat;

    record.Clear();
    record.Info = info;

    const bool peak = info[fi::PeakDetect] == 1;
    std::size_t at = kHeaderBytes;
    const auto next = [&](std::int32_t& slot) {
        if (at >= data.size()) return false;
        const auto b = static_cast<std::uint8_t>(data[at++]);
        slot = b == kEmptyByte ? kEmptySample : b;
        return true;
    };
    for (std::size_t c = 0; c < kChannelCount; ++c) {
        if (!(info[fi::Channels] & (1 << c))) continue;
        for (std::int32_t i = 0; i < info[fi::ValidPoints]; ++i) {
            const auto slot = static_cast<std::size_t>(i);
            if (!next(record.Min[c][slot])) return DataFileError::None;  // ended early: the rest stays empty
            if (peak) {
                if (!next(record.Max[c][slot])) return DataFileError::None;
            } else {
                record.Max[c][slot] = record.Min[c][slot];
            }
        }
    }
    return DataFileError::None;
}

MessageText DataFileMessage(DataFileError error, const std::string& path, bool russian) {
    MessageText m;
    const bool saving = error == DataFileError::CantWrite;
    m.caption = saving ? (russian ? "Сохранение файла данных" : "Save") : (russian ? "Открытие файла данных" : "Open");
    const char* reason = "";
    switch (error) {
        case DataFileError::NotFound: reason = russian ? "\r\nФайл не найден." : "\r\nFile not found."; break;
        case DataFileError::InvalidFormat: reason = russian ? "\r\nНеверный формат файла." : "\r\nInvalid file format."; break;
        case DataFileError::OldVersion:
            reason = russian ? "\r\nДля открытия используйте программу версии 1.xx." : "\r\nUse software version 1.xx to open.";
            break;
        case DataFileError::CrcError: reason = russian ? "\r\nОшибка CRC файла." : "\r\nInvalid file format. (CRC error)"; break;
        case DataFileError::CantWrite: reason = russian ? "\r\nНет доступа к файлу." : "\r\nCan't open file for writing."; break;
        case DataFileError::None: break;
    }
    m.text = path + reason;
    return m;
}

}  // namespace qx40
