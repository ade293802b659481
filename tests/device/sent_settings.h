// The registers of the last settings command a fake link received.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "device/command_framing.h"
#include "device/device_settings.h"
#include "device/usb/fake_link.h"

namespace qx40::testing_support {

inline DeviceSettings LastSentRegisters(const FakeLink& fake) {
    const auto writes = fake.Writes();
    for (auto w = writes.rbegin(); w != writes.rend(); ++w) {
        if (w->size() != 156) continue;
        std::vector<std::uint8_t> body(78);
        NibbleDecode(*w, body.data());
        DeviceSettings regs;
        std::size_t at = 2;
        for (int segment = 0; segment < 4; ++segment) {
            const std::size_t count = body[at], start = body[at + 2];
            std::copy_n(&body[at + 3], count, &regs.reg[start]);
            at += 3 + count;
        }
        return regs;
    }
    ADD_FAILURE() << "no settings command written";
    return {};
}

}  // namespace qx40::testing_support
