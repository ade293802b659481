#include "files/csv_export.h"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <vector>

#include "files/file_io.h"

namespace qx40 {
namespace {

// scaled / 10^decimals as exact decimal text without trailing zeros.
void AppendDecimal(std::string& out, std::int64_t scaled, int decimals) {
    if (scaled < 0) out += '-';
    std::string digits = std::to_string(std::llabs(scaled));
    if (digits.size() <= static_cast<std::size_t>(decimals))
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    const std::size_t point = digits.size() - static_cast<std::size_t>(decimals);
    std::size_t end = digits.size();
    while (end > point && digits[end - 1] == '0') --end;
    out.append(digits, 0, point);
    if (end > point) {
        out += '.';
        out.append(digits, point, end - point);
    }
}

// Time in 10 ns ticks has 8 decimals in seconds. A code step is 1/32 of a
// division in microvolts, so volts have at most 11 decimals: with 10^-11 V
// units a value is (code - zero) * uV/div * 3125, exactly.
constexpr int kTimeDecimals = 8;
constexpr int kVoltDecimals = 11;
constexpr std::int64_t kVoltUnitsPerStep = 3125;

// (code - zero) * uV/div in 1/32 uV steps, as volts. Only a damaged record
// leaves the exact range; it is then written to double precision.
void AppendVolts(std::string& out, std::int64_t steps) {
    if (std::llabs(steps) <= std::numeric_limits<std::int64_t>::max() / kVoltUnitsPerStep) {
        AppendDecimal(out, steps * kVoltUnitsPerStep, kVoltDecimals);
        return;
    }
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(steps) / 32e6).ptr;
    out.append(buffer, end);
}

struct Column {
    std::size_t channel;
    bool max;
};

}  // namespace

std::string CsvExportContent(const SampleRecord& record) {
    const FrameInfo& info = record.Info;
    const bool peak = info[fi::PeakDetect] == 1;
    constexpr const char* kNames[] = {"A1_V", "A2_V", "D1", "D2"};

    std::vector<Column> columns;
    std::string out = "time_s";
    for (std::size_t c = 0; c < kChannelCount; ++c) {
        if (!(info[fi::Channels] & (1 << c))) continue;
        for (int half = 0; half < (peak ? 2 : 1); ++half) {
            const bool max = half == 1;
            columns.push_back({c, max});
            out += ',';
            out += kNames[c];
            if (peak) out += max ? "_max" : "_min";
        }
    }
    out += '\n';

    const std::int64_t zero[2] = {info[fi::ZeroA1], info[fi::ZeroA2]};
    const std::int64_t microVolts[2] = {info[fi::VoltsDivA1], info[fi::VoltsDivA2]};
    const std::int32_t count = ExportPointCount(record);
    for (std::int32_t i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        AppendDecimal(out,
                      (static_cast<std::int64_t>(i) - info[fi::PreTrigger]) * info[fi::Divider],
                      kTimeDecimals);
        for (const Column& col : columns) {
            out += ',';
            const std::int32_t v = (col.max ? record.Max : record.Min)[col.channel][at];
            if (col.channel <= kA2) {
                if (v >= 0 && v <= 254)
                    AppendVolts(out, (v - zero[col.channel]) * microVolts[col.channel]);
            } else if (v == 0 || v == 1) {
                out += static_cast<char>('0' + v);
            }
        }
        out += '\n';
    }
    return out;
}

ExportResult WriteCsvExport(const ExportJob& job) {
    if (!HasExportData(job.record, 0xF)) return {ExportStatus::NoData};
    ExportResult result;
    if (!WriteFileAtomically(job.path, CsvExportContent(job.record), result.reason)) {
        result.status = ExportStatus::CantWrite;
        result.failedPath = job.path;
    }
    return result;
}

}  // namespace qx40
