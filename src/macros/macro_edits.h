#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "buttons/key_entry.h"
#include "macros/macro_content.h"
#include "macros/macro_decode.h"
#include "macros/macro_encode.h"
#include "macros/macro_library.h"
#include "macros/macro_lines.h"

namespace velq {

// The event editor's rules, over the text form of a macro. The editor's list shows one item per
// event line: item i stands for line i + 1 (line 0 is the delay-mode line).

// The kind of an event line (its first character, 0..6); -1 for anything else.
int EventKind(std::string_view line);

// The key name of a press or release line: the text between its kind ("1 ") and its code
// (" CODE:82uu"), "LeftKey" in "1 LeftKey CODE:00A1". Empty for a line too short for both.
std::string_view KeyNameOfLine(std::string_view line);

// What the list shows for an event line: the key name of a press or release, "96 ms" for a wait,
// "X-Axis  -5" / "Y-Axis  12" for a move (its operand as a signed number).
std::string EventDisplayText(std::string_view line);

// The number of event lines (list items) of a macro's lines.
inline std::size_t EventCount(const MacroLines& lines) {
    return lines.empty() ? 0 : lines.size() - 1;
}

// The lines after a change of the events, and the item to select then (-1: none).
struct EventChange {
    MacroLines lines;
    int select = -1;
};

// What an edit of an event line asks for, by the line's kind: a wait, the key of a press or a
// release, or the size of a horizontal or vertical move (kinds 4 and 6 edit as 3 and 5).
enum class EventEditKind : uint8_t { kDelay = 0, kPress = 1, kRelease = 2, kMoveX = 3, kMoveY = 5 };
std::optional<EventEditKind> EditKindOfLine(std::string_view line);

// The line an edit (or an insert) makes. A wait is held to 0..2040 ms, a move to -128..127; a
// negative move becomes kind 4 or 6 with its two's complement byte ("4 FBFB" for -5).
std::string DelayEventLine(int ms);
std::string MoveEventLine(EventEditKind axis, int value);  // axis: kMoveX or kMoveY
// A key line from the key dialog's tail ("Z CODE:021D"): "1 " or "2 " + tail.
std::string KeyEventLine(EditKind kind, std::string_view tail);

// Replaces the line of item `item` and selects it; none when there is no such item.
std::optional<EventChange> ReplaceEvent(const MacroLines& lines, int item, std::string line);

// Deletes item `item`. A press takes the nearest later release of the same key with it and
// selects the item before (item 0 when it was the first); a release takes the nearest earlier
// press of the same key and selects two items before (item 0 when that is before the first). A
// press or release whose partner is missing is deleted alone and leaves nothing selected.
// Other events select the item before (item 0 when it was the first). None when there is no
// such item.
std::optional<EventChange> DeleteEvent(const MacroLines& lines, int item);

// Inserts `line` before item `item` (it becomes item `item`) or after it (item `item` + 1) and
// selects it. On a macro without events any `item` adds the first event. None when there is no
// such item.
enum class InsertPlace : uint8_t { kBefore, kAfter };
std::optional<EventChange> InsertEvent(const MacroLines& lines, int item, InsertPlace place,
                                       std::string line);

// The eight choices of the insert box, in the order of its list.
enum class InsertWhat : uint8_t { kDelay, kRecording, kMoveX, kMoveY };
struct InsertChoice {
    InsertWhat what;
    InsertPlace place;
};
inline constexpr int kInsertChoiceCount = 8;
// The choice of list item `item` (0..7).
InsertChoice InsertChoiceOf(int item);

// The line the insert box makes from its field's text: a wait of 0..2040 ms, a move of
// -128..127. None while the text is not such a number (a lone "-", or "5-3", which the axis
// fields' key filter lets through): the box then waits for the user to put it right.
std::optional<std::string> InsertedLine(InsertWhat what, std::string_view text);

// The field defaults of the insert box.
inline constexpr std::string_view kInsertDelayDefault = "50";
inline constexpr std::string_view kInsertAxisDefault = "12";
inline constexpr int kInsertDelayMaxLength = 5;

// The repeat count field (1..255, default 8), digits only: empty or 0 gives "1", 256 or more
// "255"; any other text stays.
inline constexpr int kMinRepeatCount = 1;
inline constexpr int kMaxRepeatCount = 255;
inline constexpr std::string_view kRepeatCountDefault = "8";
std::string CorrectRepeatCountText(std::string_view text);

// The repeat options toggle: choosing the one selected clears it, choosing the other replaces
// it. The count field is enabled only while the count is chosen.
RepeatOption ToggleRepeatTimes(RepeatOption repeat);
RepeatOption ToggleRepeatEndless(RepeatOption repeat);
inline bool RepeatCountEnabled(RepeatOption repeat) {
    return repeat == RepeatOption::kTimes;
}

// The macro the editor shows for a library content, and the options it sets. An empty or
// erased content shows no events and leaves the options as they were.
struct ShownMacro {
    DecodedMacro decoded;
    MacroOptions options;
};
ShownMacro ShowMacroContent(std::span<const uint8_t, kMacroContentSize> content,
                            const MacroOptions& current);

// The editor's commit of changed events: the lines encoded into entry `index`'s content, saved at
// once. A macro too long for its room is refused (`encoded` says so, with the caption key of
// its message) and nothing is saved; a failed save leaves the library as it was (`saved` names
// the file). A macro without events is stored as the empty content (all zero) whatever the
// options say.
struct MacroCommit {
    MacroEncodeResult encoded;
    LibraryResult saved;
    bool ok() const { return encoded.ok() && static_cast<bool>(saved); }
};
[[nodiscard]] MacroCommit CommitMacroLines(MacroLibrary& library, std::size_t index,
                                           const MacroLines& lines, const MacroOptions& options);

// A click on a release option: byte 0 of entry `index`'s content takes the option at once and
// is saved (the checksum does not cover it). A content without events stays all zero, the form
// of an empty macro, so that nothing is written for it.
[[nodiscard]] LibraryResult SetReleaseOption(MacroLibrary& library, std::size_t index,
                                             ReleaseOption release);

}  // namespace velq
