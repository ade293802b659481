#include "device/about_texts.h"

#include <gtest/gtest.h>

namespace qx40 {
namespace {

ScopeState StateIn(bool russian, bool debug = false) {
    ScopeState s;
    s.Common.Russian = russian;
    s.System.Debug_qx = debug;
    return s;
}

TEST(AboutTexts, BeforeTheInstrumentReportedItself) {
    const DeviceFacts facts;
    const LinkFlags flags;
    const AboutTexts en = MakeAboutTexts(facts, flags, StateIn(false));
    EXPECT_EQ(en.title, "About");
    EXPECT_EQ(en.productName, "QX40");
    EXPECT_EQ(en.version, "Software Version  2.08");
    EXPECT_EQ(en.firmware, "Firmware Version  ...");
    EXPECT_EQ(en.fpga, "FPGA Version  ...");
    EXPECT_EQ(en.serial, "Serial Number  ...");
    EXPECT_FALSE(en.serialShown);

    const AboutTexts ru = MakeAboutTexts(facts, flags, StateIn(true, true));
    EXPECT_EQ(ru.title, "О программе");
    EXPECT_EQ(ru.productName, "QX40");
    EXPECT_EQ(ru.version, "Версия программы  2.08");
    EXPECT_EQ(ru.firmware, "Версия ПО устройства  ...");
    EXPECT_EQ(ru.fpga, "Версия FPGA устройства  ...");
    EXPECT_EQ(ru.serial, "Серийный номер устройства  ...");
    EXPECT_TRUE(ru.serialShown);
}

TEST(AboutTexts, WhatTheInstrumentReported) {
    DeviceFacts facts;
    facts.FirmwareVersion = 15;
    facts.FpgaVersion = 300;
    facts.DeviceTypeReported = 28;
    facts.SerialNumberHi = 6699;
    facts.SerialNumber = 74565;
    LinkFlags flags;
    flags.DeviceInfoValid = true;
    flags.StatusValid = true;
    const AboutTexts en = MakeAboutTexts(facts, flags, StateIn(false, true));
    EXPECT_EQ(en.productName, "QX40   Device - QX4001A");
    EXPECT_EQ(en.firmware, "Firmware Version  0.15");
    EXPECT_EQ(en.fpga, "FPGA Version  3.00");
    EXPECT_EQ(en.serial, "Serial Number  1A2B - 00012345");

    const AboutTexts ru = MakeAboutTexts(facts, flags, StateIn(true));
    EXPECT_EQ(ru.productName, "QX40   Устройство - QX4001A");
    EXPECT_EQ(ru.serial, "Серийный номер устройства  1A2B - 00012345");

    // A status frame of an unconfigured FPGA gives versions and serial but
    // no model yet; an unknown model is named by its code.
    flags.DeviceInfoValid = false;
    EXPECT_EQ(MakeAboutTexts(facts, flags, StateIn(false)).productName, "QX40");
    flags.DeviceInfoValid = true;
    facts.DeviceTypeReported = 0x1F3;
    EXPECT_EQ(MakeAboutTexts(facts, flags, StateIn(false)).productName, "QX40   Device - QX40xx Type = 01F3");
    facts.SerialNumberHi = 0xFFFF;
    facts.SerialNumber = 0xFFFFFFFF;
    EXPECT_EQ(MakeAboutTexts(facts, flags, StateIn(false)).serial, "Serial Number  FFFF - FFFFFFFF");
}

}  // namespace
}  // namespace qx40
