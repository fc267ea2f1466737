#pragma once

// The machinery shared by the layout key families: an emitter that reads keys and records
// steps, and the rule tables that say which key starts which family's work.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/layout_config.h"
#include "shell/layout_ops.h"

namespace velq::layout_detail {

// The largest layout value taken: far beyond any window, small enough that the rules' sums and
// products of values stay inside an int.
inline constexpr int kMaxLayoutValue = 32767;

// Reads keys of one section and appends steps to a plan. The first failed read is kept and every
// later read returns 0, so a rule can be written straight through; the walker stops after it.
class LayoutEmitter {
public:
    LayoutEmitter(const ConfigSection& section, const LayoutContext& context, LayoutPlan& plan)
        : section_(section), context_(context), plan_(plan) {}

    const LayoutContext& context() const { return context_; }
    LayoutStyle& style() { return plan_.style; }
    bool failed() const { return error_.has_value(); }
    const std::optional<LayoutError>& error() const { return error_; }

    // A layout value; one outside +-kMaxLayoutValue fails the layout as out of range.
    int Int(std::string_view key);
    bool Enabled(std::string_view key);  // exactly 1
    // `prefix` + "R", "G", "B" as R + 256 G + 65536 B; each part is held to 0..255 so that a
    // stray value cannot spill into the next colour byte.
    uint32_t Colour(std::string_view prefix);

    void Move(std::string_view control, int x, int y);
    void SetWidth(std::string_view control, int width);
    void SetHeight(std::string_view control, int height);
    void Show(std::string_view control);
    void Hide(std::string_view control);
    void SetVisible(std::string_view control, bool visible);
    void FontSize(std::string_view control, int size);
    void FontColor(std::string_view control, uint32_t colour);
    void BackColor(std::string_view control, uint32_t colour);
    void BorderColor(std::string_view control, uint32_t colour);
    void Picture(std::string_view control, std::string_view resource);
    void SliderPictures(std::string_view control, std::string_view thumb, std::string_view track);
    // The control takes the picture's place shifted by (dx, dy) and its size grown by (dw, dh).
    void FitToPicture(std::string_view control, std::string_view picture, int dx = 0, int dy = 0,
                      int dw = 0, int dh = 0);
    // Cell `index` (0-based) of a row starting at (x, y) whose cells are as wide as `reference`
    // and `gap` pixels apart.
    void MoveInRow(std::string_view control, std::string_view reference, int x, int y, int index,
                   int gap);

private:
    void Add(LayoutOp op);

    const ConfigSection& section_;
    const LayoutContext& context_;
    LayoutPlan& plan_;
    std::optional<LayoutError> error_;
    std::vector<std::string> keys_read_;  // lower-case, in reading order, repeats included

    friend std::vector<std::string> KeysRead(const LayoutEmitter& emitter);
};

std::vector<std::string> KeysRead(const LayoutEmitter& emitter);
// Sorts a record of keys read and drops the repeats.
void SortKeysRead(std::vector<std::string>& keys);

// A rule starts when the walker meets its anchor key in the text and reads whatever sibling
// keys it needs; this keeps the steps in the order of the text.
struct LayoutRule {
    std::string anchor;
    std::function<void(LayoutEmitter&)> apply;
};

using LayoutRules = std::vector<LayoutRule>;

// The rule tables of the families, one per source file.
void AddFrameRules(LayoutRules& rules);     // A and B buttons, tabs, key slots, combo keys, menu
void AddAdvancedRules(LayoutRules& rules);  // advanced page
void AddLightRules(LayoutRules& rules);     // light page
void AddMacroRules(LayoutRules& rules);     // macro page
void AddFireRules(LayoutRules& rules);      // fire page
void AddLabelRules(LayoutRules& rules);     // the caption labels of the "_Lable_" keys

// Walks the section's lines in order and runs each rule at the first definition of its anchor;
// afterwards a rule whose anchor never appeared is reported as that key missing.
void RunRules(const LayoutRules& rules, const ConfigSection& section, LayoutEmitter& emitter);

// Keys that must be present and numeric although they change nothing: the rule reads them.
void AddCheckedOnly(LayoutRules& rules, std::string_view key);

// "Btn_Main_" -> "Btn_Main_1" .. "Btn_Main_4": the frame buttons and tabs exist once per page.
std::vector<std::string> FourCopies(std::string_view stem);

}  // namespace velq::layout_detail
