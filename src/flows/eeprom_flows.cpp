#include "flows/eeprom_flows.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "buttons/function_code.h"
#include "config/config_codec.h"
#include "flows/mouse_history.h"
#include "flows/read_messages.h"
#include "flows/verified_write.h"
#include "image/profile_file.h"
#include "macros/macro_name.h"

namespace velq {

const char* WriteRefusal(const StatusAnswer& status) {
    if (!status.write_enabled) {
        return kWriteNotPermittedMessage;
    }
    if (status.chip_number == 0) {
        return kUnknownChipMessage;
    }
    return nullptr;
}
namespace {

constexpr int kPauseTicks = 11;
constexpr int kPauseTickMs = 10;
constexpr const char* kNoDevice = "Str020";
constexpr const char* kWrongDevice = "Str107";
constexpr const char* kBurnFailed = "Str109";
constexpr const char* kAimKeyName = "Str222";

// The base macro file: slots 1..4 as the mouse holds them at 0x100-0x4FF.
constexpr size_t kBaseMacroSlots = 4;
constexpr size_t kBaseMacroFileSize = kBaseMacroSlots * kMacroSlotSize;
constexpr SectionRange kBaseMacroRange{0x100, static_cast<uint16_t>(kBaseMacroFileSize)};
constexpr SlotMask kBaseMacroSlotMask = (1u << kBaseMacroSlots) - 1;
constexpr SlotMask kAllSlots = (1u << kMacroSlotCount) - 1;
static_assert(kMacroSlotBase[3] + kMacroSlotSize == 0x500, "slots 1..4 lie together");
// "Error no tipo de arquivo BIN ": the file is not what the page asked for.
constexpr const char* kWrongFileMessage = "Str102";

// What replaced the mouse's settings, as the history names its entries: the frame's three
// reset buttons, and the factory page's default buttons by the image they write.
std::string ResetCause(int image) {
    return "reset-" + std::to_string(image + 1);
}
std::string DefaultsCause(int image) {
    switch (image) {
        case 3:
            return "default-dpi";
        case 4:
            return "default-light";
        default:
            return "defaults";
    }
}

// The first 1024 bytes of a base macro file; false, with the file named and what is wrong
// with it, for a file that cannot be read or is shorter.
bool ReadBaseMacroFile(const std::filesystem::path& file,
                       std::array<uint8_t, kBaseMacroFileSize>& bytes, std::string& error) {
    std::error_code code;
    if (!std::filesystem::is_regular_file(file, code)) {
        error = file.string() + ": not a file that can be read";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const auto count = static_cast<size_t>(in.gcount());
    if (count < bytes.size()) {
        error = file.string() + ": " + std::to_string(count) + " bytes, " +
                std::to_string(bytes.size()) + " needed";
        return false;
    }
    return true;
}

}  // namespace

EepromFlows::EepromFlows(DeviceLink& link, CommandProtocol& protocol, Clock& clock, FlowHost& host,
                         FlowState& state)
    : link_(link), protocol_(protocol), clock_(clock), host_(host), state_(state) {}

void EepromFlows::SetExpectedCodes(DeviceCodes first, DeviceCodes second) {
    expected_ = {first, second};
}

void EepromFlows::ShowMessage(const char* key, UserMessage::Box box, std::string detail) {
    UserMessage message;
    message.box = box;
    if (key != nullptr && *key != '\0') {
        message.keys.push_back(key);
    }
    message.detail = std::move(detail);
    host_.ShowMessage(message);
}

void EepromFlows::FrameBegin() {
    host_.SetDevTimerEnabled(false);
    host_.CoverPages(true);
    host_.ShowLoadingWindow(true);
}

void EepromFlows::FrameEnd(bool uncover) {
    host_.ShowLoadingWindow(false);
    host_.SetDevTimerFirstEnabled(false);
    host_.SetDevTimerEnabled(true);
    if (uncover) {
        host_.CoverPages(false);
    }
}

void EepromFlows::ButtonPause() {
    for (int i = 0; i < kPauseTicks; ++i) {
        clock_.SleepMs(kPauseTickMs);
    }
}

bool EepromFlows::OpenTransaction(StatusAnswer& status) {
    if (!protocol_.SendCommand(Command::kOpen) || !protocol_.SendCommand(Command::kStatus)) {
        return false;
    }
    status = ParseStatus(protocol_.Report());
    return status.signature_ok;
}

bool EepromFlows::CloseTransaction() {
    // `SystemReloadCmd_OnClick` and `Close`: the mouse takes over what it holds now.
    const bool reloaded = protocol_.SendCommand(Command::kReload);
    const bool closed = protocol_.SendCommand(Command::kClose);
    return reloaded && closed;
}

SectionRepairs EepromFlows::FillFromDataBuf() {
    return FillSectionCopies(state_.data_buf, state_.copies);
}

void EepromFlows::ShowDecoded(FlowOutcome& outcome) {
    state_.decoded = DecodeConfig(state_.copies);
    state_.config = state_.decoded;
    outcome.shown = Shown(state_);
}

FlowOutcome EepromFlows::Finish(FlowOutcome outcome) const {
    NoteDeviceSide(outcome, link_, state_);
    return outcome;
}

const char* EepromFlows::WriteFailure() const {
    // A write the user stopped may have left part of the new settings in the mouse.
    return protocol_.Counts().stopped ? kPartialWriteMessage : kBurnFailed;
}

// Copies the macro slots and the fire area of the image into their working buffers
// (`ReadAndRefreshMacro`); the mouse holds them as the image has them.
static void TakeMacrosAndFireArea(FlowState& state) {
    state.macros = MacrosOfImage(state.data_buf);
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        state.device_slot_names[s] = state.macros.ListName(static_cast<int>(s) + 1);
    }
    std::copy_n(state.data_buf.begin() + kFireAreaRange.address, state.fire_area.size(),
                state.fire_area.begin());
}

bool EepromFlows::ReadSlotNames() {
    // A parameters-only read names the macro buttons too: the six slot names are read inside
    // the same transaction, so naming a button later never talks to the mouse. They become the
    // names of the slot copies (whose contents the mouse was not asked for: empty), so a macro
    // of the same name given to a button goes back into its slot.
    DeviceMacros macros;
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        std::array<uint8_t, kMacroNameSize> name{};
        if (!ReadBlockTrusted(protocol_, static_cast<uint16_t>(kMacroSlotBase[s]), kMacroNameSize,
                              name, LoadingWindow::kShown)) {
            return false;
        }
        std::copy(name.begin(), name.end(), macros.slot_bytes[s].begin());
    }
    state_.macros = macros;
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        state_.device_slot_names[s] = macros.ListName(static_cast<int>(s) + 1);
    }
    return true;
}

