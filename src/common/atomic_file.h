#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace velq {

// The outcome of a file operation; `error` names the file and what went wrong.
struct FileResult {
    bool ok = false;
    std::string error;
    explicit operator bool() const { return ok; }
};

// Writes `bytes` to a temporary file in the target's folder, flushes it and renames it over
// the target, so a crash or a full disk never leaves a half-written file behind.
[[nodiscard]] FileResult WriteFileAtomically(const std::filesystem::path& path,
                                             std::span<const uint8_t> bytes);

// Reads a whole file. On failure `bytes` is empty and the result names the file.
[[nodiscard]] FileResult ReadWholeFile(const std::filesystem::path& path,
                                       std::vector<uint8_t>& bytes);

}  // namespace velq
