// Every USB link operation that takes a handle, called once with harmless
// arguments, so that a test can check what each returns for a handle.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/manual_reset_event.h"
#include "device/usb/usb_link.h"

namespace qx40::link_test {

struct NamedStatus {
    std::string op;
    UsbStatus status;
};

// Close comes last, so that the other calls still see the handle, and so
// that a link stops setting the local event before it goes.
inline std::vector<NamedStatus> CallEveryHandleOperation(UsbLink& link, UsbHandle h) {
    ManualResetEvent event;
    std::uint8_t bytes[4] = {1, 2, 3, 4};
    std::uint32_t a = 0, b = 0, c = 0;
    return {
        {"ResetDevice", link.ResetDevice(h)},
        {"SetBaudRate", link.SetBaudRate(h, 2000000)},
        {"SetDataCharacteristics", link.SetDataCharacteristics(h, 8, 0, 0)},
        {"SetFlowControl", link.SetFlowControl(h, 0, 0x13, 0x17)},
        {"SetTimeouts", link.SetTimeouts(h, 500, 500)},
        {"SetLatencyTimer", link.SetLatencyTimer(h, 0)},
        {"SetEventNotification", link.SetEventNotification(h, kEventRxChar, &event)},
        {"Purge", link.Purge(h, kPurgeRx | kPurgeTx)},
        {"GetQueueStatus", link.GetQueueStatus(h, a)},
        {"GetStatus", link.GetStatus(h, a, b, c)},
        {"Read", link.Read(h, bytes, sizeof bytes, a)},
        {"Write", link.Write(h, bytes, sizeof bytes, a)},
        {"ResetPort", link.ResetPort(h)},
        {"Close", link.Close(h)},
    };
}

}  // namespace qx40::link_test