bool EepromFlows::Read(bool full, FlowOutcome& outcome) {
    const TimeLimit limit(protocol_, kReadTimeLimitMs);
    FrameBegin();
    DataBuf image;
    image.fill(0xFF);
    const uint16_t length = full ? kDataBufSize : kParameterAreaRange.size;
    const bool read = ReadBlockTrusted(protocol_, 0, length, std::span(image).first(length),
                                       LoadingWindow::kShown) &&
                      (full || ReadSlotNames());
    if (!read) {
        // Half-read data or the 0xFF fill never reaches the pages, and nothing counts as read:
        // the pages stay covered and Apply and Save wait for a read that completes.
        state_.read_complete = false;
        CloseTransaction();
        FrameEnd(false);
        return false;
    }
    state_.data_buf = image;
    // The sections that fail their checks are shown repaired; the image keeps what the mouse
    // holds, so nothing but an Apply the user asks for puts the repairs into the mouse.
    const SectionRepairs repairs = FillFromDataBuf();
    // What was read is what the mouse holds. The slot copies hold what was read of the slots
    // (their names, after a read of the parameters) and claim nothing more.
    state_.unknown.parameters = false;
    state_.unknown.macro_slots = 0;
    if (full) {
        TakeMacrosAndFireArea(state_);
        state_.unknown.fire_area = false;
    }
    state_.read_complete = true;
    ShowDecoded(outcome);
    outcome.show_first_page = true;
    host_.CoverPages(false);
    CloseTransaction();
    FrameEnd(true);
    if (const std::optional<UserMessage> said = RepairedSettingsMessage(repairs)) {
        host_.ShowMessage(*said);
    }
    return true;
}

