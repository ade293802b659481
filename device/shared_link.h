// Everything the main thread and the acquisition thread share: the flags,
// the register image hand-over, the event that wakes the thread and what
// the instrument reported about itself.
#pragma once

#include <mutex>

#include "device/device_facts.h"
#include "device/link_flags.h"
#include "device/manual_reset_event.h"
#include "device/settings_mailbox.h"

namespace qx40 {

class DeviceFactsBox {
public:
    DeviceFacts Get() const {
        std::lock_guard lock(mutex_);
        return facts_;
    }
    template <typename F>
    void Update(F&& f) {
        std::lock_guard lock(mutex_);
        f(facts_);
    }

private:
    mutable std::mutex mutex_;
    DeviceFacts facts_;
};

struct SharedLink {
    LinkFlags flags;
    SettingsMailbox mailbox;
    ManualResetEvent AcquisitionWakeEvent;
    DeviceFactsBox facts;
};

}  // namespace qx40
