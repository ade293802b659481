// The captions and tooltips of the main window in English and Russian, by
// objectName.
// Some captions name a channel by its short form ("CH A" for "CH A1") on a
// model that lacks the second channel of that kind.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace qx40 {

// When a row switches to its short form.
enum class CaptionShortForm {
    Never,
    WithoutA2,  // Device_Type_Code bit 0 clear
    WithoutD2,  // Device_Type_Code bit 1 clear
};

// One control or menu item. Texts are UTF-8. An empty russian text means the
// Russian pass leaves the item as it is.
struct CaptionRow {
    std::string_view name;
    std::string_view english;
    std::string_view russian;
    CaptionShortForm shortForm = CaptionShortForm::Never;
    std::string_view englishShort = {};
    std::string_view russianShort = {};
};

// Every row of the main window, in the order they are applied.
std::span<const CaptionRow> MainWindowCaptions();

// The tooltip of every control of the panel, the generator strip and the
// screen's scroll bar: what the control does. Rows read like captions, short
// forms included.
std::span<const CaptionRow> MainWindowTooltips();

// The caption of one row for the language and model; nullopt when that pass
// leaves the item alone.
std::optional<std::string_view> CaptionOf(const CaptionRow& row, bool russian,
                                          std::int32_t deviceTypeCode);

// The caption of the named item for the language and model; nullopt when the
// name is not in the table or that pass leaves the item alone.
std::optional<std::string_view> MainWindowCaption(std::string_view name, bool russian,
                                                  std::int32_t deviceTypeCode);

}  // namespace qx40