bool EepromFlows::WriteFireAreaAndMacros(std::vector<SectionRange>& written,
                                         SlotMask& written_slots) {
    if (state_.fire_area_read) {
        if (!protocol_.WriteBlock(kFireAreaRange.address, kFireAreaRange.size, state_.fire_area)) {
            return false;
        }
        written.push_back(kFireAreaRange);
    }
    // The slots given a macro since the mouse was last read or written that a button plays;
    // the others are as the mouse holds them, or played by nothing.
    std::vector<FunctionCode> codes(state_.config.office.begin(), state_.config.office.end());
    codes.insert(codes.end(), state_.config.gaming.begin(), state_.config.gaming.end());
    const SlotMask due = SlotsToWrite(codes, state_.macros.changed);
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        if (((due >> s) & 1u) == 0) {
            continue;
        }
        const MacroSlotBytes& slot = state_.macros.slot_bytes[s];
        const auto name_at = static_cast<uint16_t>(kMacroSlotBase[s]);
        const auto content_at = static_cast<uint16_t>(name_at + kMacroNameSize);
        if (!protocol_.WriteBlock(name_at, kMacroNameSize, std::span(slot).first(kMacroNameSize)) ||
            !protocol_.WriteBlock(content_at, kMacroContentSize,
                                  std::span(slot).subspan(kMacroNameSize))) {
            return false;
        }
        written.push_back({name_at, static_cast<uint16_t>(kMacroNameSize)});
        written.push_back({content_at, static_cast<uint16_t>(kMacroContentSize)});
        written_slots |= 1u << s;
    }
    return true;
}

void EepromFlows::SlotsStored(SlotMask stored_slots) {
    state_.macros.changed &= ~stored_slots;
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        if (((stored_slots >> s) & 1u) != 0) {
            state_.device_slot_names[s] = state_.macros.ListName(static_cast<int>(s) + 1);
        }
    }
}

bool EepromFlows::ReadUnknownAreas(bool fire_area, bool macro_slots) {
    UnknownAreas& unknown = state_.unknown;
    const bool read_fire_area = fire_area && unknown.fire_area;
    const SlotMask read_slots = macro_slots ? unknown.macro_slots : 0;
    if (!unknown.parameters && !read_fire_area && read_slots == 0) {
        return true;
    }
    StatusAnswer status;
    if (!OpenTransaction(status)) {
        ShowMessage(kNotAnsweringMessage);
        return false;
    }
    DataBuf image = state_.data_buf;
    const auto into = [&image](SectionRange range) {
        return std::span(image).subspan(range.address, range.size);
    };
    bool read =
        !unknown.parameters || ReadBlockTrusted(protocol_, 0, kParameterAreaRange.size,
                                                into(kParameterAreaRange), LoadingWindow::kShown);
    if (read && read_fire_area) {
        read = ReadBlockTrusted(protocol_, kFireAreaRange.address, kFireAreaRange.size,
                                into(kFireAreaRange), LoadingWindow::kShown);
    }
    for (size_t s = 0; s < kMacroSlotCount && read; ++s) {
        if (((read_slots >> s) & 1u) != 0) {
            const SectionRange slot{static_cast<uint16_t>(kMacroSlotBase[s]),
                                    static_cast<uint16_t>(kMacroSlotSize)};
            read = ReadBlockTrusted(protocol_, slot.address, slot.size, into(slot),
                                    LoadingWindow::kShown);
        }
    }
    CloseTransaction();
    if (!read) {
        // Writing over an area whose content is not known would be writing blind.
        ShowMessage(kReadFailedMessage);
        return false;
    }
    if (unknown.parameters) {
        // The base the pages' settings are encoded against is what the mouse holds (a section
        // a torn write damaged is repaired as after any read).
        std::copy_n(image.begin(), kParameterAreaRange.size, state_.data_buf.begin());
        FillFromDataBuf();
        state_.decoded = DecodeConfig(state_.copies);
        unknown.parameters = false;
    }
    if (read_fire_area) {
        // The blocks are the pages'; the spare bytes after them are the mouse's.
        const auto spare = image.begin() + kFireAreaRange.address + kFireBlocksSize;
        std::copy(spare, image.begin() + kFireAreaRange.End(),
                  state_.fire_area.begin() + kFireBlocksSize);
        unknown.fire_area = false;
    }
    if (read_slots != 0) {
        // A slot given a macro that a button plays is written whole from the window's copy;
        // any other becomes what the mouse holds, so the buttons are named as it plays them.
        std::vector<FunctionCode> codes(state_.config.office.begin(), state_.config.office.end());
        codes.insert(codes.end(), state_.config.gaming.begin(), state_.config.gaming.end());
        const SlotMask due = SlotsToWrite(codes, state_.macros.changed);
        for (size_t s = 0; s < kMacroSlotCount; ++s) {
            const SlotMask bit = 1u << s;
            if ((read_slots & bit) == 0 || (due & bit) != 0) {
                continue;
            }
            std::copy_n(image.begin() + kMacroSlotBase[s], kMacroSlotSize,
                        state_.macros.slot_bytes[s].begin());
            state_.macros.changed &= ~bit;
            state_.device_slot_names[s] = state_.macros.ListName(static_cast<int>(s) + 1);
        }
        unknown.macro_slots &= ~read_slots;
    }
    return true;
}

