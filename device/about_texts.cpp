#include "device/about_texts.h"

#include <cstdio>

#include "base/program_version.h"
#include "base/user_dialogs.h"
#include "scope/value_tables.h"

namespace qx40 {
namespace {

// A reported version, d.dd like the program's own, or "..." while unknown.
std::string ReportedVersion(std::int32_t v) { return v == -1 ? "..." : ProgramVersionText(v); }

std::string SerialText(const DeviceFacts& facts) {
    char text[24];
    std::snprintf(text, sizeof text, "%04X - %08X", static_cast<unsigned>(facts.SerialNumberHi),
                  static_cast<unsigned>(facts.SerialNumber));
    return text;
}

}  // namespace

AboutTexts MakeAboutTexts(const DeviceFacts& facts, const LinkFlags& flags, const ScopeState& state) {
    const bool ru = state.Common.Russian;
    AboutTexts t;
    t.title = Tr(ru, "About", "О программе");
    t.productName = flags.DeviceInfoValid
                        ? Tr(ru, "QX40   Device - ", "QX40   Устройство - ") + ModelName(facts.DeviceTypeReported)
                        : "QX40";
    t.version = Tr(ru, "Software Version  ", "Версия программы  ") + ProgramVersionText();
    t.firmware = Tr(ru, "Firmware Version  ", "Версия ПО устройства  ") + ReportedVersion(facts.FirmwareVersion);
    t.fpga = Tr(ru, "FPGA Version  ", "Версия FPGA устройства  ") + ReportedVersion(facts.FpgaVersion);
    t.serial = Tr(ru, "Serial Number  ", "Серийный номер устройства  ") + (flags.StatusValid ? SerialText(facts) : "...");
    t.serialShown = state.System.Debug_qx;
    return t;
}

}  // namespace qx40
