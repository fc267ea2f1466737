#pragma once

#include <filesystem>

#include "settings/pointer_backend.h"

namespace velq {

// A small per-user file for the pointer values a desktop does not keep itself (GNOME has no
// wheel lines, a bare X server neither those nor a double-click time): one "Name=value" line
// per value, by the names of the Windows model.

// Adds to `values` each known key the file holds; a file that does not exist (or no file, an
// empty path) adds nothing.
[[nodiscard]] PointerResult ReadPointerFile(const std::filesystem::path& file,
                                            PointerValues& values);

// Sets the given keys in the file, keeping the others it holds; makes its folder if needed.
// Without a file (an empty path) nothing can be kept, which is a failure. Failures of the file
// are marked `own_file`.
[[nodiscard]] PointerResult WritePointerFile(const std::filesystem::path& file,
                                             const PointerValues& values);

// "pointer.conf" in this program's folder of the user's configuration folder (see
// user_dirs.h), found in the environment each time so that tests can point it at a temporary
// folder; an empty path when the user has no configuration folder.
std::filesystem::path DefaultPointerFile();

}  // namespace velq
