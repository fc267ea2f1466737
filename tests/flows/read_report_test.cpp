// A read says what it found: the settings it shows as defaults because their sections failed
// their checks (and they reach the mouse only through Apply), and, when it did not complete,
// that nothing was read, on the covered pages.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "config/config_codec.h"
#include "flow_fixture.h"
#include "flows/fire_flows.h"

namespace velq::test {
namespace {

// One byte of a checked section changed without its check being kept: A's level 1, each of
// B's three pairs (current level, LED state, key mode), the first button of the office
// profile, the fire key's interval.
constexpr uint16_t kInA = 0x06;
constexpr uint16_t kInCurrentLevelPair = 0x31;
constexpr uint16_t kInLedStatePair = 0x33;
constexpr uint16_t kInKeyModePair = 0x35;
constexpr uint16_t kInProfile = 0x40;
constexpr uint16_t kInFireKey = 0xF8;

// The caption keys naming the settings of A, B, the profiles and the fire key.
constexpr const char* kA = "Str909";
constexpr const char* kB = "Str910";
constexpr const char* kProfiles = "Str911";
constexpr const char* kFireKey = "Str912";

struct Damage {
    const char* name;
    std::vector<uint16_t> bytes;     // each changed in one bit
    std::vector<std::string> named;  // the settings the message names after its first line
};

const std::vector<Damage>& Damages() {
    static const std::vector<Damage> damages = {
        {"none", {}, {}},
        {"A", {kInA}, {kA}},
        {"B's current level", {kInCurrentLevelPair}, {kB}},
        {"B's LED state", {kInLedStatePair}, {kB}},
        {"B's key mode", {kInKeyModePair}, {kB}},
        {"profiles", {kInProfile}, {kProfiles}},
        {"fire key", {kInFireKey}, {kFireKey}},
        {"A and the profiles", {kInProfile, kInA}, {kA, kProfiles}},
        {"B and the fire key", {kInFireKey, kInKeyModePair}, {kB, kFireKey}},
        {"all four",
         {kInA, kInCurrentLevelPair, kInLedStatePair, kInKeyModePair, kInProfile, kInFireKey},
         {kA, kB, kProfiles, kFireKey}},
    };
    return damages;
}

VirtualMouse::Memory Damaged(const DataBuf& base, const std::vector<uint16_t>& bytes) {
    VirtualMouse::Memory memory;
    std::copy(base.begin(), base.end(), memory.begin());
    for (uint16_t at : bytes) {
        memory[at] ^= 0x01;
    }
    return memory;
}

// What the message says when the read repaired something, as the flows give it.
std::optional<UserMessage> Expected(const Damage& damage) {
    if (damage.named.empty()) {
        return std::nullopt;
    }
    UserMessage message;
    message.keys = {kRepairedSettingsMessage};
    message.keys.insert(message.keys.end(), damage.named.begin(), damage.named.end());
    message.separator = "\r";
    return message;
}

class ReadReport : public FlowFixture {
protected:
    void SetUp() override {
        FlowFixture::SetUp();
        ASSERT_TRUE(fire.LoadDefaultSets());
        PlugIn();
        Forget();
    }

    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }

    // The mouse unplugged and plugged in again: the device pass identifies and reads it.
    void Replug() {
        mouse->SetPlugged(false);
        Pass();
        ASSERT_FALSE(link.HasDevice());
        mouse->SetPlugged(true);
        Forget();
        Pass();
    }

    // The bytes of the four checked sections as the mouse holds them.
    std::vector<uint8_t> CheckedSections() const {
        const VirtualMouse::Memory memory = mouse->MemoryCopy();
        std::vector<uint8_t> bytes;
        for (SectionRange range :
             {kParameterARange, kParameterBRange, kProfileRange, kFireKeyRange}) {
            bytes.insert(bytes.end(), memory.begin() + range.address, memory.begin() + range.End());
        }
        return bytes;
    }

