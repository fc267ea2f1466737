#include "image/profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "image/built_in_images.h"
#include "image/driver_image.h"

namespace velq {
namespace {

namespace fs = std::filesystem;

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("velq_profile_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path WriteFile(const std::string& name, std::size_t size, uint8_t value) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << std::string(size, static_cast<char>(value));
        return path;
    }

    static std::vector<uint8_t> Pattern(std::size_t size) {
        std::vector<uint8_t> bytes(size);
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<uint8_t>(i * 13 + 1);
        }
        return bytes;
    }

    fs::path dir_;
};

TEST(ProfileFileNameTest, BinIsAppendedOnlyWhenMissing) {
    const std::pair<const char*, const char*> cases[] = {
        {"cfg", "cfg.bin"},
        {"cfg.bin", "cfg.bin"},
        {"cfg.BIN", "cfg.BIN"},
        {"/home/u/profiles/cfg", "/home/u/profiles/cfg.bin"},
        {"/home/u/profiles/cfg.bin", "/home/u/profiles/cfg.bin"},
        {"cfg.bin.txt", "cfg.bin.txt.bin"},
        {"cfgbin", "cfgbin.bin"},
        {"bin", "bin.bin"},
    };
    for (const auto& [chosen, expected] : cases) {
        EXPECT_EQ(ProfileFileName(chosen), fs::path(expected)) << chosen;
    }
}

TEST_F(ProfileFileTest, SavedImagesLoadBackUnchangedInBothModes) {
    for (ProfileMode mode : {ProfileMode::kEeprom, ProfileMode::kDriver}) {
        const std::vector<uint8_t> image = Pattern(ProfileImageSize(mode));
        fs::path written;
        const std::string name = mode == ProfileMode::kEeprom ? "eeprom" : "driver.bin";
        const ProfileFileResult saved = SaveProfileFile(dir_ / name, mode, image, &written);
        ASSERT_TRUE(saved) << saved.error;
        EXPECT_EQ(written, ProfileFileName(dir_ / name));
        EXPECT_EQ(fs::file_size(written), ProfileImageSize(mode));

        std::vector<uint8_t> loaded;
        const ProfileFileResult result = LoadProfileFile(written, mode, loaded);
        ASSERT_TRUE(result) << result.error;
        EXPECT_EQ(loaded, image);
    }
}

TEST_F(ProfileFileTest, SavingOverAnExistingProfileReplacesIt) {
    WriteFile("cfg.bin", 2048, 0x11);
    const std::vector<uint8_t> image = Pattern(kDataBufSize);
    ASSERT_TRUE(SaveProfileFile(dir_ / "cfg.bin", ProfileMode::kEeprom, image));
    DataBuf loaded{};
    ASSERT_TRUE(LoadEepromProfile(dir_ / "cfg.bin", loaded));
    EXPECT_TRUE(std::equal(image.begin(), image.end(), loaded.begin()));
    EXPECT_FALSE(fs::exists(dir_ / "cfg.bin.bin"));
}

TEST_F(ProfileFileTest, FailedSavesWriteNothingAndNameTheFile) {
    // The configuration does not have the mode's size.
    const ProfileFileResult short_image =
        SaveProfileFile(dir_ / "cfg", ProfileMode::kDriver, Pattern(kDataBufSize));
    EXPECT_FALSE(short_image);
    EXPECT_NE(short_image.error.find("cfg.bin"), std::string::npos) << short_image.error;
    EXPECT_FALSE(fs::exists(dir_ / "cfg.bin"));

    // The folder does not exist.
    const fs::path missing = dir_ / "no_such_folder" / "cfg";
    const ProfileFileResult no_folder =
        SaveProfileFile(missing, ProfileMode::kEeprom, Pattern(kDataBufSize));
    EXPECT_FALSE(no_folder);
    EXPECT_NE(no_folder.error.find((dir_ / "no_such_folder" / "cfg.bin").string()),
              std::string::npos)
        << no_folder.error;
    EXPECT_TRUE(no_folder.caption_key.empty());
}

