#pragma once

#include <filesystem>

#include "settings/pointer_backend.h"

namespace velq {

// A small per-user file for the pointer values a desktop does not keep itself (GNOME has no
// wheel lines, a bare X server neither those nor a double-click time): one "Name=value" line
// per value, by the names of the Windows model.

// Adds to `values` each known key the file holds; a file that does not exist adds nothing.
[[nodiscard]] PointerResult ReadPointerFile(const std::filesystem::path& file,
                                            PointerValues& values);

// Sets the given keys in the file, keeping the others it holds; makes its folder if needed.
[[nodiscard]] PointerResult WritePointerFile(const std::filesystem::path& file,
                                             const PointerValues& values);

// `velq540b/pointer.conf` in XDG_CONFIG_HOME (or ~/.config), read from the environment each
// time so that tests can point it at a temporary folder.
std::filesystem::path DefaultPointerFile();

}  // namespace velq
