// The FTDI backend where no hardware is needed: listing (whatever is
// attached), unknown locations and handles, the location ids, the device
// names in sysfs and the status bytes the bridge puts in front of every
// packet.
#include "device/usb/ftdi_link.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "device/usb/ftdi_packets.h"
#include "device/link_calls.h"

namespace qx40 {
namespace {

TEST(FtdiLink, ListingSucceedsWithOrWithoutBridgesAttached) {
    FtdiLink link;
    EXPECT_EQ(link.Kind(), LinkKind::Hardware);
    std::uint32_t count = 99;
    ASSERT_EQ(link.ListDeviceCount(count), kUsbOk);
    EXPECT_LT(count, 99u);
    std::set<std::uint32_t> locations;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t location = 0;
        ASSERT_EQ(link.ListDeviceLocation(i, location), kUsbOk);
        EXPECT_NE(location, 0u);
        locations.insert(location);
    }
    EXPECT_EQ(locations.size(), count) << "two bridges share a location";
    std::uint32_t location = 0;
    std::string description;
    EXPECT_EQ(link.ListDeviceLocation(count, location), kUsbDeviceNotFound);
    EXPECT_EQ(link.ListDeviceDescription(count, description), kUsbDeviceNotFound);
}

TEST(FtdiLink, OpeningALocationWithoutABridgeFindsNothing) {
    FtdiLink link;
    // Bus 0 does not exist, so neither location can name a device.
    for (const std::uint32_t location : {0u, 0x00ABCDEFu}) {
        UsbHandle h = kNoHandle;
        EXPECT_EQ(link.OpenByLocation(location, h), kUsbDeviceNotFound) << location;
        EXPECT_EQ(h, kNoHandle);
    }
}

TEST(FtdiLink, CallsWithUnknownHandlesReturnInvalidHandle) {
    FtdiLink link;
    for (const UsbHandle h : {kNoHandle, UsbHandle{1}, UsbHandle{0xDEADBEEF}})
        for (const auto& [op, status] : link_test::CallEveryHandleOperation(link, h))
            EXPECT_EQ(status, kUsbInvalidHandle) << op << " with handle " << h;
}

TEST(FtdiLink, LocationHoldsTheBusAndThePortPath) {
    struct Case {
        std::uint8_t bus;
        std::vector<std::uint8_t> ports;
        std::uint32_t location;
    };
    const Case cases[] = {
        {1, {}, 0x01000000},     {1, {2}, 0x01200000},
        {1, {2, 4}, 0x01240000}, {3, {15, 1, 7, 2, 9, 15}, 0x03F1729F},
        {255, {1}, 0xFF100000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FtdiLink::LocationOf(c.bus, c.ports), c.location) << int{c.bus};
}

TEST(FtdiLink, PathsThatDoNotFitGetAHashNoFittingPathProduces) {
    const std::vector<std::vector<std::uint8_t>> paths = {
        {16}, {1, 2, 3, 4, 5, 6, 7}, {2, 20, 1}, {2, 21, 1}, {0}};
    std::set<std::uint32_t> seen;
    for (const auto& ports : paths) {
        const std::uint32_t location = FtdiLink::LocationOf(2, ports);
        EXPECT_EQ(location >> 24, 2u);
        EXPECT_EQ(location & 0x00F00000u, 0u) << "a fitting path starts with a port from 1 to 15";
        EXPECT_NE(location & 0x000FFFFFu, 0u) << "it would name a device on the root hub";
        EXPECT_EQ(FtdiLink::LocationOf(2, ports), location) << "the same path, the same location";
        seen.insert(location);
    }
    EXPECT_EQ(seen.size(), paths.size());
}

// Where the kernel keeps the product string of a device this user may not open.
TEST(FtdiLink, SysfsNameIsTheBusAndThePortPath) {
    struct Case {
        std::uint8_t bus;
        std::vector<std::uint8_t> ports;
        const char* name;
    };
    const Case cases[] = {
        {1, {2}, "1-2"}, {1, {2, 4}, "1-2.4"}, {3, {15, 1, 7}, "3-15.1.7"}, {255, {10}, "255-10"}};
    for (const Case& c : cases) EXPECT_EQ(FtdiLink::SysfsName(c.bus, c.ports), c.name);
}

TEST(FtdiLink, NothingListedMeansNothingToReportAboutAccess) {
    FtdiLink link;
    std::uint32_t count = 0;
    ASSERT_EQ(link.ListDeviceCount(count), kUsbOk);
    EXPECT_EQ(link.ProbeAccess(count), InstrumentAccess::Granted) << "an index beyond the listing";
    EXPECT_EQ(link.Access(), InstrumentAccess::Granted) << "before any open";
}

TEST(FtdiPackets, StatusBytesLeadEveryPacket) {
    struct Case {
        const char* name;
        std::size_t packetSize;
        // Bytes of each packet, status included; only the last may be short,
        // since a short packet ends a USB transfer.
        std::vector<std::size_t> packetLengths;
    };
    const Case cases[] = {
        {"status only", 64, {2}},
        {"nothing", 64, {}},
        {"one short packet", 64, {10}},
        {"full packets and a short one", 64, {64, 64, 7}},
        {"full packets only", 64, {64, 64}},
        {"high-speed packets", 512, {512, 512, 100}},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> transfer, expected;
        std::uint8_t next = 0;
        for (const std::size_t length : c.packetLengths) {
            transfer.push_back(0x01);  // modem status
            transfer.push_back(0x60);  // line status
            for (std::size_t i = 2; i < length; ++i) {
                transfer.push_back(next);
                expected.push_back(next++);
            }
        }
        std::vector<std::uint8_t> out(transfer.size());
        out.resize(StripFtdiStatusBytes(transfer, c.packetSize, out.data()));
        EXPECT_EQ(out, expected) << c.name;
    }
}

}  // namespace
}  // namespace qx40
