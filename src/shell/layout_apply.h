#pragma once

#include <string>

#include "shell/layout_config.h"
#include "shell/layout_ops.h"

namespace velq {

// "org1" .. "org3": the layout resource and section of a language.
std::string LayoutSectionName(int language);

// Reads and parses the layout of `language` (1..3) from the embedded resources. A language out
// of range, a missing resource or a missing section is an error.
[[nodiscard]] LayoutResult<ConfigSection> LoadLayoutSection(int language);

// Applying a layout, as data: the pictures of the language (background on Img_Base_1..5, the
// current page's picture, the fire page picture), the engineering tab at its fixed place, then
// every key family in the order of the text, for all four copies of the frame buttons and tabs.
// The editor dialogs' steps are made too and kept in the plan, so that a layout that would fail
// a dialog later fails here. A missing or non-numeric key is an error naming the key and the
// section; the plan is then not usable.
[[nodiscard]] LayoutResult<LayoutPlan> ApplyLayout(const ConfigSection& section,
                                                   const LayoutContext& context);

// LoadLayoutSection(context.language) followed by ApplyLayout.
[[nodiscard]] LayoutResult<LayoutPlan> ApplyLayout(const LayoutContext& context);

}  // namespace velq
