#include "common/atomic_file.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

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

    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    fs::path dir_;
};

std::vector<uint8_t> Bytes(const fs::path& file) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(file, bytes)) << file;
    return bytes;
}

// The id of a process that has ended (and been waited for).
pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

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

// A link stays a link: the file it leads to takes the bytes, through a relative link, a chain
// of links, or a link whose file is still to be made; a loop is refused with the link's name.
TEST_F(AtomicFileTest, ALinkIsWrittenThroughToItsFile) {
    fs::create_directories(dir_ / "real");
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, const char*>> links;  // link name -> its target
        const char* written;                                     // the name written to
        const char* file;  // where the bytes must land; nullptr: refused
    };
    const Case cases[] = {
        {"relative link", {{"a.bin", "real/a.bin"}}, "a.bin", "real/a.bin"},
        {"chain of links", {{"b.bin", "b2.bin"}, {"b2.bin", "real/b.bin"}}, "b.bin", "real/b.bin"},
        {"link to a file still to be made", {{"c.bin", "real/new.bin"}}, "c.bin", "real/new.bin"},
        {"loop", {{"d.bin", "e.bin"}, {"e.bin", "d.bin"}}, "d.bin", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& [link, target] : c.links) {
            fs::create_symlink(target, dir_ / link);
        }
        if (c.file != nullptr && std::string(c.file) != "real/new.bin") {
            ASSERT_TRUE(WriteFileAtomically(dir_ / c.file, std::vector<uint8_t>{1}));
        }
        const FileResult written = WriteFileAtomically(dir_ / c.written, {{7, 8, 9}});
        for (const auto& [link, target] : c.links) {
            ASSERT_TRUE(fs::is_symlink(dir_ / link));
            EXPECT_EQ(fs::read_symlink(dir_ / link), fs::path(target));
        }
        if (c.file == nullptr) {
            EXPECT_FALSE(written);
            EXPECT_EQ(written.error.rfind((dir_ / c.written).string() + ": ", 0), 0u)
                << written.error;
            continue;
        }
        ASSERT_TRUE(written) << written.error;
        EXPECT_EQ(Bytes(dir_ / c.file), (std::vector<uint8_t>{7, 8, 9}));
        EXPECT_EQ(Bytes(dir_ / c.written), (std::vector<uint8_t>{7, 8, 9}));
    }
    for (const fs::path& folder : {dir_, dir_ / "real"}) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << entry.path();
        }
    }
}

