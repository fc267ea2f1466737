#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/clock.h"
#include "device/command_protocol.h"

namespace velq {

// The firmware side of the command protocol over a 2048-byte parameter memory, with fault
// injection. It answers set-feature requests the way the mouse does: the answer is prepared
// when the request arrives and fetched with get-feature requests.
class VirtualMouse {
public:
    static constexpr size_t kMemorySize = 2048;
    using Memory = std::array<uint8_t, kMemorySize>;

    // Chip type codes the firmware may report in the Status answer.
    static constexpr uint8_t kChipCode90 = 0x35;

    explicit VirtualMouse(const Memory& factory_content);
    VirtualMouse();  // a fixed factory pattern

    // --- the wire (called by the virtual HID interface; thread-safe) ---
    void HandleSetFeature(std::span<const uint8_t> report);
    // False when the mouse has nothing to answer (no request seen since it was plugged).
    bool HandleGetFeature(std::span<uint8_t> report);

    // --- state ---
    Memory MemoryCopy() const;
    void SetMemory(uint16_t address, std::span<const uint8_t> bytes);
    void SetWriteEnabled(bool enabled);
    void SetChipCode(uint8_t code);
    void SetSignature(uint8_t signature);  // 0xAA normally
    void SetDriverMode(bool driver_mode);
    void SetLedType(uint8_t led_type);  // 0..3
    void SetButtonsHeld(uint16_t mask);
    void SetDriverNumber(uint16_t number);
    uint16_t DriverNumber() const;

    // --- fault injection ---
    // The next n requests are answered with status 0x55 (refused) and have no effect.
    void NakNextExchanges(int n);
    // The next n requests with this command code are refused (status 0x55) without effect.
    void RefuseCommand(Command code, int n);
    // The next n get-feature requests answer status 0 ("not finished yet").
    void AnswerNotFinished(int polls);
    // Chunk `index` (counting from 0 after each WriteBegin) is refused at each of the host's
    // five attempts and never stored; -1 turns it off.
    void NeverAcknowledgeWriteChunk(int index);
    // The read chunk `index` (counting from 0 after each ReadBegin) is refused at each of the
    // host's five attempts; after the last one the firmware moves on to the next chunk, as the
    // host does. -1 turns it off. The next `clean_blocks` read blocks are answered in full
    // first (a read that comes before the one a test aims at).
    void NeverAnswerReadChunk(int index, int clean_blocks = 0);
    // Once, in the next block transfer that reaches chunk `index` (counting from 0 after its
    // ReadBegin or WriteBegin): the firmware acts on the chunk request (reads or stores six
    // bytes and moves on) but its answer is lost, so the host sends the request again and the
    // firmware takes it as the next chunk.
    void LoseFirstAnswerOfChunk(int index);
    // The same in the next write transfer only: the reads before it (a flow's read of the
    // whole memory before it replaces an area, say) are answered as usual.
    void LoseFirstAnswerOfWriteChunk(int index);
    // The byte at `address` keeps its value whatever is written to it.
    void StickByte(uint16_t address);
    // After n more set-feature requests the mouse is unplugged. -1 turns it off.
    void UnplugAfterExchanges(int n);
    // After n more set-feature requests (0: from the next one on) the mouse stops answering,
    // as one whose firmware hung: each later request blocks for `request_ms` on `clock` (the
    // kernel waiting out the USB transfer) and then fails without reaching the firmware, until
    // AnswerAgain().
    void HangAfterRequests(int n, Clock& clock, int request_ms);
    void AnswerAgain();
    // Requests that hung so far.
    int HungRequests() const;

    // --- the wire's waiting (called by the virtual HID interface, outside the mouse's lock) ---
    struct Hang {
        Clock* clock = nullptr;
        int ms = 0;
    };
    // Whether this request hangs and fails instead of reaching the firmware, and for how long.
    std::optional<Hang> RequestHangs(bool set_feature);

    // --- plugging ---
    bool Plugged() const;
    void SetPlugged(bool plugged);
    // Called (outside the mouse's lock) whenever the mouse is plugged or unplugged, like the
    // hot-plug notification of the operating system.
    void SetPlugListener(std::function<void(bool plugged)> listener);

    // --- persistence ---
    // Keeps the memory in `file`: a file that does not exist yet is created with the current
    // memory; an existing one is loaded when it is a regular file of exactly 2048 bytes that
    // the user may write, and otherwise refused (false, `error` naming it) and left exactly as
    // it was. Every completed write block and every Reload saves the memory there again.
    bool AttachFile(const std::filesystem::path& file, std::string& error);

    // --- observation ---
    // Every set-feature request received, in order.
    std::vector<ReportBytes> Requests() const;
    void ClearRequests();
    int CountRequests(Command code) const;

private:
    void Answer(uint8_t status);
    // Loses the answer to chunk `chunk` when it is `due`, once (`due` becomes -1).
    void LoseAnswerIfDue(int chunk, int& due);
    void HandleCommand(const ReportBytes& request);
    void SaveLocked();
    void UnplugLocked();

    mutable std::mutex mutex_;
    Memory memory_{};
    ReportBytes answer_{};
    bool has_answer_ = false;

    bool write_enabled_ = true;
    uint8_t chip_code_ = kChipCode90;
    uint8_t signature_ = kStatusSignature;
    bool driver_mode_ = false;
    uint8_t led_type_ = 0;
    uint16_t buttons_held_ = 0;
    uint16_t driver_number_ = 0x08A1;

    uint16_t read_address_ = 0;
    uint16_t write_address_ = 0;
    int write_remaining_ = 0;
    int write_chunk_ = 0;

    int nak_remaining_ = 0;
    uint8_t refused_code_ = 0;
    int refused_remaining_ = 0;
    int not_finished_remaining_ = 0;
    int never_ack_chunk_ = -1;
    int never_answer_read_chunk_ = -1;
    int clean_read_blocks_ = 0;
    bool clean_read_block_ = false;
    int refused_read_attempts_ = 0;
    int read_chunk_ = 0;
    int lose_answer_chunk_ = -1;
    int lose_write_answer_chunk_ = -1;
    int refused_attempts_ = 0;
    std::vector<uint16_t> stuck_bytes_;
    int unplug_after_ = -1;
    int hang_after_ = -1;
    bool hung_ = false;
    Hang hang_;
    int hung_requests_ = 0;
    bool plugged_ = true;
    std::function<void(bool)> plug_listener_;
    bool plug_changed_ = false;

    std::optional<std::filesystem::path> file_;
    std::vector<ReportBytes> requests_;
};

}  // namespace velq
