#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "macros/macro_content.h"
#include "macros/macro_edits.h"
#include "macros/macro_lines.h"

namespace velq {

// The recorder's rules: what the keys and mouse buttons pressed while a macro is recorded add to
// its lines. The recorder is told each event with the time it was taken, so it runs on any clock;
// it owns no thread and no lock, and is used from the window thread only.

// Recording replaces the macro's events; insert recording adds events before or after one of
// them, to be committed when the insert box is confirmed.
enum class RecordingKind : uint8_t { kRecord, kInsert };

// `RecordCapacity`: the bytes a recording may fill. A recording into the utility's long form
// has its room; the device form, and every insert recording, keep 35 bytes of the 221 free.
inline constexpr int kDeviceRecordCapacity = 186;
inline constexpr int kUtilityRecordCapacity = 1980;
int RecordCapacity(ContentForm form, RecordingKind kind);

// `RecordReserve`: the bytes that must stay free when a press is taken (its release, and the
// waits before both when waits are recorded).
int RecordReserve(DelayMode mode);

// The longest wait recorded before a key, and before a mouse button (five delay lines).
inline constexpr int kMaxKeyPauseMs = 2040;
inline constexpr int kMaxButtonPauseMs = 10200;

// The fixed delay field: 0..2040 ms, 32 for recording and 50 in the insert box.
inline constexpr int kRecordDelayDefault = 32;

struct RecordingSetup {
    RecordingKind kind = RecordingKind::kRecord;
    int capacity = kDeviceRecordCapacity;
    // The waits between events: measured, fixed, or none.
    DelayMode delay_mode = DelayMode::kRealDelays;
    int fixed_delay_ms = kRecordDelayDefault;
    // Line 0 of a macro that has none yet: the recording group's delay mode.
    std::string header_line = "10";
    // Insert recording: the bytes the macro holds already, and where the events go: before or
    // after `insert_item` (-1 on a macro without events).
    int byte_count = 0;
    int insert_item = -1;
    InsertPlace place = InsertPlace::kBefore;
};

// One key or mouse button event as the recorder takes it.
struct RecorderInput {
    enum class Kind : uint8_t { kKey, kButton };
    Kind kind = Kind::kKey;
    bool press = true;
    // Keys: the keyboard usage of the physical key; a press the keyboard repeats.
    uint8_t usage = 0;
    bool repeat = false;
    // Buttons: the bit of the button tokens (kMacroButtonLeft ..).
    uint8_t button = 0;
    // The pointer is over the record, new-macro, delete or insert-record button: a left-button
    // event there is the click that starts or stops a recording, not part of the macro.
    bool over_record_buttons = false;
    int64_t time_ms = 0;
};

// What one event did to the lines.
struct RecorderStep {
    // The line indexes added, in the order they were added (each index as it was when added).
    std::vector<std::size_t> added;
    // The list item to select afterwards (-1: leave the selection).
    int select = -1;
    // The key release that filled the recording: stop it (the release is not recorded).
    bool stop = false;
};

class MacroRecorder {
public:
    // Starts a recording over `lines`: a recording empties them and writes line 0 at once.
    // Clears the refusal of an earlier one.
    void Start(const RecordingSetup& setup, MacroLines& lines);
    // Takes one event into `lines` by the rules; nothing while no recording runs.
    RecorderStep Take(const RecorderInput& input, MacroLines& lines);
    // Ends the recording. A key refused for room (`stopped`) stays so until the next start or
    // `ClearStopped` (the insert box's confirm or cancel): the box takes no second recording
    // until then.
    void Stop();
    void ClearStopped() { stopped_ = false; }

    bool recording() const { return recording_; }
    RecordingKind kind() const { return setup_.kind; }
    int byte_count() const { return byte_count_; }
    int reserve() const { return reserve_; }
    bool stopped() const { return stopped_; }
    int insert_item() const { return insert_item_; }

private:
    RecorderStep TakeKey(const RecorderInput& input, MacroLines& lines);
    RecorderStep TakeButton(const RecorderInput& input, MacroLines& lines);
    // Line 0 when the lines have none.
    void EnsureHeader(MacroLines& lines, RecorderStep& step);
    void Add(std::string line, MacroLines& lines, RecorderStep& step);
    // The delay lines before an event (up to `max_ms` measured; none under 8 ms), and the new
    // last event time.
    void AddDelay(int64_t now, int max_ms, MacroLines& lines, RecorderStep& step);

    RecordingSetup setup_;
    bool recording_ = false;
    int byte_count_ = 0;
    int reserve_ = 12;
    bool stopped_ = false;
    std::optional<int64_t> last_event_ms_;
    int last_key_ = -1;
    // Presses since the last release, as the keyboard listener counts them.
    int presses_ = 0;
    int insert_item_ = -1;
};

}  // namespace velq
