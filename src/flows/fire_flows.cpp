#include "flows/fire_flows.h"

#include <algorithm>
#include <string>

#include "config/config_codec.h"
#include "flows/verified_write.h"

namespace velq {
namespace {

constexpr const char* kNoDevice = "Str020";
constexpr const char* kBurnFailed = "Str109";

// The fire regions the fire page's confirm writes, in their order.
constexpr SectionRange kFireSection[] = {kFireEntryRange, kFireYOffsetRange, kFireColorRange,
                                         kFireAreaRange};

// What replaced the fire macros, as the history names its entries: the factory page's three
// default set buttons (clear, PC game, mobile game).
std::string FireDefaultsCause(int set) {
    switch (set) {
        case 1:
            return "fire-pc";
        case 2:
            return "fire-mobile";
        default:
            return "fire-clear";
    }
}

template <std::size_t N>
void IntoImage(DataBuf& image, SectionRange range, const std::array<uint8_t, N>& bytes) {
    std::copy_n(bytes.begin(), std::min<std::size_t>(N, range.size), image.begin() + range.address);
}

}  // namespace

FireFlows::FireFlows(DeviceLink& link, CommandProtocol& protocol, FlowHost& host, FlowState& state,
                     EepromFlows& eeprom)
    : link_(link), protocol_(protocol), host_(host), state_(state), eeprom_(eeprom) {}

FileResult FireFlows::LoadDefaultSets() {
    return LoadFireDefaultSets(sets_);
}

void FireFlows::Say(const char* key, std::string detail) {
    UserMessage message;
    if (key != nullptr) {
        message.keys.push_back(key);
    }
    message.detail = std::move(detail);
    host_.ShowMessage(message);
}

void FireFlows::FrameBegin() {
    host_.SetDevTimerEnabled(false);
    host_.CoverPages(true);
    host_.ShowLoadingWindow(true);
}

void FireFlows::FrameEnd() {
    host_.ShowLoadingWindow(false);
    host_.SetDevTimerFirstEnabled(false);
    host_.SetDevTimerEnabled(true);
    host_.CoverPages(false);
}

FlowOutcome FireFlows::Finish(FlowOutcome outcome) const {
    NoteDeviceSide(outcome, link_, state_);
    return outcome;
}

bool FireFlows::TakeEdits(const ShownFire& edits) {
    return TakeFireEdits(state_, edits);
}

FlowOutcome FireFlows::ReadFireArea(bool factory_page) {
    FlowOutcome outcome;
    if (!link_.HasDevice()) {
        Say(kNoDevice);
        return Finish(outcome);
    }
    const bool read = eeprom_.ReadFireArea();
    outcome.fire = ShownFireOf(state_);
    if (read && factory_page) {
        outcome.fire_buttons = FireButtonsAfterRead(state_.fire_area);
    }
    return Finish(outcome);
}

const char* FireFlows::WriteRanges(const std::vector<SectionRange>& ranges) {
    protocol_.ResetCounts();
    if (!protocol_.SendCommand(Command::kOpen) || !protocol_.SendCommand(Command::kStatus)) {
        return kNotAnsweringMessage;
    }
    const StatusAnswer status = ParseStatus(protocol_.Report());
    if (!status.signature_ok) {
        return kNotAnsweringMessage;
    }
    const char* failure = WriteRefusal(status);
    const bool stored =
        failure == nullptr && WriteRangesVerified(protocol_, state_.data_buf, ranges);
    const bool reloaded = protocol_.SendCommand(Command::kReload);
    const bool closed = protocol_.SendCommand(Command::kClose);
    if (failure == nullptr && !WriteComplete(stored, protocol_.Counts(), reloaded && closed)) {
        failure = protocol_.Counts().stopped ? kPartialWriteMessage : kBurnFailed;
    }
    return failure;
}

FlowOutcome FireFlows::WriteFireSection(const MouseConfig& pages, const ShownFire& edits) {
    FlowOutcome outcome;
    if (!link_.HasDevice()) {
        Say(kNoDevice);
        return Finish(outcome);
    }
    // The tables come from the parameter area read and the blocks from the fire area read:
    // without both, the write would put defaults over what the mouse holds.
    if (!state_.read_complete || !state_.fire_area_read || !edits.read) {
        Say(kReadFailedMessage);
        return Finish(outcome);
    }
    const TimeLimit limit(protocol_, kWriteTimeLimitMs);
    FrameBegin();
    // Where a write did not complete, the mouse is read first: the page's edits go over what it
    // holds (the spare bytes of the fire area, the tables' other bytes).
    if (!eeprom_.ReadUnknownAreas(true, false)) {
        // Nothing was written; the page keeps the user's edits.
        FrameEnd();
        return Finish(outcome);
    }
    (void)TakeFireEdits(state_, edits);
    // The Y adjustments and colours as the pages show them, encoded as Apply encodes them
    // (the pair v, 255 - v); nothing else of the pages goes into the copies here.
    MouseConfig tables = state_.decoded;
    tables.fire_slots = pages.fire_slots;
    EncodeConfig(tables, state_.decoded, state_.copies);
    IntoImage(state_.data_buf, kFireEntryRange, state_.copies.fire_entry);
    IntoImage(state_.data_buf, kFireYOffsetRange, state_.copies.fire_y_offset);
    IntoImage(state_.data_buf, kFireColorRange, state_.copies.fire_color);
    IntoImage(state_.data_buf, kFireAreaRange, state_.fire_area);
    const char* failure = WriteRanges({std::begin(kFireSection), std::end(kFireSection)});
    FrameEnd();
    if (failure == nullptr) {
        // The mouse holds them now: the next Apply finds nothing of them to change.
        state_.decoded.fire_slots = pages.fire_slots;
        state_.config.fire_slots = pages.fire_slots;
    } else {
        // The tables and the fire area may hold the old values, the new or a mix.
        state_.unknown.parameters = true;
        state_.unknown.fire_area = true;
        Say(failure);
    }
    outcome.fire = ShownFireOf(state_);
    return Finish(outcome);
}

bool FireFlows::WriteFireArea() {
    IntoImage(state_.data_buf, kFireAreaRange, state_.fire_area);
    if (!link_.HasDevice()) {
        // The fire area holds the new content either way; the user must know the mouse not.
        Say(kNoDevice);
        return false;
    }
    const TimeLimit limit(protocol_, kWriteTimeLimitMs);
    FrameBegin();
    // The whole area is written: nothing of what the mouse holds there goes back with it.
    const char* failure = WriteRanges({kFireAreaRange});
    FrameEnd();
    state_.unknown.fire_area = failure != nullptr;
    if (failure != nullptr) {
        Say(failure);
    }
    return failure == nullptr;
}

FlowOutcome FireFlows::LoadFireDefaults(int set) {
    FlowOutcome outcome;
    // The set replaces every fire macro the mouse holds: the mouse is kept in the history
    // first, before the fire area takes the set.
    if (link_.HasDevice() && !eeprom_.KeepHistory(FireDefaultsCause(set))) {
        return Finish(outcome);
    }
    FireBlocks blocks;
    if (!velq::LoadFireDefaults(set, sets_, state_.fire_area, blocks)) {
        return Finish(outcome);
    }
    // Written, the set is the mouse's fire area. Otherwise it stays what the pages show for
    // this mouse, and the mouse may hold the old area, the set or a mix: the next write of the
    // area reads it first. Without a mouse it is no mouse's.
    state_.fire_area_read = WriteFireArea() || link_.HasDevice();
    outcome.fire = ShownFireOf(state_);
    outcome.fire_buttons = FireButtonsAfterDefaults(set);
    return Finish(outcome);
}

FlowOutcome FireFlows::ImportFireArea(const std::filesystem::path& file) {
    FlowOutcome outcome;
    std::vector<uint8_t> bytes;
    const FileResult read = ReadWholeFile(file, bytes, kFireAreaSize);
    if (!read && !read.refused) {
        Say(nullptr, read.error);
        return Finish(outcome);
    }
    if (!read || bytes.size() != kFireAreaSize) {
        Say(kNotAFireAreaFileMessage, file.string());
        return Finish(outcome);
    }
    if (link_.HasDevice() && !eeprom_.KeepHistory("fire-import")) {
        return Finish(outcome);
    }
    std::copy(bytes.begin(), bytes.end(), state_.fire_area.begin());
    // As with a default set: not written, the imported area stays the pages' for this mouse.
    state_.fire_area_read = WriteFireArea() || link_.HasDevice();
    // The fire page shows what was imported: its older working copy must not go out over it
    // with the next confirm.
    outcome.fire = ShownFireOf(state_);
    return Finish(outcome);
}

}  // namespace velq
