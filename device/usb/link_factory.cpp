#include "device/usb/link_factory.h"

#include "device/device_session.h"
#include "device/usb/ftdi_link.h"
#include "device/usb/sim/simulated_link.h"
#include "device/usb/tcp_link.h"

namespace qx40 {
namespace {

bool ListsInstrument(UsbLink& link) {
    std::uint32_t count = 0;
    if (link.ListDeviceCount(count) != kUsbOk) return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string description;
        if (link.ListDeviceDescription(i, description) == kUsbOk && description == kInstrumentDescription) return true;
    }
    return false;
}

std::unique_ptr<UsbLink> Simulated(std::int32_t model) {
    SimulatedLinkOptions options;
    options.Instrument.ModelCode = model;
    return std::make_unique<SimulatedLink>(options);
}

}  // namespace

std::unique_ptr<UsbLink> CreateLink(const DeviceSpec& choice) {
    switch (choice.kind) {
        case DeviceSpec::Kind::Sim: return Simulated(choice.simModel);
        case DeviceSpec::Kind::Tcp: return std::make_unique<TcpLink>(choice.host, choice.port);
        case DeviceSpec::Kind::Usb: return std::make_unique<FtdiLink>();
        case DeviceSpec::Kind::Auto: break;
    }
    auto usb = std::make_unique<FtdiLink>();
    if (ListsInstrument(*usb)) return usb;
    return Simulated(choice.simModel);
}

}  // namespace qx40
