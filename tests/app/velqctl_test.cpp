#include "velqctl.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "config/config_codec.h"
#include "config/config_json.h"
#include "device/device_link.h"
#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"
#include "flows/mouse_history.h"
#include "flows/state_home.h"
#include "image/built_in_images.h"
#include "image/sections.h"
#include "macros/macro_name.h"
#include "shell/caption_table.h"
#include "velqctl_args.h"

namespace velq {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

// velqctl with the "real" mouse played by a virtual one, in virtual time.
class Velqctl : public ::testing::Test {
protected:
    Result Run(const std::vector<std::string>& args) {
        VelqctlEnvironment environment;
        environment.real_backend = [this]() -> std::unique_ptr<HidBackend> {
            if (!mouse_present) {
                auto nothing = std::make_unique<VirtualBackend>(mouse);
                nothing->SetInterfaces({});
                return nothing;
            }
            auto backend = std::make_unique<VirtualBackend>(mouse);
            if (second_mouse != nullptr) {
                backend->AddMouse(second_mouse, kSecondMousePrefix);
            }
            for (VirtualInterface& interface : backend->Interfaces()) {
                interface.access_denied = access_denied;
            }
            return backend;
        };
        environment.clock = &clock;
        std::ostringstream out, err;
        const int status = RunVelqctl(args, out, err, environment);
        return {status, out.str(), err.str()};
    }

    // Its paths sort before the first mouse's.
    static constexpr const char* kSecondMousePrefix = "/dev/virtual/a-second";