bool EepromFlows::WriteParameters(const MouseConfig& pages, const DeviceMacros& macros,
                                  const std::optional<ShownFire>& fire, FlowOutcome& outcome) {
    const TimeLimit limit(protocol_, kWriteTimeLimitMs);
    FrameBegin();
    state_.config = pages;
    state_.macros = macros;
    const uint8_t shown_aim_dpi = state_.decoded.aim_dpi;
    // Where a write did not complete, the mouse is read first: the pages' settings go over what
    // it holds, never over what the abandoned write was taken to have left.
    if (!ReadUnknownAreas(state_.fire_area_read, true)) {
        FrameEnd(true);
        return false;
    }
    // An aim DPI the user did not choose is no change: against a base read afresh, the aim keys
    // keep the DPIs the pages show them with (two may differ).
    if (pages.aim_dpi == shown_aim_dpi) {
        state_.config.aim_dpi = state_.decoded.aim_dpi;
    }
    if (fire) {
        (void)TakeFireEdits(state_, *fire);
    }
    // Only what changed is written: the aim keys, for one, keep the DPIs read from the mouse
    // (two aim keys may differ) unless the aim DPI was changed, and then all take it.
    EncodeConfig(state_.config, state_.decoded, state_.copies);
    StoreSectionCopies(state_.copies, state_.data_buf);
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        std::copy(state_.macros.slot_bytes[s].begin(), state_.macros.slot_bytes[s].end(),
                  state_.data_buf.begin() + kMacroSlotBase[s]);
    }
    std::copy(state_.fire_area.begin(), state_.fire_area.end(),
              state_.data_buf.begin() + kFireAreaRange.address);

    // The slots this write reaches, for what it leaves unknown should it not complete.
    std::vector<FunctionCode> codes(state_.config.office.begin(), state_.config.office.end());
    codes.insert(codes.end(), state_.config.gaming.begin(), state_.config.gaming.end());
    const SlotMask due = SlotsToWrite(codes, state_.macros.changed);

    const char* failure = nullptr;
    SlotMask slots = 0;
    StatusAnswer status;
    if (!OpenTransaction(status)) {
        failure = kNotAnsweringMessage;
    } else if (!status.write_enabled) {
        CloseTransaction();
        failure = kWriteNotPermittedMessage;
    } else {
        protocol_.ResetCounts();
        std::vector<SectionRange> written;
        bool stored = protocol_.WriteBlock(0, kParameterAreaRange.size, state_.data_buf);
        if (stored) {
            written.push_back(kParameterAreaRange);
            stored = WriteFireAreaAndMacros(written, slots) && protocol_.Counts().WritesComplete();
        }
        if (stored && protocol_.Counts().retried_writes > 0) {
            // A chunk answered only after a repeated request may have been stored twice, the
            // second time where the next chunk belongs: read back what was written and repair
            // it.
            stored = VerifyWrittenRanges(protocol_, state_.data_buf, written).Verified();
        }
        const bool closed = CloseTransaction();
        if (!WriteComplete(stored, protocol_.Counts(), closed)) {
            failure = WriteFailure();
        }
    }
    FrameEnd(true);
    if (failure != nullptr) {
        // A write the mouse did not take must not pass for a finished Apply, and what it
        // reached may hold the old settings, the new or a mix: the next write reads it first.
        state_.unknown.parameters = true;
        state_.unknown.fire_area = state_.unknown.fire_area || state_.fire_area_read;
        state_.unknown.macro_slots |= due;
        ShowMessage(failure);
        return false;
    }
    // What the mouse holds now is the base of the next Apply, and what the pages show: an
    // Apply with nothing changed in between finds nothing to write.
    state_.decoded = DecodeConfig(state_.copies);
    state_.config = state_.decoded;
    SlotsStored(slots);
    outcome.config = state_.config;
    return true;
}

