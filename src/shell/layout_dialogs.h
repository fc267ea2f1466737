#pragma once

#include <array>
#include <string>
#include <vector>

#include "shell/layout_config.h"
#include "shell/layout_ops.h"

namespace velq {

// The five small editor dialogs. The key-combination dialog reads the "K" / "AK" keys of the
// layout; the other four share the "L" / "MN" keys.
enum class EditorDialog : uint8_t { kKeyCombination, kMacroName, kKey, kDelay, kValue };

inline constexpr std::array<EditorDialog, 5> kEditorDialogs{
    EditorDialog::kKeyCombination, EditorDialog::kMacroName, EditorDialog::kKey,
    EditorDialog::kDelay, EditorDialog::kValue};

// The steps that lay out one dialog window (title, input field, modifier boxes, Confirm, Clear,
// Close), in the order of the text, and the keys they read (lower case, sorted).
struct DialogLayout {
    std::vector<LayoutOp> ops;
    std::vector<std::string> keys_read;
};

// Built when the dialog opens, from the current layout section; a missing or non-numeric key is
// an error naming it and the section.
[[nodiscard]] LayoutResult<DialogLayout> EditorDialogLayout(const ConfigSection& section,
                                                            EditorDialog dialog);

}  // namespace velq
