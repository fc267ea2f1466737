#pragma once

#include <cstdint>

#include "device/virtual_mouse.h"

namespace velq::testing {

// How many write-begin requests (command 0x06) the mouse got for the block at `address` of
// `length` bytes.
inline int WriteBeginsFor(const VirtualMouse& mouse, uint16_t address, uint16_t length) {
    int n = 0;
    for (const ReportBytes& r : mouse.Requests()) {
        if (r[1] == 0x06 && (r[2] | r[3] << 8) == address && (r[4] | r[5] << 8) == length) {
            ++n;
        }
    }
    return n;
}

}  // namespace velq::testing
