#pragma once

#include <set>
#include <string>
#include <vector>

#include "settings/pointer_backend.h"

namespace velq {

// Keeps the stored values in memory and records every write; can be told to fail.
class FakePointerBackend : public PointerBackend {
public:
    std::string_view Name() const override { return "fake"; }
    PointerResult Read(PointerValues& values) override {
        if (!read_error.empty()) {
            return PointerError(read_error);
        }
        values = stored;
        return PointerOk();
    }
    PointerResult Write(const PointerValues& values) override {
        if (!write_error.empty()) {
            PointerResult failed = PointerError(write_error);
            failed.own_file = write_error_own_file;
            return failed;
        }
        writes.push_back(values);
        for (const auto& [key, text] : values) {
            stored[key] = text;
        }
        return PointerOk();
    }

    bool OnlyInOwnFile(PointerKey key) const override { return own_file_keys.contains(key); }

    PointerValues stored;
    std::vector<PointerValues> writes;
    std::string read_error;
    std::string write_error;
    bool write_error_own_file = false;   // the failure is one of our own file, not the desktop's
    std::set<PointerKey> own_file_keys;  // the keys kept only in our own file
};

}  // namespace velq
