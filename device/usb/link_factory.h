// Builds the USB link that --device (or QX40_DEVICE) names.
#pragma once

#include <memory>

#include "device/usb/device_spec.h"
#include "device/usb/usb_link.h"

namespace qx40 {

struct CreatedLink {
    std::unique_ptr<UsbLink> link;
    // For usb and auto: not Granted when an instrument is attached that this
    // user cannot open; the front end says so (instrument_access.h).
    InstrumentAccess access = InstrumentAccess::Granted;
};

// auto takes a real instrument when the FTDI bridge lists one with the
// instrument's description (openable or not), and the simulated instrument
// otherwise.
CreatedLink CreateLink(const DeviceSpec& choice);

}  // namespace qx40
