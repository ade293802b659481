#include "screen/colour_slot_captions.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace qx40 {
namespace {

const ColourSlotRow& Row(ColourSlot slot) { return ColourSlotRows()[static_cast<std::size_t>(slot)]; }

TEST(ColourSlotCaptions, OneRowPerSlotInSlotOrder) {
    ASSERT_EQ(ColourSlotRows().size(), kColourSlotCount);
    std::set<std::string_view> names;
    for (std::size_t i = 0; i < kColourSlotCount; ++i) {
        const ColourSlotRow& r = ColourSlotRows()[i];
        EXPECT_EQ(static_cast<std::size_t>(r.slot), i);
        EXPECT_TRUE(names.insert(r.button).second) << r.button;
        EXPECT_TRUE(names.insert(r.panel).second) << r.panel;
    }
    EXPECT_EQ(Row(ColourSlot::Extra_Info).button, "Button_Extra_Info");
    EXPECT_EQ(Row(ColourSlot::Extra_Info).panel, "Panel_clExtra_Info");
}

TEST(ColourSlotCaptions, ChannelRowsFollowTheModel) {
    struct Case {
        std::int32_t code;
        bool russian;
        ColourSlot slot;
        const char* caption;
        bool shown;
    };
    const Case cases[] = {
        {31, false, ColourSlot::CH_A1, "Signal A1", true},
        {31, false, ColourSlot::CH_A2, "Signal A2", true},
        {31, false, ColourSlot::CH_D1, "Signal D1", true},
        {31, true, ColourSlot::CH_D2, "Сигнал D2", true},
        {28, false, ColourSlot::CH_A1, "Signal A", true},
        {28, true, ColourSlot::CH_A1, "Сигнал A", true},
        {28, false, ColourSlot::CH_A2, "Signal A2", false},
        {28, false, ColourSlot::CH_D1, "Signal D", true},
        {28, true, ColourSlot::CH_D1, "Сигнал D", true},
        {28, false, ColourSlot::CH_D2, "Signal D2", false},
        {25, false, ColourSlot::CH_A1, "Signal A1", true},  // 25: A2 but no D2
        {25, false, ColourSlot::CH_D1, "Signal D", true},
        {25, false, ColourSlot::CH_D2, "Signal D2", false},
        {28, true, ColourSlot::Trig_Pos, "Линия синхр.", true},
        {28, false, ColourSlot::Extra_Info, "Extra info", true},
    };
    for (const Case& c : cases) {
        const ColourSlotRow& r = Row(c.slot);
        EXPECT_EQ(ColourSlotCaption(r, c.russian, c.code), c.caption) << c.code << " " << r.button;
        EXPECT_EQ(ColourSlotShown(r, c.code), c.shown) << c.code << " " << r.button;
    }
    int shownOn28 = 0;
    for (const ColourSlotRow& r : ColourSlotRows()) shownOn28 += ColourSlotShown(r, 28);
    EXPECT_EQ(shownOn28, 10);
}

}  // namespace
}  // namespace qx40