TEST_F(ProfileFileTest, FilesOfAnotherSizeAreRefusedAndChangeNothing) {
    struct Case {
        ProfileMode mode;
        std::size_t size;
    };
    const Case cases[] = {{ProfileMode::kEeprom, 0},     {ProfileMode::kEeprom, 100},
                          {ProfileMode::kEeprom, 2047},  {ProfileMode::kEeprom, 2049},
                          {ProfileMode::kEeprom, 40960}, {ProfileMode::kDriver, 2048},
                          {ProfileMode::kDriver, 40959}, {ProfileMode::kDriver, 102400}};
    for (const Case& c : cases) {
        const fs::path path = WriteFile("wrong.bin", c.size, 0x00);
        std::vector<uint8_t> image = {1, 2, 3};
        const ProfileFileResult result = LoadProfileFile(path, c.mode, image);
        EXPECT_FALSE(result) << c.size;
        EXPECT_EQ(result.caption_key, "Str102") << c.size;
        EXPECT_NE(result.error.find(path.string()), std::string::npos) << result.error;
        EXPECT_EQ(image, (std::vector<uint8_t>{1, 2, 3})) << c.size;
    }

    DataBuf image;
    image.fill(0x5A);
    const DataBuf before = image;
    EXPECT_FALSE(LoadEepromProfile(WriteFile("short.bin", 100, 0x00), image));
    EXPECT_EQ(image, before);
}

// A device or a FIFO chosen by mistake is refused as no profile before anything is read: the
// device would never end and the FIFO would block the program.
TEST_F(ProfileFileTest, PathsThatAreNoRegularFileAreRefusedUnread) {
    const fs::path fifo = dir_ / "profile.bin";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const fs::path& path : {fs::path("/dev/zero"), fifo, dir_}) {
        for (ProfileMode mode : {ProfileMode::kEeprom, ProfileMode::kDriver}) {
            SCOPED_TRACE(path.string());
            std::vector<uint8_t> image = {1, 2, 3};
            const ProfileFileResult result = LoadProfileFile(path, mode, image);
            EXPECT_FALSE(result);
            EXPECT_EQ(result.caption_key, "Str102");
            EXPECT_EQ(result.error.rfind(path.string() + ": ", 0), 0u) << result.error;
            EXPECT_EQ(image, (std::vector<uint8_t>{1, 2, 3}));
        }
    }
}

TEST_F(ProfileFileTest, AMissingFileIsAnErrorNamingIt) {
    DataBuf image{};
    const ProfileFileResult result = LoadEepromProfile(dir_ / "absent.bin", image);
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.caption_key.empty());
    EXPECT_NE(result.error.find("absent.bin"), std::string::npos) << result.error;
}

TEST(DriverImageTest, SectionsComeFromTheirDriverOffsets) {
    const ImageTextResult built_in = LoadBuiltInImage(BuiltInImage::kDriver_VELQ55xData_Cfg1);
    ASSERT_TRUE(built_in) << built_in.error;
    DriverImageSections sections;
    ASSERT_TRUE(TakeDriverImageSections(built_in.bytes, sections));
    EXPECT_EQ(sections.state, (DriverStateBytes{0x03, 0x06, 0xFF, 0xFF}));
    EXPECT_EQ(sections.fire_key,
              (FireKeySection{0x0A, 0xFD, 0x02, 0xA1, 0xFE, 0x03, 0x21, 0xFE, 0x06, 0xFC, 0x96}));
    EXPECT_EQ(sections.parameter_b[0], 0x01);
    EXPECT_EQ(sections.profile[0x24], 0x0D);  // profile 2 button 4
    // The sections pass their checks as they are.
    DriverImageSections checked = sections;
    EXPECT_FALSE(CheckParameterASection(checked.parameter_a));
    EXPECT_FALSE(CheckParameterBSection(checked.parameter_b));
    EXPECT_FALSE(CheckProfileSection(checked.profile));
    EXPECT_FALSE(CheckFireKeySection(checked.fire_key));

    const DriverFireKeyRecord record = MakeDriverFireKeyRecord(sections.fire_key);
    EXPECT_TRUE(std::equal(record.begin(), record.end(), built_in.bytes.begin() + 0xF0));
}

TEST(DriverImageTest, ShortImagesAreRefused) {
    std::vector<uint8_t> image(kMinDriverImageSize - 1, 0x77);
    DriverImageSections sections;
    sections.state = {9, 9, 9, 9};
    EXPECT_FALSE(TakeDriverImageSections(image, sections));
    EXPECT_EQ(sections.state, (DriverStateBytes{9, 9, 9, 9}));
    EXPECT_FALSE(PutDriverStateBytes(std::span<uint8_t>(image).first(163), {1, 2, 3, 4}));

    image.push_back(0x77);
    EXPECT_TRUE(TakeDriverImageSections(image, sections));
    EXPECT_EQ(sections.fire_key[10], 0x77);
    ASSERT_TRUE(PutDriverStateBytes(image, {1, 2, 3, 4}));
    EXPECT_EQ(image[159], 0x77);
    EXPECT_EQ(image[160], 1);
    EXPECT_EQ(image[163], 4);
    EXPECT_EQ(image[164], 0x77);
}

}  // namespace
}  // namespace velq
