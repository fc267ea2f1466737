#include "fire/gun_keys.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace velq {
namespace {

TEST(GunKeyCodeOf, GunTableAndSlotCounts) {
    struct Case {
        int gun;
        int gun6;
        int gun7;
        GunKeyCode code;
    };
    const Case cases[] = {
        {1, 2, 3, {0x0C, 1, 1}},
        {2, 2, 3, {0x0C, 2, 2}},
        {3, 2, 3, {0x0C, 3, 3}},
        {4, 2, 3, {0x0C, 4, 4}},
        {5, 2, 3, {0x0C, 5, 5}},
        {6, 1, 3, {0x0C, 6, 6}},
        {6, 2, 3, {0x0C, 6, 7}},
        {7, 2, 1, {0x0C, 8, 8}},
        {7, 2, 2, {0x0C, 8, 9}},
        {7, 2, 3, {0x0C, 8, 10}},
        // Slot counts beyond a gun's slots stay inside them.
        {6, 3, 3, {0x0C, 6, 7}},
        {6, 0, 3, {0x0C, 6, 6}},
        {7, 2, 4, {0x0C, 8, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.gun << " " << c.gun6 << " " << c.gun7);
        EXPECT_EQ(GunKeyCodeOf(c.gun, c.gun6, c.gun7), c.code);
    }
    EXPECT_FALSE(GunKeyCodeOf(0, 2, 3).has_value());
    EXPECT_FALSE(GunKeyCodeOf(8, 2, 3).has_value());
}

class GunKeyListTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::path(::testing::TempDir()) /
              ("gun_keys_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        file = dir / std::string(kGunKeyFileName);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    void WriteFile(const std::vector<uint8_t>& bytes) const {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<uint8_t> FileBytes() const {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static std::vector<uint8_t> Entries(std::initializer_list<GunKeyCode> used) {
        std::vector<uint8_t> bytes;
        for (const GunKeyCode& c : used) {
            bytes.insert(bytes.end(), c.begin(), c.end());
        }
        bytes.resize(kGunKeyFileSize, 0);
        return bytes;
    }
    void Load() {
        const FileResult loaded = list.Load(file);
        ASSERT_TRUE(loaded) << loaded.error;
    }

    std::filesystem::path dir;
    std::filesystem::path file;
    GunKeyList list;
};

using Names = std::vector<std::string>;

TEST_F(GunKeyListTest, MissingFileGivesAnEmptyListAndNoNames) {
    Load();
    EXPECT_FALSE(list.FilePresent());
    EXPECT_TRUE(list.Names().empty());
    EXPECT_EQ(list.NameOfCode("0C0303"), "");
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(GunKeyListTest, FreeEntriesKeepTheNumberingOfTheOthers) {
    WriteFile(Entries({{0x0C, 1, 2}, {0, 0, 0}, {0x0C, 4, 9}}));
    Load();
    EXPECT_TRUE(list.FilePresent());
    EXPECT_EQ(list.Names(), (Names{"Fire Macro1", "Fire Macro3"}));
    EXPECT_EQ(list.EntryText(3), "0C0409");
    EXPECT_EQ(list.EntryText(2), "000000");
    EXPECT_EQ(list.NameOfCode("0C0409"), "Fire Macro3");
    EXPECT_EQ(list.NameOfCode("000000"), "");
}

TEST_F(GunKeyListTest, TheLastEntryHoldingACodeNamesIt) {
    WriteFile(Entries({{0x0C, 1, 1}, {0x0C, 3, 3}, {0x0C, 2, 2}, {0x0C, 1, 10}, {0x0C, 3, 3}}));
    Load();
    EXPECT_EQ(list.NameOfCode("0C0303"), "Fire Macro5");
    EXPECT_EQ(list.NameOfCode("0C0101"), "Fire Macro1");
    EXPECT_EQ(list.NameOfCode("0C010A"), "Fire Macro4");
    EXPECT_EQ(list.NameOfCode("0C0505"), "");
}

TEST_F(GunKeyListTest, FileOfTheWrongSize) {
    WriteFile(std::vector<uint8_t>{0x0C, 1, 2, 0x0C, 3});
    const FileResult short_file = list.Load(file);
    EXPECT_FALSE(short_file);
    EXPECT_NE(short_file.error.find(kGunKeyFileName), std::string::npos) << short_file.error;
    EXPECT_TRUE(list.Names().empty());

    // Bytes beyond the thirty are no gun keys: a larger file is not the list (a device or a
    // FIFO neither) and is refused before it is read.
    std::vector<uint8_t> longer = Entries({{0x0C, 2, 3}});
    longer.resize(40, 0x0C);
    WriteFile(longer);
    const std::filesystem::path fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::filesystem::path& path : {file, fifo, std::filesystem::path("/dev/zero")}) {
        SCOPED_TRACE(path.string());
        const FileResult refused = list.Load(path);
        EXPECT_FALSE(refused);
        EXPECT_TRUE(refused.refused);
        EXPECT_EQ(refused.error.rfind(path.string() + ": ", 0), 0u) << refused.error;
        EXPECT_TRUE(list.Names().empty());
    }
    EXPECT_EQ(FileBytes(), longer);

    WriteFile(Entries({{0x0C, 2, 3}}));
    Load();
    EXPECT_EQ(list.Names(), (Names{"Fire Macro1"}));
}

TEST_F(GunKeyListTest, AddFillsTenEntriesAndWritesTheFile) {
    Load();
    for (int n = 1; n <= kGunKeyEntryCount; ++n) {
        const GunKeyResult added = list.Add(n, 11 - n, file);  // no order check between slots
        ASSERT_TRUE(added) << added.error;
        EXPECT_EQ(added.select, n - 1);
    }
    std::vector<uint8_t> expected;
    for (int n = 1; n <= kGunKeyEntryCount; ++n) {
        expected.insert(expected.end(),
                        {0x0C, static_cast<uint8_t>(n), static_cast<uint8_t>(11 - n)});
    }
    EXPECT_EQ(FileBytes(), expected);
    EXPECT_EQ(list.Names().back(), "Fire Macro10");

    // An eleventh gun key does nothing.
    EXPECT_EQ(list.Add(1, 1, file).status, GunKeyStatus::kListFull);
    EXPECT_EQ(FileBytes(), expected);

    GunKeyList reloaded;
    ASSERT_TRUE(reloaded.Load(file));
    EXPECT_EQ(reloaded.EntryText(4), "0C0407");
}

TEST_F(GunKeyListTest, AddRefusesSlotsOutsideTheArea) {
    Load();
    EXPECT_EQ(list.Add(0, 3, file).status, GunKeyStatus::kInvalidSlot);
    EXPECT_EQ(list.Add(3, 11, file).status, GunKeyStatus::kInvalidSlot);
    EXPECT_TRUE(list.Names().empty());
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(GunKeyListTest, AddNeverOverwritesANamedEntry) {
    // A hand-made file with a gap: the new key takes the free entry 2, entry 3 stays.
    WriteFile(Entries({{0x0C, 1, 2}, {0, 0, 0}, {0x0C, 4, 9}}));
    Load();
    const GunKeyResult added = list.Add(5, 6, file);
    ASSERT_TRUE(added) << added.error;
    EXPECT_EQ(added.select, 1);
    EXPECT_EQ(FileBytes(), Entries({{0x0C, 1, 2}, {0x0C, 5, 6}, {0x0C, 4, 9}}));
}

TEST_F(GunKeyListTest, DeleteMovesLaterEntriesDownAndPicksTheNextSelection) {
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        int position;
        std::vector<uint8_t> after;
        int select;
    };
    const std::vector<uint8_t> three = Entries({{0x0C, 1, 1}, {0x0C, 2, 2}, {0x0C, 3, 3}});
    const Case cases[] = {
        {"middle", three, 1, Entries({{0x0C, 1, 1}, {0x0C, 3, 3}}), 0},
        {"first", three, 0, Entries({{0x0C, 2, 2}, {0x0C, 3, 3}}), 0},
        {"last", three, 2, Entries({{0x0C, 1, 1}, {0x0C, 2, 2}}), 1},
        {"only one", Entries({{0x0C, 4, 4}}), 0, Entries({}), -1},
        // The name at position 1 is entry 3: entry 3 goes, not the free entry 2.
        {"gap before the name", Entries({{0x0C, 1, 1}, {0, 0, 0}, {0x0C, 3, 3}}), 1,
         Entries({{0x0C, 1, 1}}), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(c.file);
        Load();
        const GunKeyResult deleted = list.Delete(c.position, file);
        ASSERT_TRUE(deleted) << deleted.error;
        EXPECT_EQ(deleted.select, c.select);
        EXPECT_EQ(FileBytes(), c.after);
    }

    WriteFile(three);
    Load();
    EXPECT_EQ(list.Delete(3, file).status, GunKeyStatus::kNoSuchName);
    EXPECT_EQ(list.Delete(-1, file).status, GunKeyStatus::kNoSuchName);
    EXPECT_EQ(FileBytes(), three);
}

// A file that could not be read holds what the user had (a 31-byte file, say, the four gun
// keys and a stray byte): every change is refused and the file stays as it is, until a load
// reads a file again.
TEST_F(GunKeyListTest, AFileThatCouldNotBeReadRefusesEveryChange) {
    std::vector<uint8_t> longer =
        Entries({{0x0C, 1, 1}, {0x0C, 2, 2}, {0x0C, 3, 3}, {0x0C, 8, 10}});
    longer.push_back(0x0A);
    const std::filesystem::path fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;  // written to the file; empty: the FIFO is loaded
    };
    const Case cases[] = {
        {"31 bytes", longer},
        {"5 bytes", {0x0C, 1, 2, 0x0C, 3}},
        {"a FIFO", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path loaded_file = c.bytes.empty() ? fifo : file;
        if (!c.bytes.empty()) {
            WriteFile(c.bytes);
        }
        const FileResult loaded = list.Load(loaded_file);
        ASSERT_FALSE(loaded);
        const GunKeyResult added = list.Add(4, 4, loaded_file);
        EXPECT_EQ(added.status, GunKeyStatus::kUnreadable);
        EXPECT_EQ(added.error, loaded.error);
        EXPECT_EQ(list.Delete(0, loaded_file).status, GunKeyStatus::kUnreadable);
        EXPECT_TRUE(list.Names().empty());
        if (!c.bytes.empty()) {
            EXPECT_EQ(FileBytes(), c.bytes);
        }
        EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    }

    // Once a file is read, changes go ahead again.
    WriteFile(Entries({{0x0C, 1, 1}}));
    Load();
    ASSERT_TRUE(list.Add(2, 2, file));
    EXPECT_EQ(FileBytes(), Entries({{0x0C, 1, 1}, {0x0C, 2, 2}}));
}

TEST_F(GunKeyListTest, AFailedWriteIsReportedAndChangesNothing) {
    WriteFile(Entries({{0x0C, 1, 1}, {0x0C, 2, 2}}));
    Load();
    const auto unwritable = dir / "missing-folder" / std::string(kGunKeyFileName);

    const GunKeyResult added = list.Add(3, 4, unwritable);
    EXPECT_EQ(added.status, GunKeyStatus::kWriteFailed);
    EXPECT_NE(added.error.find(kGunKeyFileName), std::string::npos) << added.error;
    EXPECT_EQ(list.Names(), (Names{"Fire Macro1", "Fire Macro2"}));

    const GunKeyResult deleted = list.Delete(0, unwritable);
    EXPECT_EQ(deleted.status, GunKeyStatus::kWriteFailed);
    EXPECT_EQ(list.EntryText(1), "0C0101");
    EXPECT_EQ(list.EntryText(2), "0C0202");
}

}  // namespace
}  // namespace velq
