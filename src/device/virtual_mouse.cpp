#include "device/virtual_mouse.h"

#include <algorithm>

#include "common/atomic_file.h"

namespace velq {
namespace {

constexpr uint8_t kStatusRefused = 0x55;
constexpr int kHostAttempts = 5;  // attempts the host makes per exchange

VirtualMouse::Memory FactoryPattern() {
    // Until a real default image is given: an erased memory with a recognisable header, so a
    // read shows where the data came from.
    VirtualMouse::Memory memory{};
    memory.fill(0xFF);
    for (size_t i = 0; i < 0x100; ++i) {
        memory[i] = static_cast<uint8_t>(i);
    }
    return memory;
}

}  // namespace

VirtualMouse::VirtualMouse(const Memory& factory_content) : memory_(factory_content) {}

VirtualMouse::VirtualMouse() : VirtualMouse(FactoryPattern()) {}

void VirtualMouse::Answer(uint8_t status) {
    answer_[7] = status;
    has_answer_ = true;
}

void VirtualMouse::HandleSetFeature(std::span<const uint8_t> report) {
    std::function<void(bool)> notify;
    {
        std::lock_guard lock(mutex_);
        if (!plugged_ || report.size() < 8 || report[0] != kCommandReportId) {
            return;
        }
        ReportBytes request{};
        std::copy_n(report.begin(), 8, request.begin());
        requests_.push_back(request);
        answer_ = request;
        answer_[7] = kStatusNotFinished;
        if (nak_remaining_ > 0) {
            --nak_remaining_;
            Answer(kStatusRefused);
        } else if (refused_remaining_ > 0 && request[1] == refused_code_) {
            --refused_remaining_;
            Answer(kStatusRefused);
        } else {
            HandleCommand(request);
        }
        if (unplug_after_ > 0 && --unplug_after_ == 0) {
            UnplugLocked();
        }
        if (plug_changed_) {
            plug_changed_ = false;
            notify = plug_listener_;
        }
    }
    if (notify) {
        notify(false);
    }
}

bool VirtualMouse::HandleGetFeature(std::span<uint8_t> report) {
    std::lock_guard lock(mutex_);
    if (!plugged_ || !has_answer_ || report.size() < 8) {
        return false;
    }
    std::copy(answer_.begin(), answer_.end(), report.begin());
    if (not_finished_remaining_ > 0) {
        --not_finished_remaining_;
        report[7] = kStatusNotFinished;
    }
    return true;
}

void VirtualMouse::HandleCommand(const ReportBytes& request) {
    const uint8_t* p = &request[2];
    const uint16_t address = static_cast<uint16_t>(p[0] | (p[1] << 8));
    const uint16_t length = static_cast<uint16_t>(p[2] | (p[3] << 8));
    switch (static_cast<Command>(request[1])) {
        case Command::kOpen:
            answer_[1] = kOpenAnswer;
            Answer(kStatusDone);
            return;
        case Command::kClose:
        case Command::kDriverState:
            Answer(kStatusDone);
            return;
        case Command::kReload:
            SaveLocked();
            Answer(kStatusDone);
            return;
        case Command::kStatus: {
            answer_[1] = signature_;
            const bool mode_form = p[0] == kStatusModeQuery;
            answer_[2] = static_cast<uint8_t>((write_enabled_ ? 0x04 : 0) |
                                              (mode_form && driver_mode_ ? 0x20 : 0));
            answer_[3] = mode_form ? static_cast<uint8_t>(led_type_ << 6) : chip_code_;
            answer_[4] = 0;
            answer_[5] = static_cast<uint8_t>(buttons_held_ & 0xFF);
            answer_[6] = static_cast<uint8_t>(buttons_held_ >> 8);
            Answer(kStatusDone);
            return;
        }
        case Command::kReadBegin:
            read_address_ = address;
            read_chunk_ = 0;
            refused_read_attempts_ = 0;
            clean_read_block_ = clean_read_blocks_ > 0;
            if (clean_read_block_) {
                --clean_read_blocks_;
            }
            Answer(kStatusDone);
            return;
        case Command::kReadNext:
            if (read_chunk_ == never_answer_read_chunk_ && !clean_read_block_) {
                Answer(kStatusRefused);
                if (++refused_read_attempts_ == kHostAttempts) {
                    refused_read_attempts_ = 0;
                    read_address_ = static_cast<uint16_t>((read_address_ + 6) % kMemorySize);
                    ++read_chunk_;
                }
                return;
            }
            for (size_t i = 0; i < 6; ++i) {
                answer_[1 + i] = memory_[(read_address_ + i) % kMemorySize];
            }
            read_address_ = static_cast<uint16_t>((read_address_ + 6) % kMemorySize);
            Answer(kStatusDone);
            LoseAnswerIfDue(read_chunk_, lose_answer_chunk_);
            ++read_chunk_;
            return;
        case Command::kWriteBegin:
            if (!write_enabled_) {
                Answer(kStatusRefused);
                return;
            }
            write_address_ = address;
            write_remaining_ = length;
            write_chunk_ = 0;
            refused_attempts_ = 0;
            Answer(kStatusDone);
            return;
        case Command::kWriteNext: {
            if (write_chunk_ == never_ack_chunk_) {
                // Refused at every one of the host's five attempts and never stored; after the
                // last attempt the host goes on with the next chunk, and so does the firmware.
                Answer(kStatusRefused);
                if (++refused_attempts_ == kHostAttempts) {
                    refused_attempts_ = 0;
                    const int skipped = std::min(6, write_remaining_);
                    write_address_ =
                        static_cast<uint16_t>((write_address_ + skipped) % kMemorySize);
                    write_remaining_ -= skipped;
                    ++write_chunk_;
                }
                return;
            }
            const int count = std::min(6, write_remaining_);
            for (int i = 0; i < count; ++i) {
                const uint16_t target = static_cast<uint16_t>((write_address_ + i) % kMemorySize);
                if (std::find(stuck_bytes_.begin(), stuck_bytes_.end(), target) ==
                    stuck_bytes_.end()) {
                    memory_[target] = p[i];
                }
            }
            write_address_ = static_cast<uint16_t>((write_address_ + count) % kMemorySize);
            write_remaining_ -= count;
            ++write_chunk_;
            if (count > 0 && write_remaining_ == 0) {
                SaveLocked();
            }
            answer_[7] = kStatusDone;  // byte 7 of the request was data
            has_answer_ = true;
            LoseAnswerIfDue(write_chunk_ - 1, lose_answer_chunk_);
            LoseAnswerIfDue(write_chunk_ - 1, lose_write_answer_chunk_);
            return;
        }
        case Command::kDriverId:
            answer_[1] = static_cast<uint8_t>(driver_number_ >> 8);
            answer_[2] = static_cast<uint8_t>(driver_number_ & 0xFF);
            Answer(kStatusDone);
            return;
    }
    Answer(kStatusRefused);  // a command this firmware does not know
}

VirtualMouse::Memory VirtualMouse::MemoryCopy() const {
    std::lock_guard lock(mutex_);
    return memory_;
}

void VirtualMouse::SetMemory(uint16_t address, std::span<const uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < bytes.size(); ++i) {
        memory_[(address + i) % kMemorySize] = bytes[i];
    }
}

