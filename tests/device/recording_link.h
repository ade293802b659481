// Passes every call on to another link and keeps the bytes read and
// written, so a test can compare what the program made of a stream with the
// stream itself, or read the commands it sent.
#pragma once

#include <algorithm>
#include <mutex>
#include <vector>

#include "device/usb/usb_link.h"

namespace qx40::testing_support {

class RecordingLink : public UsbLink {
public:
    explicit RecordingLink(UsbLink& inner) : inner_(inner) {}

    std::vector<std::uint8_t> BytesRead() const {
        std::lock_guard lock(mutex_);
        return read_;
    }
    std::vector<std::uint8_t> BytesWritten() const {
        std::lock_guard lock(mutex_);
        return written_;
    }

    LinkKind Kind() const override { return inner_.Kind(); }
    UsbStatus ListDeviceCount(std::uint32_t& c) override { return inner_.ListDeviceCount(c); }
    UsbStatus ListDeviceLocation(std::uint32_t i, std::uint32_t& l) override { return inner_.ListDeviceLocation(i, l); }
    UsbStatus ListDeviceDescription(std::uint32_t i, std::string& d) override {
        return inner_.ListDeviceDescription(i, d);
    }
    UsbStatus OpenByLocation(std::uint32_t l, UsbHandle& h) override { return inner_.OpenByLocation(l, h); }
    UsbStatus ResetDevice(UsbHandle h) override { return inner_.ResetDevice(h); }
    UsbStatus SetBaudRate(UsbHandle h, std::uint32_t b) override { return inner_.SetBaudRate(h, b); }
    UsbStatus SetDataCharacteristics(UsbHandle h, std::uint8_t w, std::uint8_t s, std::uint8_t p) override {
        return inner_.SetDataCharacteristics(h, w, s, p);
    }
    UsbStatus SetFlowControl(UsbHandle h, std::uint16_t f, std::uint8_t on, std::uint8_t off) override {
        return inner_.SetFlowControl(h, f, on, off);
    }
    UsbStatus SetTimeouts(UsbHandle h, std::uint32_t r, std::uint32_t w) override { return inner_.SetTimeouts(h, r, w); }
    UsbStatus SetLatencyTimer(UsbHandle h, std::uint8_t ms) override { return inner_.SetLatencyTimer(h, ms); }
    UsbStatus SetEventNotification(UsbHandle h, std::uint32_t m, ManualResetEvent* e) override {
        return inner_.SetEventNotification(h, m, e);
    }
    UsbStatus Purge(UsbHandle h, std::uint32_t m) override { return inner_.Purge(h, m); }
    UsbStatus GetQueueStatus(UsbHandle h, std::uint32_t& rx) override { return inner_.GetQueueStatus(h, rx); }
    UsbStatus GetStatus(UsbHandle h, std::uint32_t& rx, std::uint32_t& tx, std::uint32_t& ev) override {
        return inner_.GetStatus(h, rx, tx, ev);
    }
    UsbStatus Read(UsbHandle h, std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override {
        const UsbStatus s = inner_.Read(h, buffer, length, got);
        std::lock_guard lock(mutex_);
        read_.insert(read_.end(), buffer, buffer + got);
        return s;
    }
    UsbStatus Write(UsbHandle h, const std::uint8_t* b, std::uint32_t n, std::uint32_t& w) override {
        const UsbStatus s = inner_.Write(h, b, n, w);
        std::lock_guard lock(mutex_);
        written_.insert(written_.end(), b, b + std::min(w, n));
        return s;
    }
    UsbStatus Close(UsbHandle h) override { return inner_.Close(h); }
    UsbStatus ResetPort(UsbHandle h) override { return inner_.ResetPort(h); }

private:
    UsbLink& inner_;
    mutable std::mutex mutex_;
    std::vector<std::uint8_t> read_;
    std::vector<std::uint8_t> written_;
};

}  // namespace qx40::testing_support