    // The undo history that load and restore keep goes here.
    test::ScopedStateHome state_home;
    std::shared_ptr<VirtualMouse> mouse = std::make_shared<VirtualMouse>();
    std::shared_ptr<VirtualMouse> second_mouse;  // a second mouse of this model, when set
    bool mouse_present = true;
    bool access_denied = false;  // no udev rule lets this user open the mice
    VirtualClock clock;
};

std::string FileContent(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(Velqctl, StatusPrintsSignaturePermissionAndChip) {
    Result r = Run({"status"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "signature: 0xAA\nwrite permission: yes\nchip: 0x90 (chip code 0x35)\n");
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 1);

    mouse->SetChipCode(0x12);
    mouse->SetWriteEnabled(false);
    r = Run({"status"});
    EXPECT_EQ(r.out,
              "signature: 0xAA\nwrite permission: no\nchip: unrecognised (chip code 0x12)\n");
}

TEST_F(Velqctl, ReadDumpsSixteenBytesALineAfterTheAddress) {
    const Result r = Run({"read", "0x0E", "20"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "000E: 0E 0F 10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D\n"
              "001E: 1E 1F 20 21\n");
    const auto requests = mouse->Requests();
    ASSERT_GE(requests.size(), 3u);
    EXPECT_EQ(requests[0][1], 0x01);      // Open
    EXPECT_EQ(requests[1][1], 0x03);      // Status
    EXPECT_EQ(requests.back()[1], 0x02);  // Close, after Reload
    EXPECT_EQ(requests[requests.size() - 2][1], 0x08);
}

TEST_F(Velqctl, WriteStoresTheBytesInOneTransaction) {
    const Result w = Run({"write", "2040", "0102", "03", "0x04050607"});
    EXPECT_EQ(w.status, 0) << w.err;
    const auto memory = mouse->MemoryCopy();
    EXPECT_EQ(std::vector<uint8_t>(memory.begin() + 2040, memory.end()),
              (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 0xFF}));
}

TEST_F(Velqctl, RefusalsAreReportedAndTheTransactionStillCloses) {
    mouse->SetWriteEnabled(false);
    Result r = Run({"write", "0", "01"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "velqctl: the mouse refused: it does not permit writes\n");
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 1);

    mouse->SetWriteEnabled(true);
    mouse->SetSignature(0x00);
    r = Run({"read", "0", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no signature"), std::string::npos);
    EXPECT_EQ(r.out, "");

    mouse->SetSignature(0xAA);
    mouse->NeverAcknowledgeWriteChunk(0);
    r = Run({"write", "0", "01020304050607"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "velqctl: 1 of the written 6-byte chunks were not acknowledged\n");
}

TEST_F(Velqctl, BadArgumentsAndAMissingMouseGiveOneLineAndANonZeroExit) {
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const std::vector<Case> cases = {
        {{}, 2},
        {{"frobnicate"}, 2},
        {{"read", "0"}, 2},
        {{"read", "0", "0"}, 2},
        {{"read", "2048", "1"}, 2},
        {{"read", "2000", "49"}, 2},
        {{"read", "0x", "1"}, 2},
        {{"read", "-1", "1"}, 2},
        {{"read", "12abc", "1"}, 2},
        {{"write", "0"}, 2},
        {{"write", "0", "abc"}, 2},
        {{"write", "0", "zz"}, 2},
        {{"write", "2047", "0102"}, 2},
        {{"status", "extra"}, 2},
        {{"--virtual"}, 2},
        {{"--virtual", "", "list"}, 2},
        {{"--device"}, 2},
        {{"--device", "", "status"}, 2},
        {{"--device", "a", "--device", "b", "status"}, 2},
        {{"--virtual", "a", "--virtual", "b", "list"}, 2},
        {{"rdesc"}, 2},
        {{"rdesc", "/nonexistent/descriptor"}, 1},
        {{"rdesc", "/dev/zero"}, 1},  // refused before reading, never read without end
    };
    for (const Case& c : cases) {
        const Result r = Run(c.args);
        std::string joined;
        for (const auto& a : c.args) {
            joined += a + " ";
        }
        EXPECT_EQ(r.status, c.status) << joined;
        EXPECT_EQ(r.err.rfind("velqctl: ", 0) == 0 || r.err.rfind("usage: ", 0) == 0, true)
            << joined;
    }
    mouse_present = false;
    const Result r = Run({"status"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    EXPECT_NE(r.err.find("no mouse found"), std::string::npos);
}

TEST_F(Velqctl, ListMarksTheMouseInterface) {
    const Result r = Run({"list"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "/dev/virtual/velq540b-pointer 3a7b:540b 0104 feature=0\n"
              "/dev/virtual/velq540b-keyboard 3a7b:540b 0104 feature=3\n"
              "/dev/virtual/velq540b-config 3a7b:540b 0104 feature=8 mouse\n");
}

TEST_F(Velqctl, RdescPrintsEachTopLevelCollection) {
    const auto file = std::filesystem::temp_directory_path() / "velq-rdesc-test.txt";
    {
        std::ofstream out(file);
        // A keyboard collection and the vendor collection with the 8-byte feature report.
        out << "05 01 09 06 A1 01 75 08 95 08 81 02 C0\n"
               "06 00 FF 09 01 A1 01 85 04 75 08 95 07 B1 02 C0\n";
    }
    const Result r = Run({"rdesc", file.string()});
    std::filesystem::remove(file);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0001:0006 in=9 out=0 feature=0\nFF00:0001 in=0 out=0 feature=8\n");
}

TEST_F(Velqctl, RdescReportsACollectionWhoseLengthsOverflow) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("velq-rdesc-overflow-" + std::to_string(::getpid()) + ".txt");
    {
        // 8 x 0xFFFFFFFF + 8 x 8 feature bits: 2^32 + 8 bytes, 8 once cut to 32 bits.
        std::ofstream out(file);
        out << "06 00 FF 09 01 A1 01 85 04 75 08 97 FF FF FF FF B1 02 95 08 B1 02 C0\n";
    }
    const Result r = Run({"rdesc", file.string()});
    std::filesystem::remove(file);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "FF00:0001 malformed: a report longer than 65535 bytes\n");
    EXPECT_NE(r.err.find("malformed"), std::string::npos) << r.err;
}

// Two mice of this model: the first in sorted path order, or the one --device names; reads and
// writes reach that mouse only.
TEST_F(Velqctl, DeviceChoosesOneOfTwoMice) {
    second_mouse = std::make_shared<VirtualMouse>();
    const uint8_t first_byte[] = {0xCD};
    const uint8_t second_byte[] = {0xAB};
    mouse->SetMemory(0, first_byte);
    second_mouse->SetMemory(0, second_byte);
    const std::string first_path = "/dev/virtual/velq540b-config";
    const std::string second_path = std::string(kSecondMousePrefix) + "-config";

    Result r = Run({"list"});
    EXPECT_NE(r.out.find(first_path + " 3a7b:540b 0104 feature=8 mouse\n"), std::string::npos);
    EXPECT_NE(r.out.find(second_path + " 3a7b:540b 0104 feature=8 mouse\n"), std::string::npos);

    struct Case {
        std::vector<std::string> args;
        const char* out;
    };
    const Case cases[] = {
        {{"read", "0", "1"}, "0000: AB\n"},
        {{"--device", second_path, "read", "0", "1"}, "0000: AB\n"},
        {{"--device", first_path, "read", "0", "1"}, "0000: CD\n"},
    };
    for (const Case& c : cases) {
        r = Run(c.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[1];
    }

    ASSERT_EQ(Run({"--device", first_path, "write", "1", "5A"}).status, 0);
    EXPECT_EQ(mouse->MemoryCopy()[1], 0x5A);
    EXPECT_NE(second_mouse->MemoryCopy()[1], 0x5A);

    const Result help = Run({"--help"});
    EXPECT_NE(help.out.find("--device PATH uses the mouse interface at PATH"), std::string::npos);

    r = Run({"--device", "/dev/virtual/velq540b-pointer", "status"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("velqctl: no mouse found at /dev/virtual/velq540b-pointer (3a7b:540b", 0),
              0u)
        << r.err;
    EXPECT_EQ(mouse->CountRequests(Command::kOpen), 2);  // the read and the write above
}

// The mouse is there but this user may not open it: velqctl says so and how to grant the
// access, instead of reporting no mouse.
TEST_F(Velqctl, AMouseThisUserMayNotOpenIsNamedWithTheUdevRule) {
    access_denied = true;
    const Result list = Run({"list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.out.find("/dev/virtual/velq540b-config 3a7b:540b 0104 (this user may not open "
                            "it)\n"),
              std::string::npos)
        << list.out;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"status"}, {"read", "0", "1"}, {"dump"}, {"write", "0", "01"}}) {
        SCOPED_TRACE(args[0]);
        const Result r = Run(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("velqctl: the mouse is connected (/dev/virtual/velq540b-config), but "
                              "this user may not open it\n",
                              0),
                  0u)
            << r.err;
        EXPECT_NE(r.err.find("packaging/70-velq540b.rules"), std::string::npos);
        EXPECT_NE(r.err.find("udevadm control --reload"), std::string::npos);
        EXPECT_EQ(r.err.find("no mouse found"), std::string::npos);
    }
    EXPECT_EQ(mouse->Requests().size(), 0u);
}

TEST_F(Velqctl, VirtualMouseKeepsItsMemoryInTheFile) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("velq-ctl-virtual-" + std::to_string(::getpid()) + ".bin");
    std::filesystem::remove(file);
    ASSERT_EQ(Run({"--virtual", file.string(), "write", "0x7FF", "5A"}).status, 0);
    const Result r = Run({"--virtual", file.string(), "read", "0x7FF", "1"});
    std::filesystem::remove(file);
    EXPECT_EQ(r.out, "07FF: 5A\n");
}

// A file that is not a memory of the virtual mouse is never replaced by one.
TEST_F(Velqctl, VirtualRefusesAFileThatIsNoMemoryAndLeavesIt) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("velq-ctl-notes-" + std::to_string(::getpid()) + ".txt");
    {
        std::ofstream out(file);
        out << "notes that are no mouse memory\n";
    }
    for (const std::string command : {"list", "status", "write"}) {
        SCOPED_TRACE(command);
        std::vector<std::string> args = {"--virtual", file.string(), command};
        if (command == "write") {
            args.insert(args.end(), {"0", "01"});
        }
        const Result r = Run(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("velqctl: " + file.string() +
                                  ": 31 bytes, not a 2048-byte virtual "
                                  "mouse memory",
                              0),
                  0u)
            << r.err;
        EXPECT_EQ(FileContent(file), "notes that are no mouse memory\n");
    }
    std::filesystem::remove(file);
}

// The virtual mouse as it leaves the factory: the first default image.
class VelqctlOnDefaults : public Velqctl {
protected:
    void SetUp() override {
        ImageTextResult image = LoadBuiltInImage(BuiltInImage::kVELQ55XData_Cfg1);
        ASSERT_TRUE(image) << image.error;
        mouse->SetMemory(0, image.bytes);
        file = std::filesystem::temp_directory_path() /
               ("velqctl-profile-" + std::to_string(::getpid()));
        std::filesystem::remove(file);
        std::filesystem::remove(file.string() + ".bin");
    }
    void TearDown() override {
        std::filesystem::remove(file);
        std::filesystem::remove(file.string() + ".bin");
    }
    std::filesystem::path file;
};

TEST_F(VelqctlOnDefaults, DumpShowsLevelsButtonsMacrosAndRepairs) {
    // A macro in slot 1 and a button that plays it.
    const MacroName name = MakeMacroName(u"Burst");
    mouse->SetMemory(0x100, name);
    const uint8_t content[] = {0x00, 0x05, 0xA1, 0xFE, 0x0C, 0x21, 0x8B};
    mouse->SetMemory(0x120, content);
    Result r = Run({"dump"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("sections: ParameterASection ok, ParameterBSection ok, ProfileSection ok"),
              std::string::npos);
    EXPECT_NE(r.out.find("DPI levels: 6, current level 2\n  level 1: 800 DPI, colour 00FF00"),
              std::string::npos);
    EXPECT_NE(r.out.find("  button 1: 010100  Clique esquerdo\n"), std::string::npos);
    EXPECT_NE(r.out.find("  slot 1 (0121): \"Burst\", play to end, once\n"), std::string::npos);
    EXPECT_NE(r.out.find("  slot 2 (0221): empty\n"), std::string::npos);
    EXPECT_EQ(mouse->CountRequests(Command::kReadNext), 342);  // one full read

    // A profile whose checksum is wrong is reported as repaired, never written back.
    const auto before = mouse->MemoryCopy();
    const uint8_t bad[] = {static_cast<uint8_t>(before[0x76] ^ 0xFF)};
    mouse->SetMemory(0x76, bad);
    r = Run({"dump", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Json json = Json::parse(r.out);
    EXPECT_EQ(json["sections"][2], Json({{"name", "ProfileSection"}, {"repaired", true}}));
    EXPECT_EQ(json["sections"][0]["repaired"], false);
    EXPECT_EQ(json["dpi"]["count"], 6);
    EXPECT_EQ(json["dpi"]["current"], 2);
    EXPECT_EQ(json["dpi"]["levels"][0], Json({{"value", 800}, {"colour", "00FF00"}}));
    EXPECT_EQ(json["lighting"]["type"], "flowing");
    EXPECT_EQ(json["buttons"]["office"][0],
              Json({{"code", "010100"}, {"name", "Clique esquerdo"}}));
    EXPECT_EQ(json["macros"][0]["name"], "Burst");
    EXPECT_EQ(json["macros"][0]["locator"], "0121");
    EXPECT_EQ(json["macros"][1]["empty"], true);
    EXPECT_EQ(json["fire_slots"].size(), 10u);
    EXPECT_TRUE(json["fire_slots"][0]["checksum_ok"].is_boolean());
    EXPECT_TRUE(json["fire_slots"][0]["colour"].is_string());
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
    EXPECT_EQ(Run({"dump", "--yaml"}).status, 2);
}

TEST_F(VelqctlOnDefaults, SaveThenLoadRoundTripsAndVerifies) {
    Result r = Run({"save", file.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "saved " + file.string() + ".bin\n");
    ASSERT_EQ(std::filesystem::file_size(file.string() + ".bin"), 2048u);

    const auto saved = mouse->MemoryCopy();
    const std::vector<uint8_t> other(2048, 0x00);
    mouse->SetMemory(0, other);
    r = Run({"load", file.string() + ".bin"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "loaded " + file.string() + ".bin: verified\n");
    EXPECT_EQ(mouse->MemoryCopy(), saved);
}

TEST_F(VelqctlOnDefaults, LoadRefusesAWrongSizeAndReportsAByteThatWillNotStore) {
    {
        std::ofstream out(file, std::ios::binary);
        out << std::string(2047, '\x11');
    }
    const auto before = mouse->MemoryCopy();
    Result r = Run({"load", file.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("(Error no tipo de arquivo BIN)"), std::string::npos) << r.err;
    EXPECT_EQ(mouse->CountRequests(Command::kOpen), 0);
    EXPECT_EQ(mouse->MemoryCopy(), before);

    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << std::string(2048, '\x22');
    }
    mouse->StickByte(0x345);
    r = Run({"load", file.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "velqctl: the mouse does not hold the profile (1 bytes still differ after 3 repair "
              "passes)\n");
    // The read kept in the undo history first, then the write: two transactions, both closed.
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 2);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 2);
}

// A content of slot `slot` (1..6) with the flag, the tokens and the closing checksum.
void PutMacro(VirtualMouse& mouse, int slot, uint8_t flag, std::vector<uint8_t> tokens) {
    static constexpr uint16_t kContent[] = {0x120, 0x220, 0x320, 0x420, 0x620, 0x720};
    std::vector<uint8_t> content = tokens;
    content.insert(content.begin(), {flag, static_cast<uint8_t>(tokens.size() + 1)});
    unsigned sum = 0;
    for (std::size_t i = 1; i < content.size(); ++i) {
        sum += content[i];
    }
    content.push_back(static_cast<uint8_t>((sum & 0xFF) ^ 0x5A));
    mouse.SetMemory(kContent[slot - 1], content);
}

TEST_F(VelqctlOnDefaults, DumpShowsEachMacrosRepeatBesideItsStopRule) {
    const std::vector<uint8_t> body = {0xA1, 0xFE, 0x0C, 0x21};
    auto wrapped = [&body](uint8_t passes) {
        std::vector<uint8_t> tokens = body;
        tokens.insert(tokens.begin(), {0xFD, passes});
        tokens.push_back(0xFC);
        return tokens;
    };
    PutMacro(*mouse, 1, 0x00, body);
    PutMacro(*mouse, 2, 0x00, wrapped(0x02));
    PutMacro(*mouse, 3, 0x01, wrapped(0xFF));
    PutMacro(*mouse, 4, 0x00, wrapped(0xFF));
    PutMacro(*mouse, 5, 0x01, wrapped(0x00));
    PutMacro(*mouse, 6, 0x07, wrapped(0xFE));
    struct Case {
        const char* text;
        const char* stop_rule;
        const char* repeat;
        Json repeat_count;
    };
    const Case cases[] = {
        {"slot 1 (0121): \"\", play to end, once\n", "play to end", "once", nullptr},
        {"slot 2 (0221): \"\", play to end, 3 times\n", "play to end", "3 times", 3},
        {"slot 3 (0321): \"\", stop at release, loop until released\n", "stop at release",
         "loop until released", nullptr},
        {"slot 4 (0421): \"\", play to end, loop without end\n", "play to end", "loop without end",
         nullptr},
        {"slot 5 (0621): \"\", stop at release, 1 time\n", "stop at release", "1 time", 1},
        // A flag the format does not define is not passed off as one of the two rules.
        {"slot 6 (0721): \"\", unknown stop rule 0x07, 255 times\n", "unknown stop rule 0x07",
         "255 times", 255},
    };
    const Result text = Run({"dump"});
    ASSERT_EQ(text.status, 0) << text.err;
    const Result json = Run({"dump", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const Json macros = Json::parse(json.out)["macros"];
    ASSERT_EQ(macros.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_NE(text.out.find(std::string("  ") + c.text), std::string::npos) << c.text;
        EXPECT_EQ(macros[i]["stop_rule"], c.stop_rule) << c.text;
        EXPECT_EQ(macros[i]["repeat"], c.repeat) << c.text;
        EXPECT_EQ(macros[i]["repeat_count"], c.repeat_count) << c.text;
    }
    // The wrapper is the repeat, not an event line.
    EXPECT_NE(text.out.find("3 times\n    10\n    1 LeftKey CODE:00A1\n    0 96\n"
                            "    2 LeftKey CODE:0021\n  slot 3"),
              std::string::npos)
        << text.out;
}

// A read that the mouse did not answer in full, or during which it went away, is never shown
// or saved as its memory: exit 1, the reason on stderr, nothing on stdout, and a saved file
// neither created nor replaced.
TEST_F(VelqctlOnDefaults, ReadDumpAndSaveFailWithoutShowingAnIncompleteRead) {
    const std::filesystem::path existing = file.string() + ".bin";
    {
        std::ofstream out(existing, std::ios::binary);
        out << "an earlier profile";
    }
    const std::filesystem::path fresh = file.string() + "-fresh";
    struct Fault {
        const char* name;
        std::function<void(VirtualMouse&)> inject;
        const char* says;
    };
    const std::vector<Fault> faults = {
        {"a chunk never answered", [](VirtualMouse& m) { m.NeverAnswerReadChunk(3); },
         "velqctl: 1 of the "},
        {"a chunk near the end never answered",
         [](VirtualMouse& m) { m.NeverAnswerReadChunk(341); },
         " 6-byte chunks read were never answered; nothing was read\n"},
        {"unplugged mid-read", [](VirtualMouse& m) { m.UnplugAfterExchanges(40); },
         "velqctl: the mouse went away during the read; nothing was read\n"},
    };
    const std::vector<std::vector<std::string>> commands = {
        {"read", "0", "2048"}, {"read", "0x10", "30"},  {"dump"},
        {"dump", "--json"},    {"save", file.string()}, {"save", fresh.string()},
    };
    for (const Fault& fault : faults) {
        for (const std::vector<std::string>& command : commands) {
            SCOPED_TRACE(std::string(fault.name) + ": " + command[0] + " " +
                         (command.size() > 1 ? command[1] : ""));
            fault.inject(*mouse);
            const Result r = Run(command);
            mouse->NeverAnswerReadChunk(-1);
            mouse->UnplugAfterExchanges(-1);
            mouse->SetPlugged(true);
            if (command[0] == "read" && command[1] == "0x10" &&
                std::string(fault.name) != "a chunk never answered") {
                // The short read is over before the fault strikes.
                EXPECT_EQ(r.status, 0) << r.err;
                continue;
            }
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.out, "");
            EXPECT_NE(r.err.find(fault.says), std::string::npos) << r.err;
            EXPECT_EQ(FileContent(existing), "an earlier profile");
            EXPECT_FALSE(std::filesystem::exists(fresh.string() + ".bin"));
        }
    }
    for (const auto& entry : std::filesystem::directory_iterator(existing.parent_path())) {
        EXPECT_EQ(entry.path().string().find(file.string() + ".bin.tmp"), std::string::npos);
    }
}

// An answer lost on the way (the mouse moved on, the request was sent again) makes the read
// suspect; it is read again and shown only when a read comes back clean.
TEST_F(VelqctlOnDefaults, AReadWithALostAnswerIsReadAgainAndThenShown) {
    const auto memory = mouse->MemoryCopy();
    mouse->LoseFirstAnswerOfChunk(2);
    const Result r = Run({"read", "0", "24"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, HexDump(0, std::vector<uint8_t>(memory.begin(), memory.begin() + 24)));
    EXPECT_EQ(mouse->CountRequests(Command::kReadBegin), 2);
}

TEST_F(VelqctlOnDefaults, WritesTheMouseDidNotTakeAreReported) {
    const auto before = mouse->MemoryCopy();
    // Gone after Open, Status, WriteBegin and two chunks.
    mouse->UnplugAfterExchanges(5);
    Result r = Run({"write", "0x100", std::string(60, 'a')});
    mouse->SetPlugged(true);
    mouse->UnplugAfterExchanges(-1);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    // Chunk 1 was sent as the mouse went: its answer, and chunks 2 to 4, never came.
    EXPECT_EQ(r.err,
              "velqctl: the mouse went away during the write; 4 of the written 6-byte chunks "
              "were not acknowledged\n");

    // A lost answer may have stored a chunk twice: the range is read back and repaired.
    mouse->SetMemory(0, before);
    mouse->LoseFirstAnswerOfChunk(1);
    r = Run({"write", "0x100", "0102030405060708090A0B0C0D0E0F10"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto after = mouse->MemoryCopy();
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(after[0x100 + i], i + 1) << i;
    }
    EXPECT_TRUE(std::equal(after.begin() + 0x110, after.end(), before.begin() + 0x110));
    EXPECT_EQ(r.out.rfind("wrote 16 bytes at 0100", 0), 0u) << r.out;
}

// Gives the sections of `image` the checksums and complements their checks ask for, so that a
// load writes the image as it is.
void PassSectionChecks(std::vector<uint8_t>& image) {
    DataBuf buf{};
    std::copy(image.begin(), image.end(), buf.begin());
    SectionCopies copies;
    std::copy_n(buf.begin() + kParameterARange.address, kParameterASize,
                copies.parameter_a.begin());
    std::copy_n(buf.begin() + kParameterBRange.address, kParameterBSize,
                copies.parameter_b.begin());
    std::copy_n(buf.begin() + kProfileRange.address, kProfileSize, copies.profile.begin());
    std::copy_n(buf.begin() + kFireEntryRange.address, kFireEntrySize, copies.fire_entry.begin());
    std::copy_n(buf.begin() + kFireYOffsetRange.address, kFireYOffsetSize,
                copies.fire_y_offset.begin());
    std::copy_n(buf.begin() + kFireColorRange.address, kFireColorSize, copies.fire_color.begin());
    std::copy_n(buf.begin() + kFireKeyRange.address, kFireKeySize, copies.fire_key.begin());
    for (std::size_t pair = 0; pair < 3; ++pair) {
        copies.parameter_b[2 * pair + 1] =
            static_cast<uint8_t>(0xFF - copies.parameter_b[2 * pair]);
    }
    StoreSectionCopies(copies, buf);
    std::copy(buf.begin(), buf.end(), image.begin());
    ASSERT_FALSE(FillSectionCopies(buf, copies));
}

TEST_F(VelqctlOnDefaults, LoadCountsOnlyAReadBackThatCanBeTrusted) {
    std::vector<uint8_t> profile(2048);
    for (std::size_t i = 0; i < profile.size(); ++i) {
        profile[i] = static_cast<uint8_t>(i * 7);
    }
    // Chunk 10 (bytes 60..65) of the profile is 0xFF, what a chunk that never answers reads.
    std::fill(profile.begin() + 60, profile.begin() + 66, 0xFF);
    PassSectionChecks(profile);
    {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(profile.data()),
                  static_cast<std::streamsize>(profile.size()));
    }
    const std::vector<uint8_t> zeros(2048, 0x00);

    // The chunk is neither stored nor read back: the read-back's 0xFF must not pass for it.
    mouse->SetMemory(0, zeros);
    mouse->NeverAcknowledgeWriteChunk(10);
    mouse->NeverAnswerReadChunk(10, 1);  // the read kept in the undo history is whole
    Result r = Run({"load", file.string()});
    mouse->NeverAcknowledgeWriteChunk(-1);
    mouse->NeverAnswerReadChunk(-1);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("velqctl: the mouse does not hold the profile"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("1 of the written 6-byte chunks were not acknowledged"), std::string::npos)
        << r.err;
    EXPECT_EQ(mouse->MemoryCopy()[60], 0x00);

    // A refused chunk that the byte-by-byte repair then stored, confirmed by a complete
    // read-back: the profile is in the mouse, and the refusal is still told.
    mouse->SetMemory(0, zeros);
    mouse->NeverAcknowledgeWriteChunk(20);
    r = Run({"load", file.string()});
    mouse->NeverAcknowledgeWriteChunk(-1);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "loaded " + file.string() +
                         ": verified after 1 repair pass (1 written 6-byte chunks were not "
                         "acknowledged and were rewritten)\n");
    const auto memory = mouse->MemoryCopy();
    EXPECT_TRUE(std::equal(profile.begin(), profile.end(), memory.begin()));
}

// The addresses at which two memories differ.
std::set<int> ChangedAddresses(const std::array<uint8_t, 2048>& before,
                               const std::array<uint8_t, 2048>& after) {
    std::set<int> changed;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i]) {
            changed.insert(static_cast<int>(i));
        }
    }
    return changed;
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// Parameter A's checksum, the profile's and the fire key section's.
constexpr int kAChecksum = 0x2F;
constexpr int kProfileChecksum = 0x76;
constexpr int kFireKeyChecksum = 0xFA;

// set changes the bytes of the named fields, their complements and their sections' checksums,
// and nothing else; it says what changed.
TEST_F(VelqctlOnDefaults, SetChangesExactlyTheBytesOfTheNamedFields) {
    struct Case {
        std::vector<std::string> keys;
        std::set<int> changed;
        std::map<int, uint8_t> bytes;  // some of the new bytes
        std::string out;
    };
    const std::vector<Case> cases = {
        {{"dpi.levels[2].value=1600", "buttons.gaming[4].code=0300CD"},
         {0x08, kAChecksum, 0x67, 0x68, 0x69, kProfileChecksum},
         {{0x08, 4}, {0x67, 0x03}, {0x68, 0x00}, {0x69, 0xCD}},
         "dpi.levels[2].value: 2400 -> 1600\nbuttons.gaming[4].code: 011000 -> 0300CD\n"},
        {{"dpi.current=1"}, {0x30, 0x31}, {{0x30, 0x00}, {0x31, 0xFF}}, "dpi.current: 2 -> 1\n"},
        {{"key_mode=gaming"},
         {0x34, 0x35},
         {{0x34, 0x80}, {0x35, 0x7F}},
         "key_mode: office -> gaming\n"},
        {{"dpi.levels[6].colour=123456"},
         {0x2C, 0x2D, 0x2E, kAChecksum},
         {{0x2C, 0x12}, {0x2D, 0x34}, {0x2E, 0x56}},
         "dpi.levels[6].colour: FFFFFF -> 123456\n"},
        {{"fire_key.interval=7"},
         {0xF8, kFireKeyChecksum},
         {{0xF8, 7}},
         "fire_key.interval: 6 -> 7\n"},
    };
    const auto original = mouse->MemoryCopy();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys.front());
        mouse->SetMemory(0, original);
        std::vector<std::string> args = {"set"};
        args.insert(args.end(), c.keys.begin(), c.keys.end());
        const Result r = Run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
        const auto after = mouse->MemoryCopy();
        EXPECT_EQ(ChangedAddresses(original, after), c.changed);
        for (const auto& [address, value] : c.bytes) {
            EXPECT_EQ(after[static_cast<std::size_t>(address)], value) << address;
        }
        // The mouse's own view agrees: dump shows the new value.
        const std::string key = c.keys.front().substr(0, c.keys.front().find('='));
        const Json shown = Json::parse(Run({"dump", "--json"}).out);
        ASSERT_NE(FindKey(shown, key), nullptr);
        const std::string wanted = c.keys.front().substr(c.keys.front().find('=') + 1);
        const Json* now = FindKey(shown, key);
        EXPECT_EQ(now->is_string() ? now->get<std::string>() : now->dump(), wanted);
    }
}

// Each refusal names the key, exits non-zero and leaves every byte of the mouse as it was,
// with nothing written at all.
TEST_F(VelqctlOnDefaults, RefusedChangesWriteNothing) {
    struct Case {
        std::vector<std::string> args;  // "@" stands for the file holding `file_text`
        const char* file_text;
        int status;
        const char* err;
    };
    const std::vector<Case> cases = {
        {{"set", "dpi.levels[2].speed=3"}, "", 2, "velqctl: dpi.levels[2].speed: no such key"},
        {{"set", "dpi.levels[2].value=1700"}, "", 2, "velqctl: dpi.levels[2].value: 1700 is not"},
        {{"set", "lighting.type=sync"}, "", 2, "velqctl: lighting.type: is only shown"},
        {{"set", "vendor_code=3"}, "", 2, "velqctl: vendor_code: is only shown"},
        {{"set", "sections[0].repaired=true"}, "", 2, "velqctl: sections[0].repaired: is only"},
        {{"set", "fire_slots[0].checksum_ok=true"}, "", 2, "velqctl: fire_slots[0].checksum_ok"},
        {{"set", "buttons.office[0].code=010200"},
         "",
         2,
         "velqctl: buttons.office: one button must stay the left click"},
        {{"set", "dpi.count=3", "dpi.count"}, "", 2, "velqctl: set takes KEY=VALUE"},
        {{"apply", "@"},
         R"({"dpi": {"count": 3}, "macros": [{"lines": ["x"]}]})",
         2,
         "velqctl: macros[0].lines[0]: no such key"},
        {{"apply", "@"},
         R"({"macros": [{"name": "Burst"}]})",
         2,
         "velqctl: macros[0].name: is only shown"},
        {{"apply", "@"},
         R"({"dpi": {"levels": [{"value": 800}, {"value": 16000}]}})",
         2,
         "velqctl: dpi.levels[1].value: 16000 is not"},
        {{"apply", "@"}, R"({"dpi": {"count": 3},})", 2, "velqctl: "},
        {{"apply", "@"},
         R"({"lighting": {"lamps": 3}})",
         2,
         "velqctl: lighting.lamps: 3 is out of range"},
    };
    const auto before = mouse->MemoryCopy();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1]);
        std::vector<std::string> args = c.args;
        if (args[1] == "@") {
            WriteText(file, c.file_text);
            args[1] = file.string();
        }
        const Result r = Run(args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
        EXPECT_EQ(mouse->MemoryCopy(), before);
    }
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
}

// What dump --json shows, given back to apply, changes no byte and writes nothing, on every
// built-in image; one value edited in that file changes that field only.
TEST_F(VelqctlOnDefaults, DumpThenApplyChangesNothing) {
    for (BuiltInImage which : {BuiltInImage::kVELQ55XData_Cfg1, BuiltInImage::kVELQ55XData_Cfg2,
                               BuiltInImage::kVELQ55XData_Cfg3}) {
        SCOPED_TRACE(static_cast<int>(which));
        ImageTextResult image = LoadBuiltInImage(which);
        ASSERT_TRUE(image) << image.error;
        mouse->SetMemory(0, image.bytes);
        const auto before = mouse->MemoryCopy();
        const Result dump = Run({"dump", "--json"});
        ASSERT_EQ(dump.status, 0) << dump.err;
        WriteText(file, dump.out);
        const int writes = mouse->CountRequests(Command::kWriteBegin);
        Result r = Run({"apply", file.string()});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "nothing to change: the mouse holds these values\n");
        EXPECT_EQ(mouse->MemoryCopy(), before);
        EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), writes);

        Json edited = Json::parse(dump.out);
        const bool was_500 = edited["dpi"]["levels"][1]["value"] == 500;
        edited["dpi"]["levels"][1]["value"] = was_500 ? 800 : 500;
        WriteText(file, edited.dump(2));
        r = Run({"apply", file.string()});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ChangedAddresses(before, mouse->MemoryCopy()), (std::set<int>{0x07, kAChecksum}));
        EXPECT_EQ(mouse->MemoryCopy()[0x07], was_500 ? 1 : 0);
    }
}

