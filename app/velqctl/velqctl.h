#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "device/clock.h"
#include "device/hid_backend.h"

namespace velq {

// What velqctl takes from its surroundings, so tests can run it on a virtual mouse in
// virtual time.
struct VelqctlEnvironment {
    // The machine's HID interfaces (hidapi in the real program).
    std::function<std::unique_ptr<HidBackend>()> real_backend;
    Clock* clock = nullptr;  // the system clock when null
};

// Runs one velqctl command line (without the program name). Returns the exit status:
// 0 success, 1 the mouse or a file failed, 2 bad arguments.
int RunVelqctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const VelqctlEnvironment& environment);

}  // namespace velq
