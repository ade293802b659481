// An instrument that is attached but cannot be opened is said so, with what
// to do about it, instead of quietly running on the simulated instrument.
#pragma once

#include <span>
#include <string>

#include "device/usb/device_spec.h"
#include "device/usb/usb_link.h"

namespace qx40 {

// One USB bridge as listing found it.
struct ListedBridge {
    std::string description;  // the product string; empty when unknown
    InstrumentAccess access = InstrumentAccess::Granted;
};

struct DeviceDecision {
    DeviceSpec::Kind kind = DeviceSpec::Kind::Sim;  // Usb or Sim
    // Granted when an instrument among the bridges can be opened (or none is
    // attached); else why the first one cannot.
    InstrumentAccess access = InstrumentAccess::Granted;
};

// requested is Auto or Usb. Auto takes the USB instrument whenever one is
// attached, openable or not, so that RUN reports what keeps it out; with
// none attached it takes the simulated instrument.
DeviceDecision DecideDevice(DeviceSpec::Kind requested, std::span<const ListedBridge> bridges);

// The message about an instrument that cannot be opened: what is wrong and
// how to put it right (access must not be Granted).
std::string InstrumentAccessCaption(bool russian);
std::string InstrumentAccessText(InstrumentAccess access, bool russian);
// What the window caption ends with; empty while access is granted.
std::string InstrumentAccessSuffix(InstrumentAccess access, bool russian);

}  // namespace qx40