// The mouse must be read in full before anything is changed, and must be seen to hold the
// change afterwards.
TEST_F(VelqctlOnDefaults, SetFailsWhenTheReadOrTheWriteDidNotComplete) {
    const auto before = mouse->MemoryCopy();
    mouse->NeverAnswerReadChunk(100);
    Result r = Run({"set", "dpi.count=3"});
    mouse->NeverAnswerReadChunk(-1);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("were never answered; nothing was read"), std::string::npos) << r.err;
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
    EXPECT_EQ(mouse->MemoryCopy(), before);

    mouse->StickByte(0x02);
    r = Run({"set", "dpi.count=3"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "velqctl: the mouse does not hold the new settings\n");
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 2);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 2);

    mouse->SetWriteEnabled(false);
    r = Run({"set", "dpi.count=3"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "velqctl: the mouse refused: it does not permit writes\n");
}

// The undo history: load and restore keep the mouse first; history lists the entries newest
// first; restore writes one back through the verified write.
class VelqctlHistory : public VelqctlOnDefaults {
protected:
    std::vector<HistoryEntry> Entries() const {
        std::vector<HistoryEntry> entries;
        EXPECT_TRUE(ListHistory(state_home.History(), entries));
        return entries;
    }
    static std::vector<uint8_t> Bytes(const VirtualMouse::Memory& memory) {
        return {memory.begin(), memory.end()};
    }
    void WriteProfile(uint8_t seed) {
        std::vector<uint8_t> profile(2048);
        for (std::size_t i = 0; i < profile.size(); ++i) {
            profile[i] = static_cast<uint8_t>(i * 3 + seed);
        }
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(profile.data()),
                  static_cast<std::streamsize>(profile.size()));
    }
};