bool EepromFlows::ReadyToWrite() {
    ButtonPause();
    if (!link_.HasDevice()) {
        ShowMessage(kNoDevice);
        return false;
    }
    if (!state_.read_complete) {
        // What the pages show is not what the mouse holds: writing it would replace the
        // mouse's settings with defaults or half-read data.
        ShowMessage(kReadFailedMessage);
        return false;
    }
    return true;
}

FlowOutcome EepromFlows::Apply(const MouseConfig& pages, const DeviceMacros& macros,
                               const std::optional<ShownFire>& fire) {
    FlowOutcome outcome;
    if (ReadyToWrite()) {
        (void)WriteParameters(pages, macros, fire, outcome);
        // The slots the mouse took are no longer marked; a failed write leaves them marked.
        outcome.macros = state_.macros;
    }
    return Finish(outcome);
}

FlowOutcome EepromFlows::Confirm(const MouseConfig& pages, const DeviceMacros& macros,
                                 const std::optional<ShownFire>& fire) {
    // The window closes only after a write that succeeded; otherwise the user keeps the
    // window and the edits.
    FlowOutcome outcome;
    if (ReadyToWrite()) {
        if (WriteParameters(pages, macros, fire, outcome)) {
            ButtonPause();
            outcome.close_window = true;
        }
        outcome.macros = state_.macros;
    }
    return Finish(outcome);
}

FlowOutcome EepromFlows::ImportBaseMacro(const std::filesystem::path& file,
                                         const DeviceMacros& macros) {
    FlowOutcome outcome;
    if (!ReadyToWrite()) {
        return Finish(outcome);
    }
    std::array<uint8_t, kBaseMacroFileSize> bytes{};
    if (std::string error; !ReadBaseMacroFile(file, bytes, error)) {
        ShowMessage(kWrongFileMessage, UserMessage::Box::kMessageWindow, error);
        return Finish(outcome);
    }
    if (!KeepHistory("base-macro")) {
        return Finish(outcome);
    }
    const TimeLimit limit(protocol_, kWriteTimeLimitMs);
    FrameBegin();
    const char* failure = nullptr;
    StatusAnswer status;
    protocol_.ResetCounts();
    if (!OpenTransaction(status)) {
        failure = kNotAnsweringMessage;
    } else {
        failure = WriteRefusal(status);
        if (failure == nullptr) {
            DataBuf image = state_.data_buf;
            std::copy(bytes.begin(), bytes.end(), image.begin() + kBaseMacroRange.address);
            const bool stored =
                WriteRangesVerified(protocol_, image, std::span(&kBaseMacroRange, 1));
            const bool closed = CloseTransaction();
            if (WriteComplete(stored, protocol_.Counts(), closed)) {
                // Slots 1..4 are the file's now, in the mouse and in the copy; slots 5 and 6
                // stay as the window had them.
                state_.data_buf = image;
                const DeviceMacros taken = MacrosOfImage(image);
                state_.macros = macros;
                for (size_t s = 0; s < kBaseMacroSlots; ++s) {
                    state_.macros.slot_bytes[s] = taken.slot_bytes[s];
                }
                SlotsStored(kBaseMacroSlotMask);
                state_.unknown.macro_slots &= ~kBaseMacroSlotMask;
                outcome.macros = state_.macros;
            } else {
                failure = WriteFailure();
            }
        } else {
            CloseTransaction();
        }
    }
    if (failure != nullptr) {
        // Slots 1..4 may hold their macros, the file's or a mix: the next Apply reads them.
        state_.unknown.macro_slots |= kBaseMacroSlotMask;
    }
    FrameEnd(true);
    if (failure != nullptr) {
        ShowMessage(failure);
    }
    return Finish(outcome);
}

