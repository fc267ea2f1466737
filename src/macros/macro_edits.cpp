#include "macros/macro_edits.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "buttons/number_fields.h"
#include "macros/macro_token.h"

namespace velq {

namespace {

constexpr int kPressKind = 1;
constexpr int kReleaseKind = 2;
// " CODE:" and the four code digits end every press and release line.
constexpr std::size_t kKeyLineTail = 10;
constexpr std::size_t kKindPrefix = 2;

bool IsItem(const MacroLines& lines, int item) {
    return item >= 0 && static_cast<std::size_t>(item) < EventCount(lines);
}

std::size_t LineOf(int item) {
    return static_cast<std::size_t>(item) + 1;
}

// The operand of a move line: its last two hexadecimal digits.
std::optional<int> MoveOperand(std::string_view line) {
    if (line.size() < 2) {
        return std::nullopt;
    }
    const std::string_view digits = line.substr(line.size() - 2);
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + 2, value, 16);
    if (error != std::errc() || end != digits.data() + 2) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> NumberWithin(std::string_view text, int low, int high) {
    const std::optional<int> number = FieldNumber(text);
    if (!number || *number < low || *number > high) {
        return std::nullopt;
    }
    return number;
}

// The insert box's list, item by item.
constexpr std::array<InsertChoice, kInsertChoiceCount> kInsertChoices{{
    {InsertWhat::kDelay, InsertPlace::kBefore},
    {InsertWhat::kDelay, InsertPlace::kAfter},
    {InsertWhat::kRecording, InsertPlace::kBefore},
    {InsertWhat::kRecording, InsertPlace::kAfter},
    {InsertWhat::kMoveX, InsertPlace::kBefore},
    {InsertWhat::kMoveX, InsertPlace::kAfter},
    {InsertWhat::kMoveY, InsertPlace::kBefore},
    {InsertWhat::kMoveY, InsertPlace::kAfter},
}};

}  // namespace

int EventKind(std::string_view line) {
    if (line.empty() || line.front() < '0' || line.front() > '6') {
        return -1;
    }
    return line.front() - '0';
}

std::string_view KeyNameOfLine(std::string_view line) {
    if (line.size() < kKindPrefix + kKeyLineTail) {
        return {};
    }
    return line.substr(kKindPrefix, line.size() - kKindPrefix - kKeyLineTail);
}

std::string EventDisplayText(std::string_view line) {
    const int kind = EventKind(line);
    switch (kind) {
        case 0:
            return std::string(line.substr(std::min(line.size(), kKindPrefix))) + " ms";
        case kPressKind:
        case kReleaseKind:
            return std::string(KeyNameOfLine(line));
        case 3:
        case 4:
        case 5:
        case 6: {
            const int operand = MoveOperand(line).value_or(0);
            // Kinds 4 and 6 hold the negative moves, as their two's complement byte.
            const int value = (kind == 4 || kind == 6) ? operand - 256 : operand;
            return std::string(kind <= 4 ? "X-Axis  " : "Y-Axis  ") + std::to_string(value);
        }
        default:
            return {};
    }
}

std::optional<EventEditKind> EditKindOfLine(std::string_view line) {
    switch (EventKind(line)) {
        case 0:
            return EventEditKind::kDelay;
        case kPressKind:
            return EventEditKind::kPress;
        case kReleaseKind:
            return EventEditKind::kRelease;
        case 3:
        case 4:
            return EventEditKind::kMoveX;
        case 5:
        case 6:
            return EventEditKind::kMoveY;
        default:
            return std::nullopt;
    }
}

std::string DelayEventLine(int ms) {
    return DelayLine(std::clamp(ms, 0, kMaxEditDelay));
}

std::string MoveEventLine(EventEditKind axis, int value) {
    const auto byte = static_cast<uint8_t>(std::clamp(value, kMinMoveValue, kMaxMoveValue));
    return axis == EventEditKind::kMoveY ? MoveYLine(byte) : MoveXLine(byte);
}

std::string KeyEventLine(EditKind kind, std::string_view tail) {
    return (kind == EditKind::kPress ? "1 " : "2 ") + std::string(tail);
}

std::optional<EventChange> ReplaceEvent(const MacroLines& lines, int item, std::string line) {
    if (!IsItem(lines, item)) {
        return std::nullopt;
    }
    EventChange change{lines, item};
    change.lines[LineOf(item)] = std::move(line);
    return change;
}

std::optional<EventChange> DeleteEvent(const MacroLines& lines, int item) {
    if (!IsItem(lines, item)) {
        return std::nullopt;
    }
    EventChange change{lines, -1};
    MacroLines& out = change.lines;
    const std::size_t line = LineOf(item);
    const int kind = EventKind(lines[line]);
    if (kind == kPressKind || kind == kReleaseKind) {
        // Only the other half of the pair is a partner: a second press of the same key is not
        // its release.
        const int partner_kind = kind == kPressKind ? kReleaseKind : kPressKind;
        const std::string_view name = KeyNameOfLine(lines[line]);
        const auto is_partner = [&](std::size_t at) {
            return EventKind(lines[at]) == partner_kind && KeyNameOfLine(lines[at]) == name;
        };
        std::optional<std::size_t> partner;
        if (kind == kPressKind) {
            for (std::size_t at = line + 1; at < lines.size() && !partner; ++at) {
                if (is_partner(at)) {
                    partner = at;
                }
            }
        } else {
            for (std::size_t at = line - 1; at >= 1 && !partner; --at) {
                if (is_partner(at)) {
                    partner = at;
                }
            }
        }
        if (!partner) {
            out.erase(out.begin() + static_cast<std::ptrdiff_t>(line));
            return change;
        }
        // The later line first, so that the earlier one keeps its place.
        out.erase(out.begin() + static_cast<std::ptrdiff_t>(std::max(line, *partner)));
        out.erase(out.begin() + static_cast<std::ptrdiff_t>(std::min(line, *partner)));
        change.select = std::max(item - (kind == kPressKind ? 1 : 2), 0);
    } else {
        out.erase(out.begin() + static_cast<std::ptrdiff_t>(line));
        change.select = std::max(item - 1, 0);
    }
    if (EventCount(out) == 0) {
        change.select = -1;
    }
    return change;
}

std::optional<EventChange> InsertEvent(const MacroLines& lines, int item, InsertPlace place,
                                       std::string line) {
    EventChange change{lines, 0};
    MacroLines& out = change.lines;
    if (out.empty()) {
        out.push_back(DelayModeLine(DelayMode::kNoDelay, 0));
    }
    if (EventCount(out) == 0) {
        // A macro without events: whatever was chosen, this is its first event.
        out.push_back(std::move(line));
        return change;
    }
    if (!IsItem(lines, item)) {
        return std::nullopt;
    }
    change.select = place == InsertPlace::kBefore ? item : item + 1;
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(LineOf(change.select)), std::move(line));
    return change;
}

