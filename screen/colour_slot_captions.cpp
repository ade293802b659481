#include "screen/colour_slot_captions.h"

#include <array>

#include "scope/scope_state.h"

namespace qx40 {
namespace {

using S = ColourSlot;
using namespace feature;

constexpr std::array<ColourSlotRow, kColourSlotCount> kRows = {{
    {S::CH_A1, "Button_cl_A1", "Panel_cl_A1", "Signal A1", "Сигнал A1", kSecondAnalog, "Signal A", "Сигнал A"},
    {S::CH_A2, "Button_cl_A2", "Panel_cl_A2", "Signal A2", "Сигнал A2", 0, {}, {}, kSecondAnalog},
    {S::CH_D1, "Button_cl_D1", "Panel_cl_D1", "Signal D1", "Сигнал D1", kSecondDigital, "Signal D", "Сигнал D"},
    {S::CH_D2, "Button_cl_D2", "Panel_cl_D2", "Signal D2", "Сигнал D2", 0, {}, {}, kSecondDigital},
    {S::Background, "Button_clBackground", "Panel_clBackground", "Background", "Фон сетки"},
    {S::Border, "Button_clBorder", "Panel_clBorder", "Border", "Фон полей"},
    {S::Markers, "Button_clMarkers", "Panel_clMarkers", "Markers", "Маркеры"},
    {S::Grid, "Button_clGrid", "Panel_clGrid", "Grid", "Сетка"},
    {S::Grid_Frame, "Button_clGrid_Frame", "Panel_clGrid_Frame", "Grid frame", "Рамка сетки"},
    {S::Trig_Pos, "Button_clTrig_Pos", "Panel_clTrig_Pos", "Trig. position", "Линия синхр."},
    {S::FFT, "Button_clFFT", "Panel_clFFT", "FFT", "БПФ"},
    {S::Extra_Info, "Button_Extra_Info", "Panel_clExtra_Info", "Extra info", "Доп. информ."},
}};

}  // namespace

std::span<const ColourSlotRow> ColourSlotRows() { return kRows; }

std::string_view ColourSlotCaption(const ColourSlotRow& row, bool russian, std::int32_t deviceTypeCode) {
    const bool shortForm = row.shortWithout != 0 && !HasFeature(deviceTypeCode, row.shortWithout);
    if (shortForm) return russian ? row.russianShort : row.englishShort;
    return russian ? row.russian : row.english;
}

bool ColourSlotShown(const ColourSlotRow& row, std::int32_t deviceTypeCode) {
    return row.shownWith == 0 || HasFeature(deviceTypeCode, row.shownWith);
}

}  // namespace qx40