FlowOutcome EepromFlows::Reset(int image) {
    FlowOutcome outcome;
    ButtonPause();
    if (!link_.HasDevice()) {
        ShowMessage(kNoDevice);
    } else if (KeepHistory(ResetCause(image))) {
        (void)WriteBuiltInImage(image, outcome);
    }
    return Finish(outcome);
}

FlowOutcome EepromFlows::RestoreDefaults(int image) {
    FlowOutcome outcome;
    ButtonPause();
    // Silently without a mouse: the result picture stays hidden.
    if (link_.HasDevice() && KeepHistory(DefaultsCause(image))) {
        outcome.result_picture = WriteBuiltInImage(image, outcome);
    }
    return Finish(outcome);
}

bool EepromFlows::WriteBuiltInImage(int image, FlowOutcome& outcome) {
    const TimeLimit limit(protocol_, kWriteTimeLimitMs);
    FrameBegin();
    const int n = image >= 0 && image < kEepromDefaultImages ? image : 0;
    state_.data_buf = state_.defaults.eeprom[static_cast<size_t>(n)];
    state_.device_slot_names.fill({});
    const bool written = WriteWholeImage(outcome);
    FrameEnd(true);
    // Only a reset that reached the mouse put this fire area into it.
    state_.fire_area_read = written;
    return written;
}

bool EepromFlows::WriteWholeImage(FlowOutcome& outcome) {
    const TimeLimit limit(protocol_, kWriteTimeLimitMs);
    if (FillFromDataBuf()) {
        // A damaged section goes to the mouse as the pages show it, repaired, never with a
        // checksum the mouse would take for damage.
        StoreSectionCopies(state_.copies, state_.data_buf);
    }
    TakeMacrosAndFireArea(state_);
    FrameBegin();
    const char* failure = nullptr;
    StatusAnswer status;
    protocol_.ResetCounts();
    if (!OpenTransaction(status)) {
        failure = kNotAnsweringMessage;
    } else {
        failure = WriteRefusal(status);
        if (failure == nullptr && WriteImageVerified(protocol_, state_.data_buf).BurnFailed()) {
            failure = WriteFailure();
        }
        CloseTransaction();
    }
    // The pages show the image either way; it counts as the mouse's only once verified, and
    // until a read nothing of the mouse is known.
    state_.read_complete = failure == nullptr;
    if (failure == nullptr) {
        state_.unknown = {};
    } else {
        state_.unknown = {.parameters = true, .fire_area = true, .macro_slots = kAllSlots};
    }
    ShowDecoded(outcome);
    FrameEnd(true);
    if (failure != nullptr) {
        ShowMessage(failure);
    }
    return failure == nullptr;
}

bool EepromFlows::ReadFireArea() {
    const TimeLimit limit(protocol_, kReadTimeLimitMs);
    FrameBegin();
    bool read = false;
    StatusAnswer status;
    if (!OpenTransaction(status)) {
        FrameEnd(true);
        ShowMessage(kNotAnsweringMessage);
        return false;
    }
    if (status.write_enabled && status.chip_number != 0) {
        uint8_t codes[2] = {0xFF, 0xFF};
        // A code read that failed is a failure, never a match: its 0xFF fill could equal an
        // expected pair.
        if (!ReadBlockTrusted(protocol_, kDeviceCodesRange.address, kDeviceCodesRange.size, codes,
                              LoadingWindow::kHidden)) {
            CloseTransaction();
            FrameEnd(true);
            ShowMessage(kReadFailedMessage);
            return false;
        }
        const DeviceCodes found{codes[0], codes[1]};
        if (found == expected_[0] || found == expected_[1]) {
            FireArea area{};
            read = ReadBlockTrusted(protocol_, kFireAreaRange.address, kFireAreaRange.size, area,
                                    LoadingWindow::kShown);
            if (read) {
                state_.fire_area = area;
                state_.fire_area_read = true;
                state_.unknown.fire_area = false;
            }
            CloseTransaction();
            if (!read) {
                FrameEnd(true);
                ShowMessage(kReadFailedMessage);
                return false;
            }
        } else {
            CloseTransaction();
            ShowMessage(kWrongDevice, UserMessage::Box::kSystemBox);
            host_.SetDevTimerEnabled(true);
        }
    } else {
        CloseTransaction();
        link_.DropDevice();
        ShowMessage(kNoDevice, UserMessage::Box::kSystemBox);
        host_.SetDevTimerEnabled(true);
    }
    FrameEnd(true);
    return read;
}