void VirtualMouse::SetWriteEnabled(bool enabled) {
    std::lock_guard lock(mutex_);
    write_enabled_ = enabled;
}

void VirtualMouse::SetChipCode(uint8_t code) {
    std::lock_guard lock(mutex_);
    chip_code_ = code;
}

void VirtualMouse::SetSignature(uint8_t signature) {
    std::lock_guard lock(mutex_);
    signature_ = signature;
}

void VirtualMouse::SetDriverMode(bool driver_mode) {
    std::lock_guard lock(mutex_);
    driver_mode_ = driver_mode;
}

void VirtualMouse::SetLedType(uint8_t led_type) {
    std::lock_guard lock(mutex_);
    led_type_ = static_cast<uint8_t>(led_type & 0x03);
}

void VirtualMouse::SetButtonsHeld(uint16_t mask) {
    std::lock_guard lock(mutex_);
    buttons_held_ = mask;
}

void VirtualMouse::SetDriverNumber(uint16_t number) {
    std::lock_guard lock(mutex_);
    driver_number_ = number;
}

uint16_t VirtualMouse::DriverNumber() const {
    std::lock_guard lock(mutex_);
    return driver_number_;
}

void VirtualMouse::NakNextExchanges(int n) {
    std::lock_guard lock(mutex_);
    nak_remaining_ = n;
}

void VirtualMouse::RefuseCommand(Command code, int n) {
    std::lock_guard lock(mutex_);
    refused_code_ = static_cast<uint8_t>(code);
    refused_remaining_ = n;
}

void VirtualMouse::AnswerNotFinished(int polls) {
    std::lock_guard lock(mutex_);
    not_finished_remaining_ = polls;
}

void VirtualMouse::NeverAcknowledgeWriteChunk(int index) {
    std::lock_guard lock(mutex_);
    never_ack_chunk_ = index;
}

void VirtualMouse::NeverAnswerReadChunk(int index, int clean_blocks) {
    std::lock_guard lock(mutex_);
    never_answer_read_chunk_ = index;
    clean_read_blocks_ = clean_blocks;
    clean_read_block_ = false;
}

