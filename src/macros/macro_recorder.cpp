#include "macros/macro_recorder.h"

#include <algorithm>
#include <string_view>

#include "buttons/key_list.h"
#include "buttons/linux_keys.h"
#include "macros/macro_token.h"

namespace velq {

namespace {

constexpr int kNoDelayReserve = 6;
constexpr int kDelayReserve = 12;
constexpr int kKeyBytes = 2;
constexpr int kButtonBytes = 1;
constexpr int kDelayBytes = 2;

// The modifier token of a virtual key as raw input reports it; 0 for any other key.
uint8_t ModifierMaskOf(int virtual_key) {
    switch (virtual_key) {
        case kVkShift:
            return kMacroModShift;
        case kVkControl:
            return kMacroModCtrl;
        case kVkMenu:
            return kMacroModAlt;
        case kVkLeftWin:
            return kMacroModLeftWin;
        case kVkRightWin:
            return kMacroModRightWin;
        default:
            return 0;
    }
}

}  // namespace

int RecordCapacity(ContentForm form, RecordingKind kind) {
    return form == ContentForm::kUtility && kind == RecordingKind::kRecord ? kUtilityRecordCapacity
                                                                           : kDeviceRecordCapacity;
}

int RecordReserve(DelayMode mode) {
    return mode == DelayMode::kNoDelay ? kNoDelayReserve : kDelayReserve;
}

void MacroRecorder::Start(const RecordingSetup& setup, MacroLines& lines) {
    setup_ = setup;
    recording_ = true;
    stopped_ = false;
    reserve_ = RecordReserve(setup.delay_mode);
    last_event_ms_.reset();
    last_key_ = -1;
    presses_ = 0;
    if (setup.kind == RecordingKind::kRecord) {
        lines.clear();
        byte_count_ = 0;
        RecorderStep ignored;
        EnsureHeader(lines, ignored);
    } else {
        byte_count_ = setup.byte_count;
        // On a macro without events, the first one goes in as line 1 whichever the place.
        insert_item_ = EventCount(lines) == 0 ? (setup.place == InsertPlace::kBefore ? 0 : -1)
                                              : setup.insert_item;
    }
}

void MacroRecorder::Stop() {
    recording_ = false;
    last_event_ms_.reset();
}

RecorderStep MacroRecorder::Take(const RecorderInput& input, MacroLines& lines) {
    if (!recording_) {
        return {};
    }
    return input.kind == RecorderInput::Kind::kKey ? TakeKey(input, lines)
                                                   : TakeButton(input, lines);
}

void MacroRecorder::EnsureHeader(MacroLines& lines, RecorderStep& /*step*/) {
    if (lines.empty()) {
        lines.push_back(setup_.header_line);
    }
}

void MacroRecorder::Add(std::string line, MacroLines& lines, RecorderStep& step) {
    if (setup_.kind == RecordingKind::kRecord) {
        lines.push_back(std::move(line));
        step.added.push_back(lines.size() - 1);
        step.select = static_cast<int>(lines.size()) - 2;
        return;
    }
    const std::size_t at =
        static_cast<std::size_t>(insert_item_ + (setup_.place == InsertPlace::kBefore ? 1 : 2));
    const std::size_t position = std::min(at, lines.size());
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(position), std::move(line));
    step.added.push_back(position);
    ++insert_item_;
    step.select = insert_item_;
}

void MacroRecorder::AddDelay(int64_t now, int max_ms, MacroLines& lines, RecorderStep& step) {
    if (!last_event_ms_ || setup_.delay_mode == DelayMode::kNoDelay) {
        // The first event has no wait before it; without waits there are none.
        if (setup_.delay_mode != DelayMode::kNoDelay) {
            last_event_ms_ = now;
        }
        return;
    }
    const int64_t measured = std::clamp<int64_t>(now - *last_event_ms_, 0, max_ms);
    int wait = setup_.delay_mode == DelayMode::kRealDelays ? static_cast<int>(measured)
                                                           : setup_.fixed_delay_ms;
    // A wait longer than one delay line's 2040 ms goes in as several (only before a button).
    // What is shorter than one 8 ms unit of the mouse's waits is left out: stored, it would
    // be no wait at all, yet take two bytes of the room.
    while (wait >= kDelayUnitMs) {
        const int part = std::min(wait, kMaxDelayTokenMs);
        Add(DelayLine(part), lines, step);
        byte_count_ += kDelayBytes;
        wait -= part;
    }
    last_event_ms_ = now;
}

RecorderStep MacroRecorder::TakeKey(const RecorderInput& input, MacroLines& lines) {
    RecorderStep step;
    // The keyboard's count of presses since the last release: a second press before a release
    // is a repeat, or another key held with the first.
    if (input.press) {
        ++presses_;
    } else if (input.repeat) {
        return step;  // the release half of a repeat
    } else {
        presses_ = 0;
    }
    const std::optional<uint8_t> virtual_key = VirtualKeyOfUsage(input.usage);
    const int key_index = virtual_key ? KeyIndexOfVirtualKey(*virtual_key) : kKeyIndexNone;
    if (key_index == kKeyIndexNone || key_index == kKeyIndexOutsideList) {
        return step;  // a key the list has no name for
    }
    const int key = *virtual_key;
    EnsureHeader(lines, step);
    if (stopped_) {
        return step;
    }
    std::string_view prefix;
    if (input.press) {
        if (presses_ >= 2 && key == last_key_) {
            return step;  // held down: the keyboard repeats it
        }
        if (byte_count_ <= setup_.capacity - reserve_) {
            prefix = "1 ";
        } else {
            stopped_ = true;
        }
    } else {
        if (byte_count_ <= setup_.capacity) {
            prefix = "2 ";
        } else {
            stopped_ = true;
        }
    }
    last_key_ = key;
    if (prefix.empty()) {
        return step;
    }
    if (byte_count_ >= setup_.capacity) {
        step.stop = true;
        return step;
    }
    AddDelay(input.time_ms, kMaxKeyPauseMs, lines, step);
    const std::string_view name = KeyIndexName(key_index);
    if (const uint8_t mask = ModifierMaskOf(key)) {
        Add(ModifierLine(input.press, mask), lines, step);
    } else {
        Add(KeyLine(input.press, name, UsageOfKeyIndex(key_index)), lines, step);
    }
    byte_count_ += kKeyBytes;
    return step;
}

RecorderStep MacroRecorder::TakeButton(const RecorderInput& input, MacroLines& lines) {
    RecorderStep step;
    if (input.button == kMacroButtonLeft && input.over_record_buttons) {
        return step;
    }
    EnsureHeader(lines, step);
    if (input.press) {
        if (byte_count_ > setup_.capacity - reserve_) {
            // Refused: the count goes past the capacity, so that nothing more is taken.
            byte_count_ += reserve_;
            return step;
        }
    } else if (byte_count_ > setup_.capacity) {
        return step;
    }
    AddDelay(input.time_ms, kMaxButtonPauseMs, lines, step);
    Add(ButtonLine(input.press, input.button), lines, step);
    byte_count_ += kButtonBytes;
    return step;
}

}  // namespace velq
