#include "device/usb/device_spec.h"

#include <gtest/gtest.h>

namespace qx40 {
namespace {

TEST(DeviceSpec, Forms) {
    std::string error;
    struct Case {
        const char* text;
        DeviceSpec::Kind kind;
        std::int32_t model;
        const char* host;
        std::uint16_t port;
    };
    for (const Case c : {Case{"", DeviceSpec::Kind::Auto, 31, "", 0},
                         Case{"auto", DeviceSpec::Kind::Auto, 31, "", 0},
                         Case{"usb", DeviceSpec::Kind::Usb, 31, "", 0},
                         Case{"sim", DeviceSpec::Kind::Sim, 31, "", 0},
                         Case{"sim:28", DeviceSpec::Kind::Sim, 28, "", 0},
                         Case{"sim:25", DeviceSpec::Kind::Sim, 25, "", 0},
                         Case{"sim:0x1F", DeviceSpec::Kind::Sim, 31, "", 0},
                         Case{"tcp:localhost:5025", DeviceSpec::Kind::Tcp, 31, "localhost", 5025},
                         Case{"tcp:[::1]:9", DeviceSpec::Kind::Tcp, 31, "::1", 9}}) {
        const auto choice = ParseDeviceSpec(c.text, error);
        ASSERT_TRUE(choice) << c.text << ": " << error;
        EXPECT_EQ(choice->kind, c.kind) << c.text;
        EXPECT_EQ(choice->simModel, c.model) << c.text;
        EXPECT_EQ(choice->host, c.host) << c.text;
        EXPECT_EQ(choice->port, c.port) << c.text;
    }
}

TEST(DeviceSpec, RefusesWhatNamesNoDevice) {
    for (const char* text : {"serial", "sim:", "sim:x", "sim:70000", "tcp:", "tcp:host",
                             "tcp::5000", "tcp:h:0", "tcp:h:65536", "tcp:h:12a", "tcp:h:+80",
                             "tcp:h: 80", "tcp:h:-1", "tcp:h:18446744073709551617", "USB"}) {
        std::string error;
        EXPECT_FALSE(ParseDeviceSpec(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

// A code that is no model would start an instrument that does not exist.
TEST(DeviceSpec, SimulatesOnlyModelsThatExist) {
    for (const char* text : {"sim:0", "sim:1", "sim:27", "sim:0x1E", "sim:65535", "sim:-28",
                             "sim:+28", "sim: 28", "sim:28 ", "sim:0x", "sim:4294967324"}) {
        std::string error;
        EXPECT_FALSE(ParseDeviceSpec(text, error)) << text;
        EXPECT_EQ(error,
                  "sim:CODE needs the code of a model: 28 (QX4001A), 25 (QX4002) or 31 (QX4003)")
            << text;
    }
}

}  // namespace
}  // namespace qx40
