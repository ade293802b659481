// The service read-outs at the top of the grid: grid size, supply voltage,
// record length, the trigger's slew measurement and the link statistics.
#include <string>

#include "screen/readout_writer.h"

namespace qx40 {
namespace {

std::string Number(std::int64_t n) { return std::to_string(n); }

}  // namespace

void AppendDiagnosticLines(ReadoutWriter& w) {
    const ReadoutInput& in = w.In();
    const ScreenGeometry& g = in.Geometry;
    const FrameInfo& f = in.Main;
    const std::uint32_t colour = w.Colour(ColourSlot::Extra_Info);
    const std::int32_t top = g.Y0 + 1;

    w.AddDiagnostic(g.X0 + 3, top, colour, Number(g.W) + " x " + Number(g.H));

    const std::int32_t v = in.VccCentivolts;
    w.AddDiagnostic(w.Col(2), top, colour,
                    v < 0 ? std::string("Vcc = ...")
                          : "Vcc = " + Number(v / 100) + "." + Number((v / 10) % 10) + Number(v % 10) + " V");

    w.AddDiagnostic(w.Col(4), top, colour,
                    f[fi::PeakDetect] != 0 ? "Smpl = " + Number(2 * static_cast<std::int64_t>(f[fi::ValidPoints])) + " p.d."
                                           : "Smpl = " + Number(f[fi::ValidPoints]));

    const std::int32_t slew = f[fi::TrigEcho + 1];
    std::string slewText = "Slew ...";
    if (f[fi::TrigSource] == 1 || f[fi::TrigSource] == 2)
        slewText = (slew & 0xFF) == 255 ? "Slew >= 2550 nS" : "Slew = " + Number(static_cast<std::int64_t>(slew) * 10) + " nS";
    w.AddDiagnostic(w.Col(5) + 3, top, colour, std::move(slewText));

    const LinkCounters& k = in.Link;
    const std::int64_t dropped = k.FramesAccepted - k.FramesShown;
    if (!in.State.System.USB_VIEW) {
        w.AddDiagnostic(g.X0 + 3, g.Y0 + 17, colour,
                        "FPS / L / E  = " + Number(k.FramesShown) + " / " + Number(dropped) + " / " +
                            Number(k.ChecksumErrors));
        return;
    }
    const std::string lines[] = {
        "Отображенных осциллограм в сек = " + Number(k.FramesShown) + "  Отброшенных = " + Number(dropped),
        "Принятых основных пакетов в сек = " + Number(k.FramesAccepted),
        "Принятых служебных пакетов в сек = " + Number(k.StatusFrames),
        "Сбоев CRC пакетов (о и с) в сек = " + Number(k.ChecksumErrors),
        "Забранных данных у драйвера в сек = " + Number(k.BytesReceived) + " Bytes",
        "Утечка данных вне пакетов в сек = " + Number(k.LostBytes) + " Bytes",
        "Пиковая загрузка буфера драйвера  = " + Number(k.LargestQueue) + " Bytes",
    };
    std::int32_t y = g.Y0 + 30;
    for (const std::string& line : lines) {
        w.AddDiagnostic(g.X0 + 3, y, colour, line);
        y += 15;
    }
}

}  // namespace qx40
