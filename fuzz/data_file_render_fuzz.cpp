// libFuzzer harness: any bytes as a data file, opened with the program's
// reader and drawn as `qx40cli screenshot --input` draws it, into a small
// image. The harness writes the right checksum into its copy of the input,
// so that mutated words get past the reader and reach the drawing
// (data_file_fuzz covers the checksum test itself). The reserved words 33
// and 34, which nothing else reads, choose the image size and the view:
//   byte 142: bits 0-1 size, 2-3 spectrum of A1 / A2 / both, 4-5 markers
//             (none, one, two, two and the extra information), 6-7 draw mode
//   byte 143: bit 0 the record as background too, 1 trigger-point flag,
//             2 extra information, 3 service texts, 4 generator sweep,
//             5 dBV as volts, 6-7 spectrum scale
//   byte 144: time base; byte 145: scroll position as a share of the record;
//   byte 146: spectrum window (low nibble) and size (high nibble).
// A file written by the program holds -1 there: every option on.
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/little_endian.h"
#include "device/apply_operations.h"
#include "device/shared_link.h"
#include "display/screen_renderer.h"
#include "files/data_file.h"
#include "files/settings_file.h"
#include "scope/model_features.h"

namespace {

constexpr std::size_t kInfoOffset = 10;  // after "QXD_QX40:" and its zero byte
constexpr std::size_t kHeaderBytes = kInfoOffset + 4 * qx40::fi::Count;

std::uint8_t Knob(const std::string& file, std::size_t at) {
    return static_cast<std::uint8_t>(file[kInfoOffset + 4 * qx40::fi::Reserved + at]);
}

void RepairChecksum(std::string& file) {
    auto* info = reinterpret_cast<std::uint8_t*>(&file[kInfoOffset]);
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < qx40::fi::Checksum; ++i)
        sum += static_cast<std::uint32_t>(qx40::GetLE<4>(info + 4 * i));
    qx40::PutLE<4>(info + 4 * qx40::fi::Checksum, sum);
}

// The program's defaults, as qx40cli starts from them.
const qx40::ScopeState& Defaults() {
    static const qx40::ScopeState state = [] {
        qx40::ScopeState s;
        qx40::ReadSettings("", qx40::SettingsKind::Program, s);
        s.Common.Russian = false;
        return s;
    }();
    return state;
}

constexpr std::array<std::array<int, 2>, 4> kSizes = {
    {{320, 240}, {333, 251}, {300, 200}, {512, 256}}};

struct View {
    std::size_t sizeIndex = 0;  // into kSizes
    bool background = false;
    std::int32_t scrollShare = 0;  // 0..255 of the valid points
};

View ChooseView(const std::string& file, qx40::ScopeState& s) {
    const std::uint8_t a = Knob(file, 0), b = Knob(file, 1), timebase = Knob(file, 2);
    const std::uint8_t scroll = Knob(file, 3), fft = Knob(file, 4);
    View v;
    v.sizeIndex = a & 3;
    s.FFT.View_A1 = a & 4;
    s.FFT.View_A2 = a & 8;
    const int markers = (a >> 4) & 3;
    s.Common.Markers_1 = markers == 1;
    s.Common.Markers_2 = markers >= 2;
    s.Common.DrawMode = static_cast<qx40::DrawMode>(std::min((a >> 6) & 3, 2));
    v.background = b & 1;
    s.View.BG_View = v.background;
    s.Common.Trig_PT = b & 2;
    s.Common.Extra_Info = (b & 4) || markers == 3;
    s.System.Debug_qx = b & 8;
    if (b & 16) s.Generator.Mode = qx40::GenMode::F_Sweep;
    s.FFT.dbv_v = b & 32;
    s.FFT.Scale = b >> 6;
    s.Scope.TimebaseIndex = static_cast<qx40::TimebaseIndex>(timebase % qx40::kTimebaseCount);
    s.FFT.Win = (fft & 15) % 9;
    s.FFT.Size = (fft >> 4) % 7;
    v.scrollShare = scroll;
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Text needs a QGuiApplication; the offscreen platform needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderBytes) return 0;  // the reader alone is data_file_fuzz's
    std::string file(reinterpret_cast<const char*>(data), size);
    RepairChecksum(file);

    static auto* record = new qx40::SampleRecord;  // 1.3 MB: kept between inputs
    static auto* background = new qx40::SampleRecord;
    if (qx40::ParseDataFile(file, *record) != qx40::DataFileError::None) return 0;

    qx40::ScopeModel model;
    model.state = Defaults();
    const View view = ChooseView(file, model.state);
    // The file's model, as qx40cli takes it.
    model.state.System.Device_Type_Code = record->Info[qx40::fi::DeviceTypeCode];
    qx40::ApplyModelFeatures(model.state);
    qx40::RecordLevels levels;
    qx40::SharedLink shared;
    qx40::ApplySettings(model, levels, shared);

    // The background is the record itself when asked for; otherwise an empty
    // one that is never written, so that it needs no clearing.
    static const auto* noBackground = new qx40::SampleRecord;
    if (view.background) {
        background->Info = record->Info;
        background->Min = record->Min;
        background->Max = record->Max;
    }
    qx40::ScreenInput in{model.state, model.derived, *record,
                         view.background ? *background : *noBackground};
    in.BackgroundLevels = levels;
    in.Geometry = qx40::ComputeScreenGeometry(kSizes[view.sizeIndex][0], kSizes[view.sizeIndex][1]);
    in.ScrollIndex = static_cast<std::int32_t>(std::int64_t{record->Info[qx40::fi::ValidPoints]} *
                                               view.scrollShare / 255);
    in.SpectrumNewData = true;
    // qx40cli draws with a fresh renderer. One kept between inputs draws the
    // same as long as no spectrum average carries over, and spares the
    // allocations that would otherwise take most of the time.
    in.SettingsChanged = true;
    static auto* renderer = new qx40::ScreenRenderer;
    // Every refresh repaints the whole image, so one per size serves every input.
    static auto* images = new std::array<QImage, kSizes.size()>;
    QImage& image = (*images)[view.sizeIndex];
    if (image.isNull())
        image = QImage(kSizes[view.sizeIndex][0], kSizes[view.sizeIndex][1], QImage::Format_RGB32);
    renderer->Render(in, image);
    return 0;
}
