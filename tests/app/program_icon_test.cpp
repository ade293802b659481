#include "app/program_icon.h"

#include <gtest/gtest.h>

namespace qx40 {
namespace {

// The drawings come from the build; a resource that was not linked in would
// leave the window without an icon.
TEST(ProgramIcon, CarriesEverySizeFromSmallToLarge) {
    const QIcon icon = ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (const int side : {16, 32, 48, 256}) EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    const QImage small = icon.pixmap(16, 16).toImage();
    EXPECT_EQ(small.size(), QSize(16, 16));
    EXPECT_NE(small.pixelColor(8, 8).alpha(), 0) << "the middle of the drawing is not empty";
}

}  // namespace
}  // namespace qx40
