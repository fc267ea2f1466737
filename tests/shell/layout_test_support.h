#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "shell/layout_config.h"
#include "shell/layout_ops.h"
#include "shell/shell_resources.h"

namespace velq::testing {

inline std::string ResourceText(std::string_view name) {
    const auto bytes = ShellResource(name);
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// The text with the line defining `key` (matched at the line start, exact case) replaced by
// `line`; an empty `line` removes it. Returns the text unchanged when no line matches, which the
// callers check.
inline std::string ReplaceKeyLine(const std::string& text, std::string_view key,
                                  std::string_view line) {
    const std::string prefix = "\r\n" + std::string(key) + "=";
    const size_t start = text.find(prefix);
    if (start == std::string::npos) {
        return text;
    }
    const size_t end = text.find("\r\n", start + 2);
    std::string out = text.substr(0, start);
    if (!line.empty()) {
        out += "\r\n" + std::string(line);
    }
    out += text.substr(end);
    return out;
}

inline std::string WithoutKey(const std::string& text, std::string_view key) {
    return ReplaceKeyLine(text, key, "");
}

inline ConfigSection SectionOf(const std::string& text, std::string_view name) {
    LayoutResult<ConfigSection> section = ParseConfigText(text, name);
    return section ? *section.value : ConfigSection();
}

inline LayoutOp MoveOp(std::string control, int x, int y) {
    LayoutOp op;
    op.kind = LayoutOpKind::kMove;
    op.control = std::move(control);
    op.x = x;
    op.y = y;
    return op;
}

// Every step for `control`, in order, as readable text.
inline std::vector<std::string> StepsFor(const std::vector<LayoutOp>& ops,
                                         std::string_view control) {
    std::vector<std::string> out;
    for (const LayoutOp& op : ops) {
        if (op.control == control) {
            out.push_back(DescribeLayoutOp(op));
        }
    }
    return out;
}

// The steps that place, size or show a control, without its font and colours.
inline std::vector<std::string> PlacementSteps(const std::vector<LayoutOp>& ops,
                                               std::string_view control) {
    std::vector<std::string> out;
    for (const LayoutOp& op : ops) {
        if (op.control == control && op.kind != LayoutOpKind::kFontSize &&
            op.kind != LayoutOpKind::kFontColor) {
            out.push_back(DescribeLayoutOp(op));
        }
    }
    return out;
}

inline bool HasStep(const std::vector<LayoutOp>& ops, std::string_view description) {
    return std::any_of(ops.begin(), ops.end(),
                       [&](const LayoutOp& op) { return DescribeLayoutOp(op) == description; });
}

}  // namespace velq::testing