bool EepromFlows::KeepHistory(std::string_view cause) {
    FrameBegin();
    const HistoryResult kept = KeepMouseInHistory(protocol_, cause, LoadingWindow::kShown);
    if (kept) {
        // The replacing write follows at once, in the same frame.
        return true;
    }
    // The pages stay as they were, covered when they do not show what the mouse holds.
    FrameEnd(state_.read_complete);
    // A mouse that did not answer is said as such; a file that could not be kept is named.
    UserMessage message;
    if (kept.not_answering) {
        message = UserMessage::Window({kNotAnsweringMessage, kept.message}, ". ");
    } else {
        message = UserMessage::Window({kept.message});
    }
    if (std::string_view(kept.message) == kHistoryNotKeptMessage) {
        message.detail = kept.detail;
    }
    host_.ShowMessage(message);
    return false;
}

FlowOutcome EepromFlows::SaveProfile(const std::filesystem::path& file) {
    FlowOutcome outcome;
    if (!link_.HasDevice()) {
        ShowMessage(kNoDevice);
        return Finish(outcome);
    }
    // The file is the mouse's memory only after a complete read of this mouse; whatever went
    // wrong was said by the identification, and no file is created or replaced.
    if (cycle_ == nullptr) {
        return Finish(outcome);
    }
    const Identification identified = cycle_->Identify(true, outcome);
    if (identified != Identification::kRead) {
        cycle_->SayIfSilent(identified);
        return Finish(outcome);
    }
    const ProfileFileResult saved = SaveProfileFile(file, ProfileMode::kEeprom, state_.data_buf);
    if (!saved) {
        ShowMessage(nullptr, UserMessage::Box::kMessageWindow, saved.error);
    }
    return Finish(outcome);
}

FlowOutcome EepromFlows::LoadProfile(const std::filesystem::path& file) {
    FlowOutcome outcome;
    if (!link_.HasDevice()) {
        ShowMessage(kNoDevice);
        return Finish(outcome);
    }
    DataBuf image;
    const ProfileFileResult loaded = LoadEepromProfile(file, image);
    if (!loaded) {
        // A file of the wrong size never reaches the mouse: half of it would mix with what
        // the image held.
        ShowMessage(loaded.caption_key.c_str(), UserMessage::Box::kMessageWindow, loaded.error);
        return Finish(outcome);
    }
    if (!KeepHistory("load")) {
        return Finish(outcome);
    }
    state_.data_buf = image;
    SectionCopies checked;
    const bool repaired = FillSectionCopies(image, checked).Any();
    state_.device_slot_names.fill({});
    const bool written = WriteWholeImage(outcome);
    // Only a load that reached the mouse put the file's fire area into it.
    state_.fire_area_read = written;
    if (written && repaired) {
        ShowMessage(kFileRepairedMessage);
    }
    return Finish(outcome);
}

std::optional<std::filesystem::path> ChooseProfileFile(FlowHost& host, ProfileFileUse use,
                                                       bool device_open) {
    if (!device_open) {
        host.ShowMessage(UserMessage::Window({kNoDevice}));
        return std::nullopt;
    }
    std::filesystem::path file;
    const bool chosen =
        use == ProfileFileUse::kSave ? host.ChooseSaveFile(file) : host.ChooseLoadFile(file);
    if (!chosen) {
        return std::nullopt;
    }
    return file;
}

}  // namespace velq
