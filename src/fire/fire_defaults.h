#pragma once

#include <array>
#include <filesystem>
#include <string_view>

#include "common/atomic_file.h"
#include "fire/fire_block.h"
#include "fire/fire_blocks.h"

namespace velq {

// The three built-in fire areas: 0 = all slots empty, 1 = PC-game set, 2 = mobile-game set.
inline constexpr int kFireDefaultSetCount = 3;
using FireDefaultSets = std::array<FireArea, kFireDefaultSetCount>;

// Builds the default sets from their table text (resources/fire/fire_default_sets.txt): one
// line per listed slot, "fireMacro_<set> <slot> <flag> <token bytes in hex>...", '#' starts a
// comment. On an error `sets` is left unchanged and the error names the line.
[[nodiscard]] FileResult ParseFireDefaultSets(std::string_view text, FireDefaultSets& sets);

// The same from the table compiled into the program.
[[nodiscard]] FileResult LoadFireDefaultSets(FireDefaultSets& sets);

// Copies default set 0, 1 or 2 into the fire area buffer (all 256 bytes) and its ten blocks
// into the working copy. False, and nothing changed, for another set number. Writing the
// buffer to the mouse is the caller's device flow.
bool LoadFireDefaults(int set, const FireDefaultSets& sets, FireArea& buffer, FireBlocks& blocks);

// Which of the engineering page's fire buttons are enabled: "delete fire macros" and the two
// imports of a default set.
struct FireButtonStates {
    bool delete_enabled = true;
    bool import_enabled = true;
    bool operator==(const FireButtonStates&) const = default;
};

// After a default set has been loaded: the empty set offers the imports, a filled set the
// delete.
FireButtonStates FireButtonsAfterDefaults(int set);

// After the fire area has been read on the engineering page: slot 1's flag byte (0) or its
// first token byte (2) holding something other than 0 or 0xFF means fire macros are present.
FireButtonStates FireButtonsAfterRead(const FireArea& buffer);

// Reads up to 256 bytes from the start of a fire area file into the buffer; a shorter file
// leaves the rest of the buffer as it was. The content is taken as it is (no size or
// checksum check). On an error the buffer is unchanged and the error names the file.
[[nodiscard]] FileResult ImportFireAreaFile(const std::filesystem::path& path, FireArea& buffer);

}  // namespace velq
