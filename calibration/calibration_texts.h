// The texts of the three calibration windows and of qx40cli calibrate, in
// English and Russian: each window's captions as a table by objectName, the
// progress and result lines, the boxes before a calibration and the value
// read-outs.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/user_dialogs.h"
#include "calibration/tdc_calibration.h"
#include "scope/scope_state.h"

namespace qx40 {

// One control of a calibration window; the row named like the window
// itself is its title.
struct CalibrationCaption {
    std::string_view name;
    std::string_view english;
    std::string_view russian;
};

// Form_ZeroCalibrate, Form_TimeCalibrate and Form_TDCCalibrate: the title,
// the instruction in Label_Info and the buttons.
std::span<const CalibrationCaption> ZeroCalibrateCaptions();
std::span<const CalibrationCaption> TimeCalibrateCaptions();
std::span<const CalibrationCaption> TdcCalibrateCaptions();

// The progress and result lines of Label_Info.
std::string CalibratingText(bool russian);
std::string CalibrationOkText(bool russian);
std::string CalibrationFailedText(bool russian);

// Before a calibration: the instrument has not reported itself; it reported
// another model than the window shows, whose layout it then gets.
UserMessage DeviceNotFoundMessage(bool russian);
UserMessage ModelChangeMessage(std::int32_t reportedModelCode, bool russian);

// Label_D of the zero calibration: "A1P1 = ..." for A1, a second line for A2.
std::string ZeroCalibrationText(const CalibrateSection& calibration, bool twoChannels);

// Label_D of the TDC calibration: "Rise = 10/23 nS     Fall = 10/22 nS", a
// value not known as "...", one line per channel shown (1 or 2).
std::string TdcReadingText(const TdcReading& reading, int lines, bool russian);

// Label_PPM: "PPM = " and the correction Time x 0.2 ppm with 2 decimals.
std::string PpmText(std::int32_t time, char decimalSeparator);

}  // namespace qx40
