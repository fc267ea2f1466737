#include "flows/eeprom_flows.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "buttons/function_code.h"
#include "config/config_codec.h"
#include "flows/verified_write.h"
#include "image/profile_file.h"
#include "macros/macro_name.h"

namespace velq {
namespace {

constexpr int kPauseTicks = 11;
constexpr int kPauseTickMs = 10;
constexpr const char* kNoDevice = "Str020";
constexpr const char* kWrongDevice = "Str107";
constexpr const char* kBurnFailed = "Str109";
constexpr const char* kAimKeyName = "Str222";

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

// The slot locator (address of the slot's length byte) of slot s (0-based).
uint16_t SlotLocator(size_t s) {
    return static_cast<uint16_t>(kMacroSlotBase[s] + kMacroNameSize + 1);
}

std::string SlotNameText(std::span<const uint8_t, kMacroNameSize> name) {
    return IsFreeMacroName(name) ? std::string() : Utf16ToUtf8(MacroNameText(name));
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

void EepromFlows::CloseTransaction() {
    // `SystemReloadCmd_OnClick` and `Close`: the mouse takes over what it holds now.
    (void)protocol_.SendCommand(Command::kReload);
    (void)protocol_.SendCommand(Command::kClose);
}

bool EepromFlows::FillFromDataBuf() {
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

// Copies the macro slots and the fire area of the image into their working buffers and lists
// the slots' names.
static void TakeMacrosAndFireArea(FlowState& state) {
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        std::copy_n(state.data_buf.begin() + kMacroSlotBase[s], kMacroSlotSize,
                    state.device_macros[s].begin());
    }
    std::copy_n(state.data_buf.begin() + kFireAreaRange.address, state.fire_area.size(),
                state.fire_area.begin());
    state.macro_list.clear();
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        state.macro_list.push_back(
            SlotNameText(std::span(state.device_macros[s]).first<kMacroNameSize>()));
    }
}

bool EepromFlows::ReadSlotNames() {
    // A parameters-only read names the macro buttons too: the six slot names are read inside
    // the same transaction, so naming a button later never talks to the mouse.
    std::array<std::string, kMacroSlotCount> names;
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        std::array<uint8_t, kMacroNameSize> name{};
        if (!ReadBlockTrusted(protocol_, static_cast<uint16_t>(kMacroSlotBase[s]), kMacroNameSize,
                              name, LoadingWindow::kShown)) {
            return false;
        }
        names[s] = SlotNameText(name);
    }
    state_.device_slot_names = names;
    state_.macro_list.resize(kMacroSlotCount);
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        if (state_.macro_list[s].empty()) {
            state_.macro_list[s] = names[s];
        }
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
    FillFromDataBuf();
    if (full) {
        TakeMacrosAndFireArea(state_);
        state_.device_slot_names.fill({});
        std::copy(state_.macro_list.begin(), state_.macro_list.end(),
                  state_.device_slot_names.begin());
    }
    state_.read_complete = true;
    ShowDecoded(outcome);
    outcome.show_first_page = true;
    host_.CoverPages(false);
    CloseTransaction();
    FrameEnd(true);
    return true;
}

bool EepromFlows::WriteFireAreaAndMacros(std::vector<SectionRange>& written) {
    if (state_.fire_area_read) {
        if (!protocol_.WriteBlock(kFireAreaRange.address, kFireAreaRange.size, state_.fire_area)) {
            return false;
        }
        written.push_back(kFireAreaRange);
    }
    // The slots that a button plays, as four hex digits of their locator.
    std::set<std::string> wanted;
    for (const ProfileButtons* buttons : {&state_.config.office, &state_.config.gaming}) {
        for (const FunctionCode& code : *buttons) {
            if (code.type == static_cast<uint8_t>(CodeType::kMacroRun) ||
                code.type == static_cast<uint8_t>(CodeType::kMacroHold)) {
                wanted.insert(Hex4(code.Parameter()));
            }
        }
    }
    // A slot whose name the mouse already holds needs no writing.
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        if (std::find(state_.macro_list.begin(), state_.macro_list.end(),
                      state_.device_slot_names[s]) != state_.macro_list.end()) {
            wanted.erase(Hex4(SlotLocator(s)));
        }
    }
    const size_t slots = std::min(state_.macro_list.size(), static_cast<size_t>(kMacroSlotCount));
    for (size_t s = 0; s < slots; ++s) {
        const uint16_t locator = SlotLocator(s);
        if (wanted.count(Hex4(locator)) == 0) {
            continue;
        }
        const MacroSlotBytes& slot = state_.device_macros[s];
        const auto name_at = static_cast<uint16_t>(locator - 0x21);
        const auto content_at = static_cast<uint16_t>(locator - 1);
        if (!protocol_.WriteBlock(name_at, kMacroNameSize, std::span(slot).first(kMacroNameSize)) ||
            !protocol_.WriteBlock(content_at, kMacroContentSize,
                                  std::span(slot).subspan(kMacroNameSize))) {
            return false;
        }
        written.push_back({name_at, static_cast<uint16_t>(kMacroNameSize)});
        written.push_back({content_at, static_cast<uint16_t>(kMacroContentSize)});
    }
    return true;
}

