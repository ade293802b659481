// The open device handle, shared by the main thread (open, check, close)
// and the acquisition thread (read, write, purge). Using it takes a shared
// lock; closing or replacing it takes the exclusive one, so no thread ever
// uses a handle that another is closing.
#pragma once

#include <mutex>
#include <shared_mutex>

#include "device/usb/usb_link.h"

namespace qx40 {

class DeviceHandle {
public:
    template <typename F>
    auto Use(F&& f) const {
        std::shared_lock lock(mutex_);
        return f(handle_);
    }
    template <typename F>
    auto Replace(F&& f) {
        std::unique_lock lock(mutex_);
        return f(handle_);
    }
    UsbHandle Get() const {
        std::shared_lock lock(mutex_);
        return handle_;
    }

private:
    mutable std::shared_mutex mutex_;
    UsbHandle handle_ = kNoHandle;
};

}  // namespace qx40
