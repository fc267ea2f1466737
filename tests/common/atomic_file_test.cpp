#include "common/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace
}  // namespace velq
