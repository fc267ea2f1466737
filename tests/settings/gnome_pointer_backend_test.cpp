#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "settings/desktop_env.h"
#include "settings/gnome_pointer_backend.h"
#include "settings/pointer_file.h"
#include "settings/pointer_settings.h"

namespace velq {
namespace {

using K = PointerKey;

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Where GSettings' keyfile backend keeps what was written: proof that it reached the store.
std::string StoredKeyfile() {
    return ReadText(TestConfigHome() / "glib-2.0" / "settings" / "keyfile");
}

class GnomePointerBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::error_code ec;
        std::filesystem::remove_all(TestConfigHome() / "velq540b", ec);
        // Each test starts from the desktop's defaults, whatever ran before in this process.
        GSettings* settings = g_settings_new(kGnomeMouseSchema);
        for (const char* key : {"speed", "accel-profile", "double-click"}) {
            g_settings_reset(settings, key);
        }
        g_settings_sync();
        g_object_unref(settings);
        backend_ = GnomePointerBackend::Open(DefaultPointerFile());
        ASSERT_NE(backend_, nullptr) << "the mouse schema is there";
    }
    std::unique_ptr<GnomePointerBackend> backend_;
};

TEST_F(GnomePointerBackendTest, UsesTheTemporaryFoldersOnly) {
    EXPECT_TRUE(GnomeMouseSchemaInstalled());
    EXPECT_EQ(DefaultPointerFile(), TestConfigHome() / "velq540b" / "pointer.conf");
}

TEST_F(GnomePointerBackendTest, DesktopDefaultsReadIntoThePage) {
    PointerValues values;
    ASSERT_TRUE(backend_->Read(values));
    EXPECT_EQ(values[K::kMouseSensitivity], "10");
    EXPECT_EQ(values[K::kMouseSpeed], "1") << "the default profile of a mouse accelerates";
    EXPECT_EQ(values[K::kDoubleClickSpeed], "400");
    EXPECT_EQ(values.count(K::kWheelScrollLines), 0u) << "no wheel file yet";

    PointerSettings settings(backend_.get());
    ASSERT_TRUE(settings.Refresh());
    EXPECT_EQ(settings.page().speed, 6);
    EXPECT_TRUE(settings.page().precision);
    EXPECT_EQ(settings.page().double_click, 9);
    EXPECT_EQ(settings.page().wheel, 0);
}

TEST_F(GnomePointerBackendTest, ChangesReachTheStoreAndUntouchedKeysAreNeverWritten) {
    PointerSettings settings(backend_.get());
    ASSERT_TRUE(settings.Refresh());

    // GNOME's 400 ms shows as position 9 (340 ms): as long as the user does not touch it,
    // nothing rewrites it.
    ASSERT_TRUE(settings.SetSpeed(11));
    ASSERT_TRUE(settings.Apply());
    std::string keyfile = StoredKeyfile();
    EXPECT_NE(keyfile.find("speed=1.0"), std::string::npos) << keyfile;
    EXPECT_EQ(keyfile.find("double-click"), std::string::npos) << keyfile;
    EXPECT_EQ(keyfile.find("accel-profile"), std::string::npos) << keyfile;

    ASSERT_TRUE(settings.SetPrecision(false));
    ASSERT_TRUE(settings.SetDoubleClick(7));
    keyfile = StoredKeyfile();
    EXPECT_NE(keyfile.find("accel-profile='flat'"), std::string::npos) << keyfile;
    EXPECT_NE(keyfile.find("double-click=480"), std::string::npos) << keyfile;

    // A second backend, as the next start of the program, reads what was stored.
    auto again = GnomePointerBackend::Open(DefaultPointerFile());
    ASSERT_NE(again, nullptr);
    PointerSettings next(again.get());
    ASSERT_TRUE(next.Refresh());
    EXPECT_EQ(next.page().speed, 11);
    EXPECT_FALSE(next.page().precision);
    EXPECT_EQ(next.page().double_click, 7);

    ASSERT_TRUE(next.SetPrecision(true));
    EXPECT_NE(StoredKeyfile().find("accel-profile='adaptive'"), std::string::npos);
    ASSERT_TRUE(next.SetSpeed(1));
    EXPECT_NE(StoredKeyfile().find("speed=-1.0"), std::string::npos) << StoredKeyfile();
}

TEST_F(GnomePointerBackendTest, WheelLinesLiveInTheirOwnFile) {
    PointerSettings settings(backend_.get());
    ASSERT_TRUE(settings.Refresh());
    ASSERT_TRUE(settings.SetWheel(5));
    const auto file = TestConfigHome() / "velq540b" / "pointer.conf";
    EXPECT_EQ(ReadText(file), "WheelScrollLines=5\n");
    ASSERT_TRUE(settings.SetOneScreen(true));
    EXPECT_EQ(ReadText(file), "WheelScrollLines=-1\n");

    PointerSettings next(backend_.get());
    ASSERT_TRUE(next.Refresh());
    EXPECT_TRUE(next.page().one_screen);
    EXPECT_EQ(next.page().wheel, 1);

    ASSERT_TRUE(settings.SetOneScreen(false));
    ASSERT_TRUE(next.Refresh());
    EXPECT_FALSE(next.page().one_screen);
    EXPECT_EQ(next.page().wheel, 5);
}

TEST_F(GnomePointerBackendTest, AWheelFileThatCannotBeWrittenIsAnError) {
    // The configuration folder taken by a plain file: the folder cannot be made.
    const auto blocked = TestConfigHome() / "blocked";
    std::ofstream(blocked) << "not a folder";
    auto backend = GnomePointerBackend::Open(blocked / "velq540b" / "pointer.conf");
    ASSERT_NE(backend, nullptr);
    PointerSettings settings(backend.get());
    ASSERT_TRUE(settings.Refresh());
    const PointerResult written = settings.SetWheel(3);
    EXPECT_FALSE(written);
    EXPECT_NE(written.error.find("blocked"), std::string::npos) << written.error;

    // A wheel file too big to be ours is refused on reading, not half read.
    const auto big = TestConfigHome() / "big.conf";
    std::ofstream(big) << std::string(10000, 'x');
    auto reader = GnomePointerBackend::Open(big);
    PointerValues values;
    EXPECT_FALSE(reader->Read(values));
}

}  // namespace
}  // namespace velq
