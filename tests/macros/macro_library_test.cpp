#include "macros/macro_library.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "macros/macro_folder.h"
#include "macros/macro_test_util.h"

namespace velq {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using Names = std::vector<std::u16string>;

Bytes ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A record of `size` bytes: the name field, then `content` (zero-filled to the record).
Bytes Record(std::u16string_view name, const Bytes& content = {},
             std::size_t size = kMacroSlotSize) {
    Bytes record(size, 0);
    const MacroName field = MakeMacroName(name);
    std::copy(field.begin(), field.end(), record.begin());
    std::copy(content.begin(), content.end(), record.begin() + kMacroNameSize);
    return record;
}

Bytes DeviceRecord(std::u16string_view name, const std::vector<uint8_t>& tokens, uint8_t flag = 0) {
    const MacroContent content = test::DeviceContent(tokens, flag);
    return Record(name, Bytes(content.begin(), content.end()));
}

// A Macro.bin image holding `records` from record 0 on.
Bytes LibraryImage(const std::vector<Bytes>& records) {
    Bytes image(kMacroLibraryFileSize, 0);
    for (std::size_t i = 0; i < records.size(); ++i) {
        std::copy(records[i].begin(), records[i].end(), image.begin() + i * kMacroSlotSize);
    }
    return image;
}

Bytes Concat(const std::vector<Bytes>& parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes RecordAt(const Bytes& file, std::size_t index, std::size_t size = kMacroSlotSize) {
    return Bytes(file.begin() + static_cast<std::ptrdiff_t>(index * size),
                 file.begin() + static_cast<std::ptrdiff_t>((index + 1) * size));
}

class MacroLibraryTest : public ::testing::Test {
protected:
    static fs::path TestDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return fs::path(::testing::TempDir()) /
               ("macro_library_" + std::to_string(::getpid()) + "_" + info->name());
    }
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Writes Macro.bin and loads it.
    void LoadImage(const Bytes& image) {
        WriteBytes(file, image);
        const LibraryResult loaded = library.Load();
        ASSERT_TRUE(loaded) << loaded.error;
    }

    const fs::path dir = TestDir();
    const fs::path folder = dir / "data";
    const fs::path file = folder / std::string(kMacroLibraryFileName);
    MacroLibrary library{folder};
};

TEST_F(MacroLibraryTest, FirstStartCreatesAnEmptyLibraryFileInAFolderMadeForIt) {
    MacroLibrary fresh(dir / "new" / "velq540b");
    const LibraryResult loaded = fresh.Load();
    ASSERT_TRUE(loaded) << loaded.error;
    EXPECT_TRUE(loaded.created);
    EXPECT_EQ(fresh.Count(), 0u);
    EXPECT_EQ(ReadBytes(fresh.File()), Bytes(25600, 0));

    // The next start reads the file instead.
    const LibraryResult again = fresh.Load();
    ASSERT_TRUE(again) << again.error;
    EXPECT_FALSE(again.created);

    // A factory library given as defaults is what the first start writes.
    MacroLibrary with_defaults(dir / "defaults");
    const Bytes factory = LibraryImage({DeviceRecord(u"Fact", {0xA1, 0x21})});
    ASSERT_TRUE(with_defaults.Load(factory));
    EXPECT_EQ(with_defaults.Names(), Names{u"Fact"});
    EXPECT_EQ(ReadBytes(with_defaults.File()), factory);
}

TEST_F(MacroLibraryTest, NewRenameAndDeleteKeepTheFileInStepAndDeleteShiftsTheRecords) {
    ASSERT_TRUE(library.Load());
    for (const char16_t* name : {u"A", u"B", u"C"}) {
        const LibraryResult added = library.New(name);
        ASSERT_TRUE(added) << added.error;
        EXPECT_EQ(added.select, static_cast<int>(library.Count()) - 1);
    }
    const MacroContent b_content = test::DeviceContent({0xA1, 0xFE, 0x0C, 0x21}, 1);
    ASSERT_TRUE(library.SetContent(1, b_content));
    const Bytes b_record = DeviceRecord(u"B", {0xA1, 0xFE, 0x0C, 0x21}, 1);
    EXPECT_EQ(ReadBytes(file), LibraryImage({Record(u"A"), b_record, Record(u"C")}));

    // Renaming keeps the content and the position.
    const LibraryResult renamed = library.Rename(1, u"Bee");
    ASSERT_TRUE(renamed) << renamed.error;
    EXPECT_EQ(renamed.select, 1);
    EXPECT_EQ(library.Names(), (Names{u"A", u"Bee", u"C"}));
    EXPECT_TRUE(std::equal(b_content.begin(), b_content.end(), library.Content(1).begin()));

    // Deleting the first macro moves the others up with their contents; record 99 stays zero.
    const LibraryResult deleted = library.Delete(0);
    ASSERT_TRUE(deleted) << deleted.error;
    EXPECT_EQ(deleted.select, 0);
    const Bytes after = ReadBytes(file);
    EXPECT_EQ(after,
              LibraryImage({DeviceRecord(u"Bee", {0xA1, 0xFE, 0x0C, 0x21}, 1), Record(u"C")}));
    EXPECT_EQ(RecordAt(after, 99), Bytes(kMacroSlotSize, 0));

    // Deleting a later macro selects the one before it; the last one leaves nothing selected.
    EXPECT_EQ(library.Delete(1).select, 0);
    EXPECT_EQ(library.Delete(0).select, -1);
    EXPECT_EQ(ReadBytes(file), Bytes(25600, 0));
    EXPECT_EQ(library.Delete(0).status, LibraryStatus::kNoSuchMacro);
    EXPECT_EQ(library.Rename(0, u"X").status, LibraryStatus::kNoSuchMacro);
}

TEST_F(MacroLibraryTest, DuplicateAndEmptyNamesChangeNothing) {
    LoadImage(LibraryImage({Record(u"Fire"), Record(u"Jump")}));
    const Bytes before = ReadBytes(file);
    struct Case {
        const char* what;
        LibraryResult result;
        LibraryStatus status;
    };
    const Case cases[] = {
        {"new, same name", library.New(u"Fire"), LibraryStatus::kDuplicateName},
        {"rename to another's name", library.Rename(0, u"Jump"), LibraryStatus::kDuplicateName},
        {"new, empty", library.New(u""), LibraryStatus::kEmptyName},
        {"rename, empty", library.Rename(1, u""), LibraryStatus::kEmptyName},
        {"new, a name that marks a free entry", library.New(u"\uFFFFx"), LibraryStatus::kEmptyName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.result.status, c.status);
    }
    EXPECT_EQ(LibraryMessageKey(LibraryStatus::kDuplicateName), "Str106");
    EXPECT_EQ(library.Names(), (Names{u"Fire", u"Jump"}));
    EXPECT_EQ(ReadBytes(file), before);

    // Names are compared as stored: a 17th character is cut, so this one is the same name.
    ASSERT_TRUE(library.New(u"ABCDEFGHIJKLMNOP"));
    EXPECT_EQ(library.New(u"ABCDEFGHIJKLMNOPQ").status, LibraryStatus::kDuplicateName);
}

TEST_F(MacroLibraryTest, OneHundredNamesFillTheLibraryAndImportOneStopsAtNinetyNine) {
    std::vector<Bytes> records;
    for (int i = 0; i < 99; ++i) {
        records.push_back(Record(u"M" + std::u16string(1, static_cast<char16_t>(u'0' + i / 10)) +
                                 static_cast<char16_t>(u'0' + i % 10)));
    }
    LoadImage(LibraryImage(records));
    const fs::path single = dir / "single.bin";
    WriteBytes(single, DeviceRecord(u"Imported", {0xA1, 0x21}));

    EXPECT_FALSE(library.CanImportOne());
    EXPECT_EQ(library.ImportOne(single).status, LibraryStatus::kLibraryFull);
    EXPECT_TRUE(library.CanAddNew());
    ASSERT_TRUE(library.New(u"Hundredth"));
    EXPECT_EQ(library.Count(), 100u);
    EXPECT_FALSE(library.CanAddNew());
    const Bytes full = ReadBytes(file);
    EXPECT_EQ(library.New(u"More").status, LibraryStatus::kLibraryFull);
    EXPECT_EQ(ReadBytes(file), full);

    ASSERT_TRUE(library.Delete(50));
    EXPECT_TRUE(library.CanAddNew());
}

TEST_F(MacroLibraryTest, ImportOneTakesOnlyAStorableMacroOfANewName) {
    const Bytes existing = DeviceRecord(u"Fire", {0xA1, 0x21});
    const MacroContent good = test::DeviceContent({0xA1, 0xFE, 0x0C, 0x21}, 1);
    MacroContent bad_sum = good;
    bad_sum[6] ^= 0x01;
    MacroContent too_long{};
    too_long[1] = 223;  // 222 token bytes: one more than the room
    MacroContent flag_only{};
    flag_only[0] = 1;  // no tokens, yet not an empty content
    const auto file_of = [](std::u16string_view name, const MacroContent& c) {
        return Record(name, Bytes(c.begin(), c.end()));
    };
    struct Case {
        const char* what;
        Bytes file;
        LibraryStatus status;
    };
    const Case cases[] = {
        {"a macro", file_of(u"Jump", good), LibraryStatus::kDone},
        {"an empty macro", Record(u"Empty"), LibraryStatus::kDone},
        {"a short file: the rest is zero", RecordAt(Record(u"Short"), 0, 32), LibraryStatus::kDone},
        {"same name bytes", file_of(u"Fire", good), LibraryStatus::kDuplicateName},
        {"checksum fails", file_of(u"Bad", bad_sum), LibraryStatus::kUnfitMacro},
        {"longer than the room", file_of(u"Long", too_long), LibraryStatus::kUnfitMacro},
        {"leftover bytes in an empty macro", file_of(u"Flag", flag_only),
         LibraryStatus::kUnfitMacro},
        {"a free name", Record(u""), LibraryStatus::kUnfitMacro},
        {"larger than a macro", Concat({file_of(u"Big", good), Bytes{0}}),
         LibraryStatus::kFileFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoadImage(LibraryImage({existing}));
        const Bytes before = ReadBytes(file);
        const fs::path single = dir / "single.bin";
        WriteBytes(single, c.file);

        const LibraryResult imported = library.ImportOne(single);
        EXPECT_EQ(imported.status, c.status) << imported.error;
        if (c.status == LibraryStatus::kDone) {
            Bytes record = c.file;
            record.resize(kMacroSlotSize, 0);
            EXPECT_EQ(imported.select, 1);
            EXPECT_EQ(ReadBytes(file), LibraryImage({existing, record}));
        } else {
            // Refused: the library file stays byte for byte the same.
            EXPECT_EQ(library.Count(), 1u);
            EXPECT_EQ(ReadBytes(file), before);
        }
        if (c.status == LibraryStatus::kFileFailed) {
            EXPECT_NE(imported.error.find("single.bin"), std::string::npos) << imported.error;
        }
    }
    EXPECT_EQ(LibraryMessageKey(LibraryStatus::kUnfitMacro), "Str103");
    EXPECT_EQ(library.ImportOne(dir).status, LibraryStatus::kFileFailed);  // a folder
}

// A record named FF FF ... in a file is a macro, however the mouse would take that name: kept
// where it stands among the others. Only a record whose name starts 00 00 is free.
Bytes FfNamedRecord(const std::vector<uint8_t>& tokens) {
    Bytes record = DeviceRecord(u"x", tokens);
    record[0] = 0xFF;
    record[1] = 0xFF;
    return record;
}

TEST_F(MacroLibraryTest, LoadAndImportAllCloseUpFreeRecordsBelowUsedOnes) {
    const Bytes ff_name = FfNamedRecord({0xA3, 0x23});
    const Bytes gapped = LibraryImage({DeviceRecord(u"A", {0xA1, 0x21}), Bytes(256, 0),
                                       DeviceRecord(u"B", {0xA2, 0x22}), ff_name, Record(u"C")});
    WriteBytes(file, gapped);
    const LibraryResult loaded = library.Load();
    ASSERT_TRUE(loaded) << loaded.error;
    EXPECT_TRUE(loaded.compacted);
    ASSERT_EQ(library.Count(), 4u);
    EXPECT_EQ(library.Names()[0], u"A");
    EXPECT_EQ(library.Names()[1], u"B");
    EXPECT_EQ(library.Names()[3], u"C");
    EXPECT_EQ(library.Content(1)[2], 0xA2);
    EXPECT_EQ(ReadBytes(file), gapped);  // loading alone writes nothing

    ASSERT_TRUE(library.New(u"D"));
    EXPECT_EQ(ReadBytes(file),
              LibraryImage({DeviceRecord(u"A", {0xA1, 0x21}), DeviceRecord(u"B", {0xA2, 0x22}),
                            ff_name, Record(u"C"), Record(u"D")}));

    // Import All reads a whole library the same way; a short file is laid over the library.
    const fs::path whole = dir / "whole.bin";
    WriteBytes(whole, Concat({Bytes(256, 0), Record(u"New")}));
    const LibraryResult imported = library.ImportAll(whole);
    ASSERT_TRUE(imported) << imported.error;
    EXPECT_TRUE(imported.compacted);
    EXPECT_EQ(library.Count(), 4u);
    EXPECT_EQ(ReadBytes(file), LibraryImage({Record(u"New"), ff_name, Record(u"C"), Record(u"D")}));

    WriteBytes(whole, Bytes(kMacroLibraryFileSize + 1, 0));
    EXPECT_EQ(library.ImportAll(whole).status, LibraryStatus::kFileFailed);
    EXPECT_EQ(library.Count(), 4u);
}

// Records named FF FF, first, between others and last, with contents of their own: a load does
// not close anything up, and every save writes them back byte for byte, in both libraries.
TEST_F(MacroLibraryTest, RecordsNamedFfFfAreKeptByteForByte) {
    const Bytes first = FfNamedRecord({0xA1, 0x21});
    const Bytes all_ff(kMacroSlotSize, 0xFF);
    const Bytes stored = LibraryImage({first, DeviceRecord(u"A", {0xA2, 0x22}),
                                       FfNamedRecord({0xA4, 0x24}), Record(u"B"), all_ff});
    WriteBytes(file, stored);
    const LibraryResult loaded = library.Load();
    ASSERT_TRUE(loaded) << loaded.error;
    EXPECT_FALSE(loaded.compacted);
    ASSERT_EQ(library.Count(), 5u);
    EXPECT_EQ(library.Names()[1], u"A");
    EXPECT_EQ(library.Names()[3], u"B");

    // A rename rewrites the file: only the renamed name's bytes differ.
    ASSERT_TRUE(library.Rename(1, u"A2"));
    Bytes renamed = stored;
    const MacroName field = MakeMacroName(u"A2");
    std::copy(field.begin(), field.end(), renamed.begin() + kMacroSlotSize);
    EXPECT_EQ(ReadBytes(file), renamed);
    ASSERT_TRUE(library.Rename(1, u"A"));
    EXPECT_EQ(ReadBytes(file), stored);

    // A new macro goes after them; deleting it leaves the file as it was.
    ASSERT_TRUE(library.New(u"C"));
    ASSERT_TRUE(library.Delete(5));
    EXPECT_EQ(ReadBytes(file), stored);

    // The new, renamed or imported macro never takes such a name itself.
    EXPECT_EQ(library.New(std::u16string(1, u'\xFFFF')).status, LibraryStatus::kEmptyName);
    const fs::path single = dir / "single.bin";
    WriteBytes(single, FfNamedRecord({0xA5, 0x25}));
    EXPECT_EQ(library.ImportOne(single).status, LibraryStatus::kUnfitMacro);
    EXPECT_EQ(ReadBytes(file), stored);

    // The library of the driver keeps them alike.
    DriverMacroLibrary driver(dir);
    Bytes driver_ff = Record(u"x", {}, kDriverMacroRecordSize);
    driver_ff[0] = 0xFF;
    driver_ff[1] = 0xFF;
    driver_ff[kMacroNameSize + 5] = 0x42;
    const Bytes driver_file =
        Concat({driver_ff, Record(u"A", {}, kDriverMacroRecordSize), driver_ff});
    WriteBytes(dir / std::string(kDriverMacroLibraryFileName), driver_file);
    ASSERT_TRUE(driver.Load());
    EXPECT_EQ(driver.Count(), 3u);
    ASSERT_TRUE(driver.Rename(1, u"A2"));
    ASSERT_TRUE(driver.Rename(1, u"A"));
    ASSERT_TRUE(driver.New(u"B"));
    ASSERT_TRUE(driver.Delete(3));
    EXPECT_EQ(ReadBytes(dir / std::string(kDriverMacroLibraryFileName)), driver_file);
}

TEST_F(MacroLibraryTest, ExportsWriteTheRecordOrTheLibraryUnderANameEndingInBin) {
    struct NameCase {
        const char* chosen;
        const char* written;
    };
    const NameCase names[] = {
        {"macro", "macro.bin"},         {"macro.bin", "macro.bin"},
        {"macro.BIN", "macro.BIN"},     {"macro.bin.x", "macro.bin.x.bin"},
        {"my.macros", "my.macros.bin"},
    };
    for (const NameCase& n : names) {
        SCOPED_TRACE(n.chosen);
        EXPECT_EQ(ExportFileName(dir / n.chosen), dir / n.written);
    }

    const Bytes abc = DeviceRecord(u"ABC", {0xA1, 0x21});
    LoadImage(LibraryImage({Record(u"First"), abc}));
    ASSERT_TRUE(library.ExportOne(1, dir / "macro"));
    EXPECT_EQ(ReadBytes(dir / "macro.bin"), abc);
    ASSERT_TRUE(library.ExportAll(dir / "all.bin"));
    EXPECT_EQ(ReadBytes(dir / "all.bin"), ReadBytes(file));
    EXPECT_EQ(library.ExportOne(2, dir / "none").status, LibraryStatus::kNoSuchMacro);

    // An export round-trips through Import One into another library.
    MacroLibrary other(dir / "other");
    ASSERT_TRUE(other.Load());
    ASSERT_TRUE(other.ImportOne(dir / "macro.bin"));
    EXPECT_EQ(other.Names(), Names{u"ABC"});

    const LibraryResult failed = library.ExportOne(1, dir / "missing" / "m");
    EXPECT_EQ(failed.status, LibraryStatus::kFileFailed);
    EXPECT_NE(failed.error.find("m.bin"), std::string::npos) << failed.error;
}

// Lets writes beyond `limit` bytes fail with EFBIG, for root as for anyone, while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit tight = old_;
        tight.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &tight);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_handler_);
    }