    std::filesystem::path file = std::filesystem::temp_directory_path() /
                                 ("velq-read-report-" + std::to_string(::getpid()) + ".bin");
    FireFlows fire{link, protocol, host, state, flows};
};

// Every read the window runs (the device pass's after plug-in, the Read button's, the whole
// memory before a profile save) shows a damaged section repaired and names its settings once,
// in one message, leaving the mouse as it was; a clean read says nothing.
TEST_F(ReadReport, ARepairedReadNamesTheSettingsShownAsDefaults) {
    struct ReadKind {
        const char* name;
        std::function<void()> read;
    };
    const std::vector<ReadKind> reads = {
        {"device pass", [this] { Replug(); }},
        {"Read button", [this] { ReadButton(); }},
        {"whole memory for a save",
         [this] {
             host.next_file = file;
             SaveProfile();
         }},
    };
    for (const Damage& damage : Damages()) {
        const VirtualMouse::Memory memory = Damaged(state.defaults.eeprom[0], damage.bytes);
        DataBuf image;
        std::copy(memory.begin(), memory.end(), image.begin());
        SectionCopies repaired;
        EXPECT_EQ(FillSectionCopies(image, repaired).Any(), !damage.named.empty());
        for (const ReadKind& kind : reads) {
            SCOPED_TRACE(std::string(damage.name) + ", " + kind.name);
            mouse->SetMemory(0, memory);
            Forget();
            kind.read();
            ASSERT_TRUE(state.read_complete);
            EXPECT_FALSE(host.pages_covered);
            EXPECT_EQ(host.shown, DecodeConfig(repaired));
            EXPECT_EQ(mouse->MemoryCopy(), memory);
            EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
            const std::optional<UserMessage> expected = Expected(damage);
            ASSERT_EQ(host.messages.size(), expected ? 1u : 0u);
            if (expected) {
                EXPECT_EQ(host.messages[0], *expected);
            }
            EXPECT_FALSE(host.cover_note.has_value());
        }
    }
}

// The repaired sections stay as the mouse holds them through every write but Apply (the fire
// page's confirm, a fire default set, the base macro import); Apply writes them as the pages
// show them, and the next read finds nothing to repair.
TEST_F(ReadReport, RepairedSectionsReachTheMouseOnlyThroughApply) {
    const Damage& all = Damages().back();
    mouse->SetMemory(0, Damaged(state.defaults.eeprom[0], all.bytes));
    ReadButton();
    ASSERT_TRUE(state.read_complete);
    const std::vector<uint8_t> damaged = CheckedSections();
    {
        std::ofstream out(file, std::ios::binary);
        out << std::string(1024, '\x5A');
    }
    struct Write {
        const char* name;
        std::function<FlowOutcome()> run;
        uint16_t address;  // a block it writes
        uint16_t length;
    };
    const std::vector<Write> writes = {
        {"fire page confirm",
         [this] {
             (void)fire.ReadFireArea(false);
             return fire.WriteFireSection(host.Pages(), ShownFireOf(state));
         },
         kFireEntryRange.address, kFireEntryRange.size},
        {"fire default set", [this] { return fire.LoadFireDefaults(1); }, kFireAreaRange.address,
         kFireAreaRange.size},
        {"base macro import", [this] { return flows.ImportBaseMacro(file, host.macros); }, 0x100,
         1024},
    };
    for (const Write& write : writes) {
        SCOPED_TRACE(write.name);
        Forget();
        host.ActOn(write.run());
        EXPECT_TRUE(host.messages.empty());
        EXPECT_EQ(Writes(write.address, write.length), 1);
        EXPECT_EQ(CheckedSections(), damaged);
    }

    Forget();
    Apply();
    EXPECT_TRUE(host.messages.empty());
    SectionCopies copies;
    const VirtualMouse::Memory memory = mouse->MemoryCopy();
    DataBuf image;
    std::copy(memory.begin(), memory.end(), image.begin());
    EXPECT_FALSE(FillSectionCopies(image, copies));
    EXPECT_EQ(copies.parameter_a, DefaultParameterASection());
    EXPECT_EQ(copies.profile, DefaultProfileSection());
    EXPECT_EQ(copies.fire_key, DefaultFireKeySection());
    // B: each failing pair took its default, the codes after them stayed.
    EXPECT_EQ(copies.parameter_b,
              (ParameterBSection{0x01, 0xFE, 0x01, 0xFE, 0x00, 0xFF, image[0x36], image[0x37]}));
    EXPECT_EQ(image[0x36], state.defaults.eeprom[0][0x36]);

    Forget();
    ReadButton();
    EXPECT_TRUE(state.read_complete);
    EXPECT_TRUE(host.messages.empty());
}

// A read that did not complete says so at once, in a message and on the covered pages; the
// cover keeps saying it while later passes try again quietly, until a read completes and the
// pages are uncovered, or the mouse goes and the no-device state is shown.
TEST_F(ReadReport, AReadThatDidNotCompleteSaysSoOnTheCover) {
    const UserMessage failed = UserMessage::OnCover(kReadFailedMessage);
    struct Case {
        const char* name;
        std::function<void()> read;
    };
    const std::vector<Case> cases = {
        {"Read button", [this] { ReadButton(); }},
        {"device pass", [this] { Replug(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mouse->NeverAnswerReadChunk(30);
        Forget();
        c.read();
        EXPECT_FALSE(state.read_complete);
        EXPECT_TRUE(host.pages_covered);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0], failed);
        EXPECT_EQ(host.cover_note, failed);

        Forget();
        Pass();  // tried again, quietly: the cover still says it
        EXPECT_GT(mouse->CountRequests(Command::kReadNext), 0);
        EXPECT_TRUE(host.messages.empty());
        EXPECT_EQ(host.cover_note, failed);

        mouse->NeverAnswerReadChunk(-1);
        Pass();
        EXPECT_TRUE(state.read_complete);
        EXPECT_FALSE(host.pages_covered);
        EXPECT_FALSE(host.cover_note.has_value());
    }

    // Codes that could not be read leave the pages as the last read showed them, uncovered:
    // the failure is said, with no note on a cover that is not there.
    mouse->NeverAnswerReadChunk(0);
    Forget();
    ReadButton();
    EXPECT_EQ(host.messages, std::vector<UserMessage>{failed});
    EXPECT_FALSE(host.pages_covered);
    EXPECT_FALSE(host.cover_note.has_value());

    mouse->NeverAnswerReadChunk(30);
    ReadButton();
    ASSERT_EQ(host.cover_note, failed);
    mouse->SetPlugged(false);
    Forget();
    Pass();
    EXPECT_TRUE(host.no_device_page);
    EXPECT_TRUE(host.pages_covered);
    EXPECT_FALSE(host.cover_note.has_value());
}

}  // namespace
}  // namespace velq::test
