#include "device/usb/instrument_access.h"

#include <gtest/gtest.h>

#include <vector>

namespace qx40 {
namespace {

using Access = InstrumentAccess;
using Kind = DeviceSpec::Kind;

constexpr const char* kQx40 = "Digital Oscilloscope QX40";

struct Case {
    const char* what;
    Kind requested;
    std::vector<ListedBridge> found;
    Kind kind;
    Access access;
};

TEST(DecideDevice, AnAttachedInstrumentIsUsedOrItsAccessReported) {
    for (const Case& c : {
             Case{"nothing attached", Kind::Auto, {}, Kind::Sim, Access::Granted},
             Case{"an openable instrument",
                  Kind::Auto,
                  {{kQx40, Access::Granted}},
                  Kind::Usb,
                  Access::Granted},
             Case{"no permission",
                  Kind::Auto,
                  {{kQx40, Access::NoPermission}},
                  Kind::Usb,
                  Access::NoPermission},
             Case{"held by another program",
                  Kind::Auto,
                  {{kQx40, Access::InUse}},
                  Kind::Usb,
                  Access::InUse},
             Case{"another bridge only, whatever its access",
                  Kind::Auto,
                  {{"FT232R USB UART", Access::NoPermission},
                   {"Digital Oscilloscope", Access::InUse}},
                  Kind::Sim,
                  Access::Granted},
             Case{"a bridge that could not be named",
                  Kind::Auto,
                  {{"", Access::NoPermission}},
                  Kind::Sim,
                  Access::Granted},
             Case{"one of two instruments opens",
                  Kind::Auto,
                  {{kQx40, Access::InUse}, {kQx40, Access::Granted}},
                  Kind::Usb,
                  Access::Granted},
             Case{"neither of two opens: the first names the reason",
                  Kind::Auto,
                  {{kQx40, Access::NoPermission}, {kQx40, Access::InUse}},
                  Kind::Usb,
                  Access::NoPermission},
             Case{"a description differing in letter case is another device",
                  Kind::Auto,
                  {{"digital oscilloscope qx40", Access::NoPermission}},
                  Kind::Sim,
                  Access::Granted},
             Case{"usb asked for, nothing attached", Kind::Usb, {}, Kind::Usb, Access::Granted},
             Case{"usb asked for, no permission",
                  Kind::Usb,
                  {{"FT232R USB UART", Access::Granted}, {kQx40, Access::NoPermission}},
                  Kind::Usb,
                  Access::NoPermission},
         }) {
        const DeviceDecision d = DecideDevice(c.requested, c.found);
        EXPECT_EQ(d.kind, c.kind) << c.what;
        EXPECT_EQ(d.access, c.access) << c.what;
    }
}

TEST(InstrumentAccessTexts, SayWhatIsWrongAndHowToFixItInBothLanguages) {
    for (const bool russian : {false, true}) {
        const std::string permission = InstrumentAccessText(Access::NoPermission, russian);
        EXPECT_NE(permission.find("70-qx40.rules"), std::string::npos) << permission;
        EXPECT_NE(permission.find("/etc/udev/rules.d/"), std::string::npos) << permission;
        const std::string busy = InstrumentAccessText(Access::InUse, russian);
        EXPECT_NE(busy, permission);
        EXPECT_EQ(busy.find("udev"), std::string::npos) << "a rule does not free a device in use";
    }
    EXPECT_TRUE(
        InstrumentAccessText(Access::InUse, false)
            .starts_with("The instrument is attached, but another program is using it.\r\n"));
    EXPECT_TRUE(
        InstrumentAccessText(Access::NoPermission, true).starts_with("Прибор подключён, но"));
    EXPECT_EQ(InstrumentAccessCaption(false), "USB Error");
    EXPECT_EQ(InstrumentAccessCaption(true), "Ошибка USB");
    EXPECT_EQ(InstrumentAccessSuffix(Access::Granted, false), "");
    EXPECT_EQ(InstrumentAccessSuffix(Access::NoPermission, false),
              " [no access to the instrument]");
    EXPECT_EQ(InstrumentAccessSuffix(Access::InUse, true), " [нет доступа к прибору]");
}

}  // namespace
}  // namespace qx40
