// Shared by the read-out files: places texts on the read-out layout and
// formats their numbers with the user's decimal separator.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "screen/readouts.h"
#include "base/value_format.h"

namespace qx40 {

class ReadoutWriter {
public:
    ReadoutWriter(std::vector<ScreenText>& out, const ReadoutInput& in)
        : in_(in), layout_(MakeReadoutLayout(in.Geometry)), out_(out) {}

    const ReadoutInput& In() const { return in_; }
    const ReadoutLayout& Layout() const { return layout_; }
    std::int32_t Row(int r) const { return layout_.Row[r]; }
    std::int32_t Col(int c) const { return layout_.Col[c]; }
    std::uint32_t Colour(ColourSlot s) const { return in_.State.Colors[s]; }

    // Opaque text in the layout's font.
    void Add(std::int32_t x, std::int32_t y, std::uint32_t colour, std::string text) {
        out_.push_back({std::move(text), x, y, colour, layout_.Font, layout_.PixelHeight, false});
    }
    // The diagnostic style: "Arial" 10, transparent.
    void AddDiagnostic(std::int32_t x, std::int32_t y, std::uint32_t colour, std::string text) {
        out_.push_back({std::move(text), x, y, colour, FontName::Arial, 10, true});
    }
    std::string Value(double v, ValueKind kind, int digits) const {
        return FormatValue(v, kind, digits, in_.DecimalSeparator);
    }
    std::string Fixed(double v, int decimals) const { return FixedText(v, decimals, in_.DecimalSeparator); }

private:
    const ReadoutInput& in_;
    ReadoutLayout layout_;
    std::vector<ScreenText>& out_;
};

// The spectrum's replacements of the time-domain rows.
void AppendSpectrumTitleRow(ReadoutWriter& w);
void AppendSpectrumMarkerRow(ReadoutWriter& w);
void AppendSpectrumChannelRow(ReadoutWriter& w);
// The diagnostic lines at the top of the grid.
void AppendDiagnosticLines(ReadoutWriter& w);

}  // namespace qx40
