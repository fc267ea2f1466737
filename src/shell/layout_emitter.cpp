#include <algorithm>
#include <unordered_map>

#include "shell/layout_rules.h"

namespace velq::layout_detail {

int LayoutEmitter::Int(std::string_view key) {
    if (error_) {
        return 0;
    }
    keys_read_.push_back(LowerAscii(key));
    LayoutResult<int> value = section_.ReadInt(key);
    if (!value) {
        error_ = std::move(value.error);
        return 0;
    }
    // Every layout value is a coordinate, a size, a spacing, a colour part or a flag; the
    // rules add and multiply them, so a value far outside what a window can hold is refused
    // here rather than overflowing there.
    if (*value.value < -kMaxLayoutValue || *value.value > kMaxLayoutValue) {
        error_ = LayoutError{std::string(key), section_.name(),
                             "Key \"" + std::string(key) + "\" in section [" + section_.name() +
                                 "] is out of range: " + std::to_string(*value.value)};
        return 0;
    }
    return *value.value;
}

bool LayoutEmitter::Enabled(std::string_view key) {
    return Int(key) == 1 && !error_;
}

uint32_t LayoutEmitter::Colour(std::string_view prefix) {
    const std::string stem(prefix);
    const auto part = [&](const char* suffix) {
        return static_cast<uint32_t>(std::clamp(Int(stem + suffix), 0, 255));
    };
    const uint32_t r = part("R");
    const uint32_t g = part("G");
    const uint32_t b = part("B");
    return r + 256 * g + 65536 * b;
}

void LayoutEmitter::Add(LayoutOp op) {
    if (!error_) {
        plan_.ops.push_back(std::move(op));
    }
}

namespace {

LayoutOp Op(LayoutOpKind kind, std::string_view control) {
    LayoutOp op;
    op.kind = kind;
    op.control = std::string(control);
    return op;
}

LayoutOp Valued(LayoutOpKind kind, std::string_view control, int value) {
    LayoutOp op = Op(kind, control);
    op.value = value;
    return op;
}

LayoutOp Pictured(LayoutOpKind kind, std::string_view control, std::string_view resource) {
    LayoutOp op = Op(kind, control);
    op.text = std::string(resource);
    return op;
}

}  // namespace

void LayoutEmitter::Move(std::string_view control, int x, int y) {
    LayoutOp op = Op(LayoutOpKind::kMove, control);
    op.x = x;
    op.y = y;
    Add(std::move(op));
}

void LayoutEmitter::SetWidth(std::string_view control, int width) {
    Add(Valued(LayoutOpKind::kSetWidth, control, width));
}

void LayoutEmitter::SetHeight(std::string_view control, int height) {
    Add(Valued(LayoutOpKind::kSetHeight, control, height));
}

void LayoutEmitter::Show(std::string_view control) {
    Add(Op(LayoutOpKind::kShow, control));
}

void LayoutEmitter::Hide(std::string_view control) {
    Add(Op(LayoutOpKind::kHide, control));
}

void LayoutEmitter::SetVisible(std::string_view control, bool visible) {
    if (visible) {
        Show(control);
    } else {
        Hide(control);
    }
}

void LayoutEmitter::FontSize(std::string_view control, int size) {
    Add(Valued(LayoutOpKind::kFontSize, control, size));
}

void LayoutEmitter::FontColor(std::string_view control, uint32_t colour) {
    Add(Valued(LayoutOpKind::kFontColor, control, static_cast<int>(colour)));
}

void LayoutEmitter::BackColor(std::string_view control, uint32_t colour) {
    Add(Valued(LayoutOpKind::kBackColor, control, static_cast<int>(colour)));
}

void LayoutEmitter::BorderColor(std::string_view control, uint32_t colour) {
    Add(Valued(LayoutOpKind::kBorderColor, control, static_cast<int>(colour)));
}

void LayoutEmitter::Picture(std::string_view control, std::string_view resource) {
    Add(Pictured(LayoutOpKind::kPicture, control, resource));
}

void LayoutEmitter::SliderPictures(std::string_view control, std::string_view thumb,
                                   std::string_view track) {
    Add(Pictured(LayoutOpKind::kSliderThumb, control, thumb));
    Add(Pictured(LayoutOpKind::kSliderTrack, control, track));
}

void LayoutEmitter::FitToPicture(std::string_view control, std::string_view picture, int dx, int dy,
                                 int dw, int dh) {
    LayoutOp op = Op(LayoutOpKind::kFitToPicture, control);
    op.reference = std::string(picture);
    op.x = dx;
    op.y = dy;
    op.value = dw;
    op.extra = dh;
    Add(std::move(op));
}

void LayoutEmitter::MoveInRow(std::string_view control, std::string_view reference, int x, int y,
                              int index, int gap) {
    LayoutOp op = Op(LayoutOpKind::kMoveInRow, control);
    op.reference = std::string(reference);
    op.x = x;
    op.y = y;
    op.value = index;
    op.extra = gap;
    Add(std::move(op));
}

std::vector<std::string> KeysRead(const LayoutEmitter& emitter) {
    std::vector<std::string> keys = emitter.keys_read_;
    SortKeysRead(keys);
    return keys;
}

void SortKeysRead(std::vector<std::string>& keys) {
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
}

void RunRules(const LayoutRules& rules, const ConfigSection& section, LayoutEmitter& emitter) {
    std::unordered_map<std::string, size_t> by_anchor;
    for (size_t i = 0; i < rules.size(); ++i) {
        by_anchor.emplace(LowerAscii(rules[i].anchor), i);
    }
    std::vector<bool> done(rules.size(), false);
    for (const ConfigEntry& entry : section.entries()) {
        const auto it = by_anchor.find(LowerAscii(entry.name));
        if (it == by_anchor.end() || done[it->second]) {
            continue;  // not an anchor, or a repeated definition (the first one counts)
        }
        done[it->second] = true;
        rules[it->second].apply(emitter);
        if (emitter.failed()) {
            return;
        }
    }
    // An anchor that never appeared: reading it now reports it as missing.
    for (size_t i = 0; i < rules.size(); ++i) {
        if (!done[i]) {
            emitter.Int(rules[i].anchor);
            return;
        }
    }
}

void AddCheckedOnly(LayoutRules& rules, std::string_view key) {
    const std::string name(key);
    rules.push_back({name, [name](LayoutEmitter& e) { e.Int(name); }});
}

std::vector<std::string> FourCopies(std::string_view stem) {
    std::vector<std::string> out;
    for (int i = 1; i <= 4; ++i) {
        out.push_back(std::string(stem) + std::to_string(i));
    }
    return out;
}

}  // namespace velq::layout_detail
