// The read-outs of the calibration windows.
#include "calibration/calibration_texts.h"

#include <gtest/gtest.h>

namespace qx40 {
namespace {

TEST(CalibrationTexts, PpmOfTheTimeCorrection) {
    struct Case {
        std::int32_t time;
        char separator;
        const char* text;
    };
    for (const Case& c : {Case{250, '.', "PPM = 50.00"}, Case{-1, '.', "PPM = -0.20"}, Case{0, '.', "PPM = 0.00"},
                          Case{-250, ',', "PPM = -50,00"}, Case{3, '.', "PPM = 0.60"}})
        EXPECT_EQ(PpmText(c.time, c.separator), c.text) << c.time;
}

TEST(CalibrationTexts, TdcReadingShowsWhatIsKnown) {
    EXPECT_EQ(TdcReadingText({23, std::nullopt, std::nullopt, std::nullopt}, 1, false),
              "Rise = 10/23 nS     Fall = ...");
    EXPECT_EQ(TdcReadingText({23, 22, 25, std::nullopt}, 2, false),
              "Rise = 10/23 nS     Fall = 10/22 nS\r\nRise = 10/25 nS     Fall = ...");
    EXPECT_EQ(TdcReadingText({20, 19, 21, 18}, 1, true), "Фронт = 10/20 nS     Срез = 10/19 nS");
}

TEST(CalibrationTexts, ZeroCalibrationNumbers) {
    const CalibrateSection c{0, 3430, 690, 120, 3240, 680, -80};
    EXPECT_EQ(ZeroCalibrationText(c, false), "A1P1 = 3430    A1P2 = 690    A1SH = 120\r\n");
    EXPECT_EQ(ZeroCalibrationText(c, true),
              "A1P1 = 3430    A1P2 = 690    A1SH = 120\r\nA2P1 = 3240    A2P2 = 680    A2SH = -80");
}

}  // namespace
}  // namespace qx40