TEST_F(VelqctlHistory, LoadKeepsTheMouseAndRestoreBringsItBackByteForByte) {
    Result r = Run({"history"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "history in " + state_home.History().string() + " (newest first):\nno entries\n");

    const VirtualMouse::Memory original = mouse->MemoryCopy();
    WriteProfile(1);
    ASSERT_EQ(Run({"load", file.string()}).status, 0);
    const VirtualMouse::Memory loaded = mouse->MemoryCopy();
    ASSERT_NE(loaded, original);
    std::vector<HistoryEntry> entries = Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].cause, "load");
    EXPECT_EQ(FileContent(entries[0].file), std::string(original.begin(), original.end()));

    mouse->ClearRequests();
    r = Run({"restore", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "restored entry 1 (" + entries[0].time + " UTC, before load): verified\n");
    EXPECT_EQ(Bytes(mouse->MemoryCopy()), Bytes(original));
    // The mouse as it was before the restore is the newest entry now.
    entries = Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].cause, "restore");
    EXPECT_EQ(FileContent(entries[0].file), std::string(loaded.begin(), loaded.end()));
    EXPECT_EQ(entries[1].cause, "load");
    // Kept in a read of its own before the whole image was written once.
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 2);

    r = Run({"history"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "history in " + state_home.History().string() + " (newest first):\n" + " 1  " +
                         entries[0].time + " UTC  restore\n" + " 2  " + entries[1].time +
                         " UTC  load\n");

    // And back again: the restore undone by restoring its own entry.
    ASSERT_EQ(Run({"restore", "1"}).status, 0);
    EXPECT_EQ(Bytes(mouse->MemoryCopy()), Bytes(loaded));
    EXPECT_EQ(Entries().size(), 3u);
}

