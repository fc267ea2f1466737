#include "common/atomic_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace velq {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("velq-atomic-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(AtomicFileTest, ReplacesContentAndLeavesNoTemporaryFile) {
    const fs::path file = dir_ / "image.bin";
    ASSERT_TRUE(WriteFileAtomically(file, std::vector<uint8_t>(2048, 0xAB)));
    ASSERT_TRUE(WriteFileAtomically(file, std::vector<uint8_t>{1, 2, 3}));
    std::vector<uint8_t> back;
    ASSERT_TRUE(ReadWholeFile(file, back));
    EXPECT_EQ(back, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(AtomicFileTest, FailureNamesTheFileAndKeepsTheOldContent) {
    const fs::path missing_dir_file = dir_ / "no-such-folder" / "cfg.bin";
    FileResult r = WriteFileAtomically(missing_dir_file, std::vector<uint8_t>{1});
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("cfg.bin"), std::string::npos);

    std::vector<uint8_t> bytes{9};
    FileResult read = ReadWholeFile(dir_ / "absent.bin", bytes);
    EXPECT_FALSE(read);
    EXPECT_TRUE(bytes.empty());
    EXPECT_NE(read.error.find("absent.bin"), std::string::npos);
}

// Every reader names its largest file; the kind and size are judged before a byte is read, so
// a device, a FIFO (which would block) or an oversized file never gets as far as the reading.
TEST_F(AtomicFileTest, ReadRefusesOtherKindsAndOversizedFilesBeforeReading) {
    const fs::path fifo = dir_ / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path big = dir_ / "big.bin";
    {
        std::ofstream out(big, std::ios::binary);
        out << std::string(2049, 'x');
    }
    struct Case {
        fs::path path;
        std::uintmax_t max_size;
        const char* says;
    };
    const Case cases[] = {
        {"/dev/zero", 2048, "a device, not a regular file"},
        {"/dev/zero", kAnyFileSize, "a device, not a regular file"},
        {fifo, 2048, "a FIFO, not a regular file"},
        {dir_, 2048, "a folder, not a regular file"},
        {big, 2048, "2049 bytes, more than the 2048 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.string());
        std::vector<uint8_t> bytes{1, 2};
        const FileResult read = ReadWholeFile(c.path, bytes, c.max_size);
        EXPECT_FALSE(read);
        EXPECT_TRUE(read.refused);
        EXPECT_TRUE(bytes.empty());
        EXPECT_EQ(read.error.rfind(c.path.string() + ": ", 0), 0u) << read.error;
        EXPECT_NE(read.error.find(c.says), std::string::npos) << read.error;

        const FileResult start = ReadFileStart(c.path, bytes, 256);
        EXPECT_EQ(static_cast<bool>(start), c.path == big) << start.error;
    }
}

TEST_F(AtomicFileTest, ReadAcceptsFilesUpToTheirLargestSize) {
    const fs::path file = dir_ / "image.bin";
    for (const std::size_t size : {std::size_t{0}, std::size_t{30}, std::size_t{2048}}) {
        SCOPED_TRACE(size);
        ASSERT_TRUE(WriteFileAtomically(file, std::vector<uint8_t>(size, 0x5A)));
        std::vector<uint8_t> bytes;
        const FileResult read = ReadWholeFile(file, bytes, 2048);
        ASSERT_TRUE(read) << read.error;
        EXPECT_EQ(bytes, std::vector<uint8_t>(size, 0x5A));
        ASSERT_TRUE(ReadFileStart(file, bytes, 16));
        EXPECT_EQ(bytes.size(), std::min<std::size_t>(size, 16));
    }
}

TEST_F(AtomicFileTest, CreateNeverReplacesWhatIsThere) {
    const fs::path file = dir_ / "memory.bin";
    ASSERT_TRUE(CreateFileAtomically(file, std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);

    const FileResult again = CreateFileAtomically(file, std::vector<uint8_t>(2048, 0));
    EXPECT_FALSE(again);
    EXPECT_NE(again.error.find("memory.bin: exists already"), std::string::npos) << again.error;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(file, bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(CreateFileAtomically(dir_, std::vector<uint8_t>{1}));  // a folder stands there
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace velq
