#pragma once

#include <map>
#include <string>
#include <string_view>

#include "settings/pointer_rules.h"

namespace velq {

// Stored pointer values as decimal text, by name of the Windows model; a key that is absent is
// not stored (or, on writing, not to be touched).
using PointerValues = std::map<PointerKey, std::string>;

// The outcome of reading or writing the desktop's pointer settings; `error` says what failed.
struct PointerResult {
    bool ok = false;
    std::string error;
    // The failure is one of our own file (see pointer_file.h), not of the desktop.
    bool own_file = false;
    explicit operator bool() const { return ok; }
};
inline PointerResult PointerOk() {
    return {true, {}};
}
inline PointerResult PointerError(std::string error) {
    return {false, std::move(error)};
}

// Where the PC's pointer settings live: one implementation for each kind of desktop session.
class PointerBackend {
public:
    virtual ~PointerBackend() = default;

    // A short name for messages and logs ("gnome", "x11").
    virtual std::string_view Name() const = 0;

    // Fills `values` with what the session stores (values left empty first). A key it does not
    // keep stays absent: the mouse keys all absent mean the page keeps what it shows, a missing
    // "WheelScrollLines" leaves the wheel settings as they are.
    [[nodiscard]] virtual PointerResult Read(PointerValues& values) = 0;

    // Stores exactly the keys given and applies them to the running session at once; keys not
    // given are neither written nor applied. The precision triple ("MouseSpeed",
    // "MouseThreshold1", "MouseThreshold2") always comes together.
    [[nodiscard]] virtual PointerResult Write(const PointerValues& values) = 0;

    // True when `key` is kept only in the program's own file (pointer_file.h), which no other
    // program reads: the page tells the user that such a setting applies to this program only.
    virtual bool OnlyInOwnFile(PointerKey key) const = 0;
};

}  // namespace velq