// The rename alone needs only the folder's permission; a file the user may not write is still
// refused, named, and left as it is. Root may write every file, so as root the write is tried
// by a child process that has given up root.
TEST_F(AtomicFileTest, AFileTheUserMayNotWriteIsRefusedWithItsName) {
    const fs::path file = dir_ / "locked.bin";
    ASSERT_TRUE(WriteFileAtomically(file, std::vector<uint8_t>{1, 2, 3}));
    fs::permissions(dir_, fs::perms::all);  // the folder allows a rename to anyone
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::vector<uint8_t> replacement(64, 0xEE);

    // CheckWritable, asked before anything is written, says the same.
    const auto refusal = [&file, &replacement]() -> std::string {
        const FileResult checked = CheckWritable(file);
        const FileResult written = WriteFileAtomically(file, replacement);
        if (checked || written || checked.error != written.error) {
            return "not refused alike: " + checked.error + " / " + written.error;
        }
        return written.error;
    };
    std::string error;
    if (::geteuid() != 0) {
        error = refusal();
    } else {
        int pipe_ends[2];
        ASSERT_EQ(::pipe(pipe_ends), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipe_ends[0]);
            constexpr uid_t kNobody = 65534;
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
                ::_exit(2);
            }
            const std::string said = refusal();
            const ssize_t sent = ::write(pipe_ends[1], said.data(), said.size());
            ::_exit(sent < 0 ? 1 : 0);
        }
        ::close(pipe_ends[1]);
        char buffer[512];
        for (ssize_t n; (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) {
            error.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(pipe_ends[0]);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_EQ(WEXITSTATUS(status), 0);
    }
    EXPECT_EQ(error.rfind(file.string() + ": may not be written", 0), 0u) << error;
    EXPECT_EQ(Bytes(file), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(Names(), std::set<std::string>{"locked.bin"});
}

// A save removes the temporary files of its own file that no running save will rename (those of
// processes that have ended, and the older names without a process id), and nothing else.
TEST_F(AtomicFileTest, StaleTemporariesOfOursAreRemovedAndNothingElse) {
    const std::string ended = std::to_string(EndedProcess());
    const std::string running = std::to_string(::getppid());
    const std::string own = std::to_string(::getpid());
    struct Case {
        std::string name;
        bool removed;
    };
    const Case cases[] = {
        {"user.bin.tmp-" + ended + "-aB3xYz", true},
        {"user.bin.tmp-Qw12er", true},  // an earlier version's name
        {"user.bin.tmp-" + running + "-aB3xYz", false},
        {"user.bin.tmp-" + own + "-aB3xYz", false},
        {"user.bin.tmp-" + ended + "-aB3xY", false},
        {"user.bin.tmp-" + ended + "-aB3xYz.bak", false},
        {"user.bin.tmp-" + ended + "-aB3x_z", false},
        {"user.bin.tmp--aB3xYz", false},
        {"user.bin.tmp-x" + ended + "-aB3xYz", false},
        {"other.bin.tmp-" + ended + "-aB3xYz", false},
        {"user.bin.tmp-Qw12e", false},
        {"user.bin.bak", false},
    };
    std::set<std::string> kept{"user.bin"};
    for (const Case& c : cases) {
        std::ofstream(dir_ / c.name) << "x";
        if (!c.removed) {
            kept.insert(c.name);
        }
    }
    ASSERT_TRUE(WriteFileAtomically(dir_ / "user.bin", std::vector<uint8_t>{5}));
    EXPECT_EQ(Names(), kept);

    // A new file made where nothing stood cleans up the same way.
    std::ofstream(dir_ / ("new.bin.tmp-" + ended + "-aB3xYz")) << "x";
    ASSERT_TRUE(CreateFileAtomically(dir_ / "new.bin", std::vector<uint8_t>{6}));
    kept.insert("new.bin");
    EXPECT_EQ(Names(), kept);
}

// A process killed while it saves leaves the file whole, with the bytes of the save it was in
// or of the one before; what the killed saves left behind goes at the next save.
TEST_F(AtomicFileTest, AProcessKilledWhileSavingLeavesOneWholeVersion) {
    const fs::path file = dir_ / "user.bin";
    constexpr std::size_t kSize = 1 << 20;
    constexpr int kRounds = 24;
    constexpr int kSavesPerRound = 3;
    ASSERT_TRUE(WriteFileAtomically(file, std::vector<uint8_t>(kSize, 0)));
    uint8_t held = 0;  // what the file holds
    int left_behind = 0;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        // The child saves once per go it is given and says when each save begins. Given one,
        // two or three goes, it is killed in its last save: once its temporary file is there,
        // or once that save is over.
        const int saves = 1 + round % kSavesPerRound;
        const uint8_t first = static_cast<uint8_t>(1 + round * kSavesPerRound);
        int go[2];
        int began[2];
        ASSERT_EQ(::pipe(go), 0);
        ASSERT_EQ(::pipe(began), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(go[1]);
            ::close(began[0]);
            for (uint8_t version = first;; ++version) {
                char token = 0;
                if (::read(go[0], &token, 1) != 1 || ::write(began[1], &version, 1) != 1) {
                    ::_exit(1);
                }
                (void)WriteFileAtomically(file, std::vector<uint8_t>(kSize, version));
            }
        }
        ::close(go[0]);
        ::close(began[1]);
        const std::string goes(static_cast<std::size_t>(saves), 'g');
        ASSERT_EQ(::write(go[1], goes.data(), goes.size()), static_cast<ssize_t>(goes.size()));
        uint8_t last = 0;
        for (int n = 0; n < saves; ++n) {
            ASSERT_EQ(::read(began[0], &last, 1), 1);
        }
        const std::string temporary = "user.bin.tmp-" + std::to_string(child) + "-";
        for (;;) {
            const std::set<std::string> names = Names();
            const bool writing = std::any_of(names.begin(), names.end(), [&](const auto& name) {
                return name.rfind(temporary, 0) == 0;
            });
            std::vector<uint8_t> start;
            if (writing || (ReadFileStart(file, start, 1) && start == std::vector{last})) {
                break;
            }
        }
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        ::close(go[1]);
        ::close(began[0]);

        const std::vector<uint8_t> bytes = Bytes(file);
        ASSERT_EQ(bytes.size(), kSize);
        const uint8_t before = saves == 1 ? held : static_cast<uint8_t>(last - 1);
        EXPECT_TRUE(bytes[0] == last || bytes[0] == before)
            << int{bytes[0]} << " after the save of " << int{last} << " began";
        EXPECT_TRUE(
            std::all_of(bytes.begin(), bytes.end(), [&](uint8_t b) { return b == bytes[0]; }));
        held = bytes[0];
        left_behind += static_cast<int>(Names().size()) - 1;
    }
    // Most kills land while the temporary file is written: the next save removed each.
    EXPECT_GT(left_behind, 0);
    ASSERT_TRUE(WriteFileAtomically(file, std::vector<uint8_t>(kSize, 0xAA)));
    EXPECT_EQ(Names(), std::set<std::string>{"user.bin"});
    EXPECT_EQ(Bytes(file), std::vector<uint8_t>(kSize, 0xAA));
}

}  // namespace
}  // namespace velq