InsertChoice InsertChoiceOf(int item) {
    return kInsertChoices.at(static_cast<std::size_t>(std::clamp(item, 0, kInsertChoiceCount - 1)));
}

std::optional<std::string> InsertedLine(InsertWhat what, std::string_view text) {
    switch (what) {
        case InsertWhat::kDelay:
            if (const auto ms = NumberWithin(text, 0, kMaxEditDelay)) {
                return DelayEventLine(*ms);
            }
            return std::nullopt;
        case InsertWhat::kMoveX:
        case InsertWhat::kMoveY:
            if (const auto value = NumberWithin(text, kMinMoveValue, kMaxMoveValue)) {
                return MoveEventLine(
                    what == InsertWhat::kMoveX ? EventEditKind::kMoveX : EventEditKind::kMoveY,
                    *value);
            }
            return std::nullopt;
        case InsertWhat::kRecording:
            break;
    }
    return std::nullopt;
}

std::string CorrectRepeatCountText(std::string_view text) {
    const std::optional<int> number = FieldNumber(text);
    if (text.empty() || (number && *number < kMinRepeatCount)) {
        return std::to_string(kMinRepeatCount);
    }
    if (number && *number > kMaxRepeatCount) {
        return std::to_string(kMaxRepeatCount);
    }
    return std::string(text);
}

RepeatOption ToggleRepeatTimes(RepeatOption repeat) {
    return repeat == RepeatOption::kTimes ? RepeatOption::kNone : RepeatOption::kTimes;
}

RepeatOption ToggleRepeatEndless(RepeatOption repeat) {
    return repeat == RepeatOption::kEndless ? RepeatOption::kNone : RepeatOption::kEndless;
}

ShownMacro ShowMacroContent(std::span<const uint8_t, kMacroContentSize> content,
                            const MacroOptions& current) {
    ShownMacro shown{{}, current};
    const std::optional<StoredMacroOptions> stored =
        ReadMacroOptions(content, ContentForm::kDevice);
    if (!stored) {
        shown.decoded.lines = {DelayModeLine(DelayMode::kNoDelay, 0)};
        return shown;
    }
    if (stored->release) {
        shown.options.release = *stored->release;
    }
    shown.options.repeat = stored->repeat;
    if (stored->repeat_count) {
        shown.options.repeat_count = *stored->repeat_count;
    }
    shown.decoded = DecodeMacro(content);
    return shown;
}

MacroCommit CommitMacroLines(MacroLibrary& library, std::size_t index, const MacroLines& lines,
                             const MacroOptions& options) {
    MacroCommit commit;
    if (index >= library.Count()) {
        commit.saved.status = LibraryStatus::kNoSuchMacro;
        return commit;
    }
    MacroContent content{};
    const auto stored = library.Content(index);
    std::copy(stored.begin(), stored.end(), content.begin());
    // A macro without events is stored empty, all zero: a repeat wrapper around nothing would
    // give the mouse a loop with no body.
    MacroOptions effective = options;
    if (EventCount(lines) == 0) {
        effective.repeat = RepeatOption::kNone;
    }
    commit.encoded = EncodeMacro(lines, effective, content);
    if (!commit.encoded) {
        return commit;
    }
    commit.saved = library.SetContent(index, content);
    return commit;
}

LibraryResult SetReleaseOption(MacroLibrary& library, std::size_t index, ReleaseOption release) {
    if (index >= library.Count()) {
        return LibraryResult{LibraryStatus::kNoSuchMacro, {}, -1, false, false};
    }
    MacroContent content{};
    const auto stored = library.Content(index);
    std::copy(stored.begin(), stored.end(), content.begin());
    const uint8_t flag =
        release == ReleaseOption::kStopOnRelease ? kStopOnReleaseFlag : kPlayToEndFlag;
    if (StoredLength(content, ContentForm::kDevice) == 0 || content[0] == flag) {
        return LibraryResult{};
    }
    content[0] = flag;
    return library.SetContent(index, content);
}

}  // namespace velq
