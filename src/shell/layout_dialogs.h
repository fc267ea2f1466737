#pragma once

#include <string>
#include <vector>

#include "shell/layout_config.h"
#include "shell/layout_ops.h"

namespace velq {

// The steps that lay out one dialog window (title, input field, modifier boxes, Confirm, Clear,
// Close), in the order of the text, and the keys they read (lower case, sorted). The text size
// is the title's, the field's, the modifier boxes' and the Confirm and Clear captions'; the text
// colour is the same but for the field, which has its own input colour.
struct DialogLayout {
    std::vector<LayoutOp> ops;
    std::vector<std::string> keys_read;
};

// Built when the dialog opens, from the current layout section; a missing or non-numeric key is
// an error naming it and the section.
[[nodiscard]] LayoutResult<DialogLayout> EditorDialogLayout(const ConfigSection& section,
                                                            EditorDialog dialog);

}  // namespace velq