private:
    rlimit old_{};
    void (*old_handler_)(int) = nullptr;
};

TEST_F(MacroLibraryTest, AFailedSaveLeavesTheOldFileAndTheLibraryAndNamesTheFile) {
    LoadImage(LibraryImage({Record(u"Keep")}));
    const Bytes before = ReadBytes(file);
    std::vector<LibraryResult> results;
    {
        const FileSizeLimit limit(1000);
        results.push_back(library.New(u"Lost"));
        results.push_back(library.Rename(0, u"Lost"));
        results.push_back(library.Delete(0));
        results.push_back(library.SetContent(0, test::DeviceContent({0xA1, 0x21})));
    }
    for (const LibraryResult& result : results) {
        EXPECT_EQ(result.status, LibraryStatus::kSaveFailed);
        EXPECT_NE(result.error.find(file.string()), std::string::npos) << result.error;
    }
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(library.Names(), Names{u"Keep"});
    EXPECT_EQ(library.Content(0)[1], 0);
    for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_EQ(entry.path().filename(), kMacroLibraryFileName) << "left behind";
    }

    // A folder that cannot be made: the first start reports the file and the library works
    // in memory.
    WriteBytes(dir / "plain", {1});
    MacroLibrary nowhere(dir / "plain" / "velq540b");
    const LibraryResult created = nowhere.Load();
    EXPECT_EQ(created.status, LibraryStatus::kSaveFailed);
    EXPECT_NE(created.error.find("Macro.bin"), std::string::npos) << created.error;
    EXPECT_EQ(nowhere.Count(), 0u);
}