bool EepromFlows::WriteParameters(const MouseConfig& pages) {
    const TimeLimit limit(protocol_, kWriteTimeLimitMs);
    FrameBegin();
    // Only what changed is written: the aim keys, for one, keep the DPIs read from the mouse
    // (two aim keys may differ) unless the aim DPI was changed, and then all take it.
    state_.config = pages;
    EncodeConfig(state_.config, state_.decoded, state_.copies);
    StoreSectionCopies(state_.copies, state_.data_buf);
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        std::copy(state_.device_macros[s].begin(), state_.device_macros[s].end(),
                  state_.data_buf.begin() + kMacroSlotBase[s]);
    }
    std::copy(state_.fire_area.begin(), state_.fire_area.end(),
              state_.data_buf.begin() + kFireAreaRange.address);

    StatusAnswer status;
    if (!OpenTransaction(status)) {
        FrameEnd(true);
        ShowMessage(kNotAnsweringMessage);
        return false;
    }
    if (!status.write_enabled) {
        CloseTransaction();
        FrameEnd(true);
        ShowMessage(kWriteNotPermittedMessage);
        return false;
    }
    protocol_.ResetCounts();
    std::vector<SectionRange> written;
    bool stored = protocol_.WriteBlock(0, kParameterAreaRange.size, state_.data_buf);
    if (stored) {
        written.push_back(kParameterAreaRange);
        stored = WriteFireAreaAndMacros(written) && protocol_.Counts().WritesComplete();
    }
    if (stored && protocol_.Counts().retried_writes > 0) {
        // A chunk answered only after a repeated request may have been stored twice, the
        // second time where the next chunk belongs: read back what was written and repair it.
        stored = VerifyWrittenRanges(protocol_, state_.data_buf, written).Verified();
    }
    CloseTransaction();
    FrameEnd(true);
    if (!stored) {
        // A write the mouse did not take must not pass for a finished Apply.
        ShowMessage(WriteFailure());
        return false;
    }
    // What the mouse holds now is the base of the next Apply.
    state_.decoded = DecodeConfig(state_.copies);
    state_.config = state_.decoded;
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

FlowOutcome EepromFlows::Apply(const MouseConfig& pages) {
    if (ReadyToWrite()) {
        (void)WriteParameters(pages);
    }
    return Finish({});
}

FlowOutcome EepromFlows::Confirm(const MouseConfig& pages) {
    // The window closes only after a write that succeeded; otherwise the user keeps the
    // window and the edits.
    FlowOutcome outcome;
    if (ReadyToWrite() && WriteParameters(pages)) {
        ButtonPause();
        outcome.close_window = true;
    }
    return Finish(outcome);
}

FlowOutcome EepromFlows::Reset(int image) {
    FlowOutcome outcome;
    ButtonPause();
    if (!link_.HasDevice()) {
        ShowMessage(kNoDevice);
    } else {
        (void)WriteBuiltInImage(image, outcome);
    }
    return Finish(outcome);
}

FlowOutcome EepromFlows::RestoreDefaults(int image) {
    FlowOutcome outcome;
    ButtonPause();
    // Silently without a mouse: the result picture stays hidden.
    if (link_.HasDevice()) {
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
    state_.macro_list.clear();
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
        if (!status.write_enabled) {
            failure = kWriteNotPermittedMessage;
        } else if (status.chip_number == 0) {
            failure = kUnknownChipMessage;
        } else if (WriteImageVerified(protocol_, state_.data_buf).BurnFailed()) {
            failure = WriteFailure();
        }
        CloseTransaction();
    }
    // The pages show the image either way; it counts as the mouse's only once verified.
    state_.read_complete = failure == nullptr;
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
    state_.data_buf = image;
    SectionCopies checked;
    const bool repaired = FillSectionCopies(image, checked);
    state_.device_slot_names.fill({});
    state_.macro_list.clear();
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
