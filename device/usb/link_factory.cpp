#include "device/usb/link_factory.h"

#include <vector>

#include "device/device_session.h"
#include "device/usb/ftdi_link.h"
#include "device/usb/instrument_access.h"
#include "device/usb/sim/simulated_link.h"
#include "device/usb/tcp_link.h"

namespace qx40 {
namespace {

std::vector<ListedBridge> ListBridges(FtdiLink& link) {
    std::vector<ListedBridge> bridges;
    std::uint32_t count = 0;
    if (link.ListDeviceCount(count) != kUsbOk) return bridges;
    for (std::uint32_t i = 0; i < count; ++i) {
        ListedBridge bridge;
        if (link.ListDeviceDescription(i, bridge.description) != kUsbOk) continue;
        // Only the instrument is looked at more closely; other bridges are left alone.
        if (bridge.description == kInstrumentDescription) bridge.access = link.ProbeAccess(i);
        bridges.push_back(std::move(bridge));
    }
    return bridges;
}

std::unique_ptr<UsbLink> Simulated(std::int32_t model) {
    SimulatedLinkOptions options;
    options.Instrument.ModelCode = model;
    return std::make_unique<SimulatedLink>(options);
}

}  // namespace

CreatedLink CreateLink(const DeviceSpec& choice) {
    switch (choice.kind) {
        case DeviceSpec::Kind::Sim:
            return {Simulated(choice.simModel)};
        case DeviceSpec::Kind::Tcp:
            return {std::make_unique<TcpLink>(choice.host, choice.port)};
        case DeviceSpec::Kind::Usb:
        case DeviceSpec::Kind::Auto: break;
    }
    auto usb = std::make_unique<FtdiLink>();
    const DeviceDecision decision = DecideDevice(choice.kind, ListBridges(*usb));
    if (decision.kind == DeviceSpec::Kind::Sim) return {Simulated(choice.simModel)};
    return {std::move(usb), decision.access};
}

}  // namespace qx40
