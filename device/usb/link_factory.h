// Builds the USB link that --device (or QX40_DEVICE) names.
#pragma once

#include <memory>
#include <string>

#include "device/usb/device_spec.h"
#include "device/usb/usb_link.h"

namespace qx40 {

// auto takes a real instrument when the FTDI bridge lists one with the
// instrument's description, and the simulated instrument otherwise.
std::unique_ptr<UsbLink> CreateLink(const DeviceSpec& choice);

}  // namespace qx40