TEST_F(MacroLibraryTest, ALibraryFileThatCannotBeReadIsNeverReplaced) {
    struct Case {
        const char* what;
        Bytes bytes;
        bool folder;
    };
    const Case cases[] = {
        {"larger than 100 records", Bytes(kMacroLibraryFileSize + 1, 0), false},
        {"a folder", {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(file);
        if (c.folder) {
            fs::create_directory(file);
        } else {
            WriteBytes(file, c.bytes);
        }
        const LibraryResult loaded = library.Load();
        EXPECT_EQ(loaded.status, LibraryStatus::kLibraryUnreadable);
        EXPECT_NE(loaded.error.find(file.string()), std::string::npos) << loaded.error;
        EXPECT_EQ(library.Count(), 0u);
        EXPECT_EQ(library.New(u"A").status, LibraryStatus::kLibraryUnreadable);
        EXPECT_EQ(library.Count(), 0u);
        if (!c.folder) {
            EXPECT_EQ(ReadBytes(file), c.bytes);
        }
    }
}

TEST(MacroLibraryShortFile, AShortLibraryFileLeavesTheRestEmpty) {
    const fs::path folder =
        fs::path(::testing::TempDir()) / ("macro_library_short_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    // One whole record and the name of a second.
    WriteBytes(folder / "Macro.bin",
               Concat({DeviceRecord(u"One", {0xA1, 0x21}), RecordAt(Record(u"Two"), 0, 32)}));
    MacroLibrary library(folder);
    ASSERT_TRUE(library.Load());
    EXPECT_EQ(library.Names(), (Names{u"One", u"Two"}));
    EXPECT_EQ(library.Content(1)[1], 0);
    fs::remove_all(folder);
}

class DriverMacroLibraryTest : public MacroLibraryTest {
protected:
    fs::path driver_file() const { return folder / std::string(kDriverMacroLibraryFileName); }
    static Bytes DriverRecord(std::u16string_view name, const std::vector<uint8_t>& tokens) {
        const DriverMacroContent content = test::UtilityContent(tokens);
        return Record(name, Bytes(content.begin(), content.end()), kDriverMacroRecordSize);
    }
    DriverMacroLibrary driver{folder};
};

TEST_F(DriverMacroLibraryTest, AMissingFileIsAnEmptyLibraryWrittenWithTheFirstChange) {
    const LibraryResult loaded = driver.Load();
    ASSERT_TRUE(loaded) << loaded.error;
    EXPECT_FALSE(loaded.created);
    EXPECT_EQ(driver.Count(), 0u);
    EXPECT_FALSE(fs::exists(driver_file()));

    ASSERT_TRUE(driver.New(u"A"));
    ASSERT_TRUE(driver.New(u"B"));
    EXPECT_EQ(ReadBytes(driver_file()), Concat({Record(u"A", {}, kDriverMacroRecordSize),
                                                Record(u"B", {}, kDriverMacroRecordSize)}));
    ASSERT_TRUE(driver.Delete(0));
    EXPECT_EQ(ReadBytes(driver_file()), Record(u"B", {}, kDriverMacroRecordSize));
    ASSERT_TRUE(driver.Delete(0));
    EXPECT_EQ(ReadBytes(driver_file()), Bytes{});
}

TEST_F(DriverMacroLibraryTest, RecordsOfTheFileAndImportsInTheUtilityForm) {
    const Bytes a = DriverRecord(u"A", {0xA1, 0x21});
    const Bytes b = DriverRecord(u"B", {0xA2, 0x22});
    // Whole records only: a cut third record is no macro. The free record closes up.
    WriteBytes(driver_file(), Concat({a, Bytes(kDriverMacroRecordSize, 0), b, Bytes(100, 7)}));
    const LibraryResult loaded = driver.Load();
    ASSERT_TRUE(loaded) << loaded.error;
    EXPECT_TRUE(loaded.compacted);
    EXPECT_EQ(driver.Names(), (Names{u"A", u"B"}));
    EXPECT_EQ(driver.Content(1)[3], 0xA2);

    const fs::path single = dir / "one.bin";
    WriteBytes(single, DriverRecord(u"C", {0xA4, 0x24}));
    ASSERT_TRUE(driver.ImportOne(single));
    EXPECT_EQ(ReadBytes(driver_file()), Concat({a, b, DriverRecord(u"C", {0xA4, 0x24})}));

    // A device-form macro is no utility-form one: its checksum lies elsewhere.
    WriteBytes(single, DeviceRecord(u"D", {0xA1, 0x21}));
    EXPECT_EQ(driver.ImportOne(single).status, LibraryStatus::kUnfitMacro);
    WriteBytes(single, Concat({DriverRecord(u"E", {0xA1}), Bytes{0}}));
    EXPECT_EQ(driver.ImportOne(single).status, LibraryStatus::kFileFailed);

    ASSERT_TRUE(driver.ExportOne(2, dir / "c"));
    EXPECT_EQ(ReadBytes(dir / "c.bin"), DriverRecord(u"C", {0xA4, 0x24}));
    ASSERT_TRUE(driver.ExportAll(dir / "all"));
    const fs::path all = dir / "all.bin";
    EXPECT_EQ(ReadBytes(all), ReadBytes(driver_file()));

    // Import All replaces the list.
    WriteBytes(all, b);
    ASSERT_TRUE(driver.ImportAll(all));
    EXPECT_EQ(driver.Names(), Names{u"B"});
    EXPECT_EQ(ReadBytes(driver_file()), b);
}

TEST(MacroFolder, PathSettingThenTheUsersDataFolder) {
    using Env = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        const char* what;
        std::string path_setting;
        Env env;
        std::optional<fs::path> folder;
    };
    const Case cases[] = {
        {"Path setting", "/srv/macros/", {{"HOME", "/home/u"}}, fs::path("/srv/macros/")},
        {"XDG_DATA_HOME",
         "",
         {{"XDG_DATA_HOME", "/d"}, {"HOME", "/home/u"}},
         fs::path("/d/velq540b")},
        {"HOME", "", {{"HOME", "/home/u"}}, fs::path("/home/u/.local/share/velq540b")},
        {"empty XDG_DATA_HOME",
         "",
         {{"XDG_DATA_HOME", ""}, {"HOME", "/home/u"}},
         fs::path("/home/u/.local/share/velq540b")},
        {"relative XDG_DATA_HOME",
         "",
         {{"XDG_DATA_HOME", "rel"}, {"HOME", "/home/u"}},
         fs::path("/home/u/.local/share/velq540b")},
        {"nothing", "", {}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto lookup = [&](std::string_view name) -> std::optional<std::string> {
            for (const auto& [key, value] : c.env) {
                if (key == name) {
                    return value;
                }
            }
            return std::nullopt;
        };
        EXPECT_EQ(MacroFolder(c.path_setting, lookup), c.folder);
    }
}

}  // namespace
}  // namespace velq