TEST_F(VelqctlHistory, ListsNewestFirstByTheTimeInTheName) {
    const std::filesystem::path folder = state_home.History();
    DataBuf image{};
    const auto day = std::chrono::sys_days(std::chrono::year(2026) / 12 / 11);
    ASSERT_TRUE(KeepInHistory(folder, image, "reset-2", day + std::chrono::hours(9)));
    ASSERT_TRUE(KeepInHistory(folder, image, "load", day + std::chrono::hours(10)));
    ASSERT_TRUE(KeepInHistory(folder, image, "fire-pc",
                              day + std::chrono::hours(10) + std::chrono::milliseconds(5)));
    const Result r = Run({"history"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "history in " + folder.string() +
                         " (newest first):\n"
                         " 1  2026-12-11 10:00:00.005 UTC  fire-pc\n"
                         " 2  2026-12-11 10:00:00.000 UTC  load\n"
                         " 3  2026-12-11 09:00:00.000 UTC  reset-2\n");
    EXPECT_TRUE(mouse->Requests().empty());
}

TEST_F(VelqctlHistory, RestoreRefusesAnEntryThatIsNotThereOrNotAMemory) {
    WriteProfile(2);
    ASSERT_EQ(Run({"load", file.string()}).status, 0);
    const VirtualMouse::Memory before = mouse->MemoryCopy();
    for (const char* number : {"0", "2", "x", "99999999999"}) {
        SCOPED_TRACE(number);
        mouse->ClearRequests();
        const Result r = Run({"restore", number});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("the history holds 1 entry"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
        EXPECT_TRUE(mouse->Requests().empty());
    }
    // An entry of the wrong size is refused before the mouse is opened.
    const std::filesystem::path entry = Entries()[0].file;
    std::filesystem::resize_file(entry, 2047);
    mouse->ClearRequests();
    const Result r = Run({"restore", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(entry.filename().string()), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
    EXPECT_TRUE(mouse->Requests().empty());
    EXPECT_EQ(mouse->MemoryCopy(), before);
    EXPECT_EQ(Entries().size(), 1u);
}

// When the mouse cannot be read for the history, or the entry cannot be kept, load and restore
// write nothing and say why, in the caption the window shows.
TEST_F(VelqctlHistory, NoWriteWithoutAHistoryEntry) {
    WriteProfile(3);
    ASSERT_EQ(Run({"load", file.string()}).status, 0);
    const VirtualMouse::Memory before = mouse->MemoryCopy();
    const CaptionTableResult captions = LoadCaptionTable(1);
    ASSERT_TRUE(captions);
    struct Case {
        const char* name;
        std::function<void()> fault;
        const char* key;
    };
    const std::vector<Case> cases = {
        {"ReadBegin refused", [this] { mouse->RefuseCommand(Command::kReadBegin, 1000); },
         "Str916"},
        {"a chunk never answered", [this] { mouse->NeverAnswerReadChunk(7); }, "Str916"},
        {"the history folder is a file",
         [this] {
             std::filesystem::remove_all(state_home.History());
             std::ofstream(state_home.History()) << "x";
         },
         "Str917"},
    };
    for (const char* command : {"load", "restore"}) {
        for (const Case& c : cases) {
            if (std::string(command) == "restore" && std::string(c.key) == "Str917") {
                continue;  // no entry to restore lies in a folder that is a file
            }
            SCOPED_TRACE(std::string(command) + ": " + c.name);
            std::filesystem::remove_all(state_home.History());
            ASSERT_TRUE(KeepInHistory(state_home.History(), DataBuf{}, "load",
                                      std::chrono::system_clock::now()));
            mouse->ClearRequests();
            c.fault();
            const Result r =
                Run({command, std::string(command) == "load" ? file.string() : std::string("1")});
            mouse->NeverAnswerReadChunk(-1);
            mouse->RefuseCommand(Command::kReadBegin, 0);
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.out, "");
            EXPECT_NE(r.err.find(captions.table.Caption(c.key)), std::string::npos) << r.err;
            EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
            EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
            EXPECT_EQ(mouse->CountRequests(Command::kOpen), mouse->CountRequests(Command::kClose));
            EXPECT_EQ(mouse->MemoryCopy(), before);
        }
    }
}

// A file whose sections fail their checks goes to the mouse repaired, as the window writes it,
// and the load says so; what the mouse then holds passes every check.
TEST_F(VelqctlOnDefaults, LoadRepairsAFileWhoseSectionsFailTheirChecks) {
    const std::vector<uint8_t> zeros(2048, 0x00);
    {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(zeros.data()),
                  static_cast<std::streamsize>(zeros.size()));
    }
    Result r = Run({"load", file.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "loaded " + file.string() +
                         ": verified\nnote: ParameterASection, ParameterBSection, ProfileSection, "
                         "FireKeySection fail their checks in the file and went to the mouse "
                         "repaired (O arquivo estava danificado. As partes danificadas foram "
                         "reparadas antes de gravar no mouse)\n");
    DataBuf repaired{};
    SectionCopies copies;
    ASSERT_TRUE(FillSectionCopies(repaired, copies));
    StoreSectionCopies(copies, repaired);
    EXPECT_EQ(mouse->MemoryCopy(), repaired);
    r = Run({"dump", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const Json& section : Json::parse(r.out)["sections"]) {
        EXPECT_EQ(section["repaired"], false) << section["name"];
    }

    // One failing section is named alone; an intact file is written as it is, without a note.
    const auto held = mouse->MemoryCopy();
    std::vector<uint8_t> profile(held.begin(), held.end());
    profile[0x40 + 4] ^= 0x01;  // a byte of office button 2: the profile's checksum fails
    WriteText(file, std::string(profile.begin(), profile.end()));
    r = Run({"load", file.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\nnote: ProfileSection fails its check in the file"), std::string::npos)
        << r.out;
    profile[0x40 + 4] ^= 0x01;
    WriteText(file, std::string(profile.begin(), profile.end()));
    r = Run({"load", file.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "loaded " + file.string() + ": verified\n");
}

// Every value of a dump that differs between two dumps, as "key: before -> after" lines; the
// names beside codes follow them and are left out.
std::string DumpDifferences(const std::string& before, const std::string& after) {
    std::vector<std::pair<std::string, Json>> was, now;
    const std::function<void(const Json&, const std::string&,
                             std::vector<std::pair<std::string, Json>>&)>
        flatten = [&flatten](const Json& json, const std::string& key,
                             std::vector<std::pair<std::string, Json>>& out) {
            if (json.is_object()) {
                for (const auto& [name, value] : json.items()) {
                    flatten(value, key.empty() ? name : key + "." + name, out);
                }
            } else if (json.is_array()) {
                for (std::size_t i = 0; i < json.size(); ++i) {
                    flatten(json[i], key + "[" + std::to_string(i) + "]", out);
                }
            } else {
                out.emplace_back(key, json);
            }
        };
    flatten(Json::parse(before), "", was);
    flatten(Json::parse(after), "", now);
    const auto text = [](const Json& value) {
        return value.is_string() ? value.get<std::string>() : value.dump();
    };
    std::string lines;
    for (std::size_t i = 0; i < was.size() && i < now.size(); ++i) {
        const std::string& key = was[i].first;
        if (!key.ends_with(".name") && was[i].second != now[i].second) {
            lines += key + ": " + text(was[i].second) + " -> " + text(now[i].second) + "\n";
        }
    }
    return lines;
}

// The first image with a seven-colour light whose state byte holds mode 3, bit 4 and step 2.
std::vector<uint8_t> SyncLightImage(std::vector<uint8_t> bytes) {
    DataBuf image{};
    std::copy(bytes.begin(), bytes.end(), image.begin());
    SectionCopies copies;
    FillSectionCopies(image, copies);
    const MouseConfig decoded = DecodeConfig(copies);
    MouseConfig sync = decoded;
    sync.lighting.type = LightType::kSync;
    EncodeConfig(sync, decoded, copies);
    copies.parameter_b[kLedStateOffset] = 0x53;
    copies.parameter_b[kLedStateOffset + 1] = 0xAC;
    StoreSectionCopies(copies, image);
    return {image.begin(), image.end()};
}

// set and apply print every setting whose value changes, with the value the mouse then holds,
// and nothing else: exactly what a dump before and after tells apart.
TEST_F(VelqctlOnDefaults, TheChangesPrintedAreWhatTheMouseThenHolds) {
    struct Case {
        const char* what;
        bool sync_light;
        std::vector<std::string> args;  // "@" stands for the file holding `file_text`
        const char* file_text;
        std::string out;
        std::set<int> changed;  // addresses, when given
    };
    const std::vector<Case> cases = {
        {"the light off leaves the mode and step bytes",
         true,
         {"set", "lighting.on=false"},
         "",
         "lighting.on: true -> false\n",
         {0x32, 0x33}},
        {"a new aim key shows the DPI it holds",
         false,
         {"set", "buttons.office[1].code=0A0300"},
         "",
         "buttons.office[1].code: 010400 -> 0A0300\naim_dpi: null -> 1200\n",
         {0x43, 0x44, kProfileChecksum}},
        {"a new level count makes its top level current",
         false,
         {"set", "dpi.count=3"},
         "",
         "dpi.count: 6 -> 3\ndpi.current: 2 -> 3\n",
         {0x02, kAChecksum, 0x30, 0x31}},
        {"a named current level wins",
         false,
         {"set", "dpi.current=1", "dpi.count=3"},
         "",
         "dpi.count: 6 -> 3\ndpi.current: 2 -> 1\n",
         {}},
        {"a current level a file names as it is stays",
         false,
         {"apply", "@"},
         R"({"dpi": {"count": 4, "current": 2}})",
         "dpi.count: 6 -> 4\n",
         {0x02, kAChecksum}},
        {"a file's new level count alone",
         false,
         {"apply", "@"},
         R"({"dpi": {"count": 4}})",
         "dpi.count: 6 -> 4\ndpi.current: 2 -> 4\n",
         {}},
    };
    ImageTextResult factory = LoadBuiltInImage(BuiltInImage::kVELQ55XData_Cfg1);
    ASSERT_TRUE(factory) << factory.error;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mouse->SetMemory(0, c.sync_light ? SyncLightImage(factory.bytes) : factory.bytes);
        const auto memory = mouse->MemoryCopy();
        const Result before = Run({"dump", "--json"});
        ASSERT_EQ(before.status, 0) << before.err;
        std::vector<std::string> args = c.args;
        if (args[1] == "@") {
            WriteText(file, c.file_text);
            args[1] = file.string();
        }
        const Result r = Run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
        const Result after = Run({"dump", "--json"});
        ASSERT_EQ(after.status, 0) << after.err;
        EXPECT_EQ(DumpDifferences(before.out, after.out), r.out);
        if (!c.changed.empty()) {
            EXPECT_EQ(ChangedAddresses(memory, mouse->MemoryCopy()), c.changed);
        }
    }
}

// Input set and apply cannot use is refused with the key named (exit 2), before anything is
// written, and never ends velqctl; a transaction that was opened is closed.
TEST_F(VelqctlOnDefaults, BadInputIsRefusedWithoutAborting) {
    struct Case {
        std::vector<std::string> args;  // "@" stands for the file holding `file_text`
        std::string file_text;
        const char* err;  // how the message starts, after "velqctl: " (and the file's name)
    };
    const std::vector<Case> cases = {
        // The three that ended velqctl with an uncaught exception or wrapped into a range.
        {{"apply", "@"},
         R"({"dpi":{"count":1e400}})",
         "not a configuration: dpi.count: number overflow parsing '1e400'"},
        {{"set", "lighting.type=\xFF"}, "", "lighting.type: the value is not UTF-8 text"},
        {{"set", "fire_slots[0].y_adjust=18446744073709551615"},
         "",
         "fire_slots[0].y_adjust: 18446744073709551615 is out of range (-128 to 127)"},
        // More of their kind.
        {{"apply", "@"},
         "{\"lighting\": {\"on\": \"\xFF\"}}",
         "not a configuration: lighting.on: parse error"},
        {{"apply", "@"},
         R"({"fire_key": {"interval": 18446744073709551615}})",
         "fire_key.interval: 18446744073709551615 is out of range"},
        {{"apply", "@"},
         R"({"dpi": {"count": 18446744073709551616}})",
         "dpi.count: takes a whole number"},
        {{"apply", "@"},
         R"({"dpi": {"levels": [{"value": -1e999}]}})",
         "not a configuration: dpi.levels[0].value: number overflow"},
        {{"apply", "@"}, "", "not a configuration: parse error at line 1, column 1"},
        {{"apply", "@"}, "[1, 2]", "the configuration must be a JSON object"},
        {{"apply", "@"},
         R"({"dpi": )" + std::string(5000, '[') + std::string(5000, ']') + "}",
         "dpi: is not a list"},
        {{"set", "dpi.count=1e400"}, "", "dpi.count: takes a whole number"},
        {{"set", "dpi.count=-9223372036854775809"}, "", "dpi.count: takes a whole number"},
        {{"set", "dpi.levels[0].value=18446744073709551615"},
         "",
         "dpi.levels[0].value: 18446744073709551615 is not a DPI value"},
        {{"set", "buttons.office[1].code=\xC3\x28"},
         "",
         "buttons.office[1].code: the value is not UTF-8"},
        {{"set", "aim_dpi=800"}, "", "aim_dpi: no button is an aim key"},
        {{"set", "dpi.count=3", "dpi.current=5"},
         "",
         "dpi.current: level 5 is not among the 3 levels in use"},
    };
    const auto before = mouse->MemoryCopy();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1].substr(0, 60));
        std::vector<std::string> args = c.args;
        std::string prefix = "velqctl: ";
        if (args[1] == "@") {
            WriteText(file, c.file_text);
            args[1] = file.string();
            if (std::string(c.err).rfind("not a configuration", 0) == 0) {
                prefix += file.string() + ": ";
            }
        }
        const Result r = Run(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind(prefix + c.err, 0), 0u) << r.err;
        EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
        EXPECT_EQ(mouse->MemoryCopy(), before);
        EXPECT_EQ(mouse->CountRequests(Command::kClose), mouse->CountRequests(Command::kOpen));
        EXPECT_EQ(mouse->CountRequests(Command::kReload), mouse->CountRequests(Command::kOpen));
    }
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
}

TEST_F(Velqctl, EveryCommandHasHelp) {
    for (const char* command : {"list", "status", "read", "write", "dump", "save", "load", "rdesc",
                                "apply", "set", "history", "restore"}) {
        SCOPED_TRACE(command);
        const Result r = Run({command, "--help"});
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find(std::string("\nUsage: velqctl ") + command + " "), std::string::npos)
            << r.out;
        EXPECT_EQ(r.err, "");
    }
    const Result r = Run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("apply"), std::string::npos);
    EXPECT_EQ(mouse->Requests().size(), 0u);
}

}  // namespace
}  // namespace velq
