// Everything the main thread and the acquisition thread share: the flags,
// the register image hand-over and the event that wakes the thread.
#pragma once

#include "device/link_flags.h"
#include "device/manual_reset_event.h"
#include "device/settings_mailbox.h"

namespace qx40 {

struct SharedLink {
    LinkFlags flags;
    SettingsMailbox mailbox;
    ManualResetEvent AcquisitionWakeEvent;
};

}  // namespace qx40