void VirtualMouse::LoseFirstAnswerOfChunk(int index) {
    std::lock_guard lock(mutex_);
    lose_answer_chunk_ = index;
}

void VirtualMouse::LoseFirstAnswerOfWriteChunk(int index) {
    std::lock_guard lock(mutex_);
    lose_write_answer_chunk_ = index;
}

void VirtualMouse::LoseAnswerIfDue(int chunk, int& due) {
    if (due >= 0 && chunk == due) {
        due = -1;
        answer_[7] = kStatusNotFinished;  // the host polls in vain and sends the request again
    }
}

void VirtualMouse::StickByte(uint16_t address) {
    std::lock_guard lock(mutex_);
    stuck_bytes_.push_back(static_cast<uint16_t>(address % kMemorySize));
}

void VirtualMouse::UnplugAfterExchanges(int n) {
    std::lock_guard lock(mutex_);
    unplug_after_ = n;
}

void VirtualMouse::HangAfterRequests(int n, Clock& clock, int request_ms) {
    std::lock_guard lock(mutex_);
    hang_after_ = n;
    hang_ = {&clock, request_ms};
}

void VirtualMouse::AnswerAgain() {
    std::lock_guard lock(mutex_);
    hang_after_ = -1;
    hung_ = false;
}

int VirtualMouse::HungRequests() const {
    std::lock_guard lock(mutex_);
    return hung_requests_;
}

std::optional<VirtualMouse::Hang> VirtualMouse::RequestHangs(bool set_feature) {
    std::lock_guard lock(mutex_);
    if (!hung_ && set_feature && hang_after_ >= 0) {
        if (hang_after_ == 0) {
            hung_ = true;
        } else {
            --hang_after_;
        }
    }
    if (!hung_ || !plugged_) {
        return std::nullopt;
    }
    ++hung_requests_;
    return hang_;
}

bool VirtualMouse::Plugged() const {
    std::lock_guard lock(mutex_);
    return plugged_;
}

void VirtualMouse::UnplugLocked() {
    plugged_ = false;
    has_answer_ = false;
    plug_changed_ = true;
}

void VirtualMouse::SetPlugged(bool plugged) {
    std::function<void(bool)> notify;
    {
        std::lock_guard lock(mutex_);
        if (plugged_ == plugged) {
            return;
        }
        if (plugged) {
            plugged_ = true;
            write_remaining_ = 0;
        } else {
            UnplugLocked();
            plug_changed_ = false;
        }
        notify = plug_listener_;
    }
    if (notify) {
        notify(plugged);
    }
}

void VirtualMouse::SetPlugListener(std::function<void(bool)> listener) {
    std::lock_guard lock(mutex_);
    plug_listener_ = std::move(listener);
}

bool VirtualMouse::AttachFile(const std::filesystem::path& file, std::string& error) {
    std::lock_guard lock(mutex_);
    std::vector<uint8_t> bytes;
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::symlink_status(file, ec);
    if (ec && status.type() != std::filesystem::file_type::not_found) {
        error = file.string() + ": " + ec.message();
        return false;
    }
    if (status.type() == std::filesystem::file_type::not_found) {
        // Only a new file gets the memory: something that appeared at the name meanwhile is
        // never replaced.
        FileResult created = CreateFileAtomically(file, memory_);
        if (!created) {
            error = created.error;
            return false;
        }
        file_ = file;
        return true;
    }
    // An existing file is the memory of an earlier run or no memory at all; it is used only
    // when it holds a whole memory, and otherwise left exactly as it is.
    FileResult read = ReadWholeFile(file, bytes, kMemorySize);
    if (!read) {
        error = read.error + " (the file was left as it is)";
        return false;
    }
    if (bytes.size() != kMemorySize) {
        error = file.string() + ": " + std::to_string(bytes.size()) + " bytes, not a " +
                std::to_string(kMemorySize) +
                "-byte virtual mouse memory (the file was left as it is)";
        return false;
    }
    // Every change is saved to the file; one the user may not write would keep nothing.
    if (FileResult writable = CheckWritable(file); !writable) {
        error = writable.error + " (the file was left as it is)";
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), memory_.begin());
    file_ = file;
    return true;
}

void VirtualMouse::SaveLocked() {
    if (file_) {
        // A failed save leaves the previous file; the memory itself is what the protocol sees.
        (void)WriteFileAtomically(*file_, memory_);
    }
}

std::vector<ReportBytes> VirtualMouse::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void VirtualMouse::ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

int VirtualMouse::CountRequests(Command code) const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(
        std::count_if(requests_.begin(), requests_.end(),
                      [code](const auto& r) { return r[1] == static_cast<uint8_t>(code); }));
}

}  // namespace velq
