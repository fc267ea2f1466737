#include "common/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <string_view>
#include <system_error>

namespace velq {
namespace {

FileResult Failure(const std::filesystem::path& path, const char* what, int err) {
    return {false, path.string() + ": " + what + ": " + std::strerror(err)};
}

std::string KindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "an unknown kind of file";
}

std::string TooLarge(const std::filesystem::path& path, std::uintmax_t size,
                     std::uintmax_t max_size) {
    return path.string() + ": " + std::to_string(size) + " bytes, more than the " +
           std::to_string(max_size) + " bytes such a file holds";
}

// What follows the target's name in the name of a temporary file of ours.
constexpr std::string_view kTemporaryMark = ".tmp-";
// The letters mkstemp puts in place of its six X.
constexpr std::size_t kUniqueLetters = 6;
// Links followed before a path counts as a loop, as the kernel counts them.
constexpr int kMaxLinks = 40;

bool UniqueLetters(std::string_view text) {
    return text.size() == kUniqueLetters && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) != 0;
           });
}

// Whether `rest` (what follows "<target name>.tmp-") names a temporary file that no running
// save will rename any more: one of a process that has ended, or one of an earlier version of
// this program, whose names carried no process id. A process id that runs again (this one's
// included) keeps its files; they are left for a later save.
bool StaleTemporary(std::string_view rest) {
    if (UniqueLetters(rest)) {
        return true;
    }
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos || dash == 0 || !UniqueLetters(rest.substr(dash + 1))) {
        return false;
    }
    pid_t pid = 0;
    const char* end = rest.data() + dash;
    const auto [stop, parsed] = std::from_chars(rest.data(), end, pid);
    if (parsed != std::errc() || stop != end || pid <= 0 || pid == ::getpid()) {
        return false;
    }
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Removes the stale temporary files of `target` (see StaleTemporary). A file that cannot be
// removed stays; it never stops a save.
void RemoveStaleTemporaries(const std::filesystem::path& target) {
    const std::string prefix = target.filename().string() + std::string(kTemporaryMark);
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code kind_error;
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            it->symlink_status(kind_error).type() == std::filesystem::file_type::regular &&
            StaleTemporary(std::string_view(name).substr(prefix.size()))) {
            ::unlink(it->path().c_str());
        }
    }
}

// The file `path` names once its symbolic links are followed (a link's relative target is read
// from the link's folder); `path` itself when it is no link. Fails on a link that cannot be read
// or on a loop.
FileResult FollowLinks(const std::filesystem::path& path, std::filesystem::path& target) {
    target = path;
    for (int links = 0;; ++links) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return {true, {}};
        }
        if (links == kMaxLinks) {
            return Failure(path, "cannot follow its links", ELOOP);
        }
        std::error_code ec;
        const std::filesystem::path next = std::filesystem::read_symlink(target, ec);
        if (ec) {
            return {false, path.string() + ": cannot follow its link: " + ec.message()};
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
}

// `path` as a message names it: the link and the file it leads to when they differ.
std::filesystem::path Named(const std::filesystem::path& path,
                            const std::filesystem::path& target) {
    if (path == target) {
        return path;
    }
    return path.string() + " (a link to " + target.string() + ")";
}

// Writes `bytes` to a new temporary file beside `path` and flushes it; `temp_name` receives its
// name. `mode` is the file's permissions; a failure names the file as `named`. On failure
// nothing is left behind.
FileResult WriteTemporaryFile(const std::filesystem::path& path, const std::filesystem::path& named,
                              std::span<const uint8_t> bytes, mode_t mode, std::string& temp_name) {
    std::filesystem::path temp = path;
    temp += std::string(kTemporaryMark) + std::to_string(::getpid()) + "-XXXXXX";
    temp_name = temp.string();
    int fd = ::mkstemp(temp_name.data());
    if (fd < 0) {
        return Failure(named, "cannot create a temporary file", errno);
    }
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            int err = errno;
            ::close(fd);
            ::unlink(temp_name.c_str());
            return Failure(named, "cannot write", err);
        }
        done += static_cast<size_t>(n);
    }
    if (::fchmod(fd, mode) != 0) {
        int err = errno;
        ::close(fd);
        ::unlink(temp_name.c_str());
        return Failure(named, "cannot set permissions", err);
    }
    if (::fsync(fd) != 0) {
        int err = errno;
        ::close(fd);
        ::unlink(temp_name.c_str());
        return Failure(named, "cannot write", err);
    }
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(temp_name.c_str());
        return Failure(named, "cannot write", err);
    }
    return {true, {}};
}

// Opens `path` for reading and checks that it is a regular file of at most `max_size` bytes
// (unless `max_size` is kAnyFileSize). The open does not block on a FIFO, and nothing is read.
// Returns the descriptor, or -1 with `failure` set.
int OpenRegularFile(const std::filesystem::path& path, std::uintmax_t max_size,
                    FileResult& failure) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        failure = Failure(path, "cannot open", errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        failure = Failure(path, "cannot read", errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        failure = {false, path.string() + ": " + KindOf(st.st_mode) + ", not a regular file", true};
        ::close(fd);
        return -1;
    }
    if (static_cast<std::uintmax_t>(st.st_size) > max_size) {
        failure = {false, TooLarge(path, static_cast<std::uintmax_t>(st.st_size), max_size), true};
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads from `fd` until the end of the file or until `limit` bytes are in `bytes`.
bool ReadUpTo(int fd, std::uintmax_t limit, std::vector<uint8_t>& bytes) {
    uint8_t block[65536];
    while (bytes.size() < limit) {
        const std::uintmax_t wanted = std::min<std::uintmax_t>(sizeof block, limit - bytes.size());
        const ssize_t n = ::read(fd, block, static_cast<size_t>(wanted));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (n == 0) {
            break;
        }
        bytes.insert(bytes.end(), block, block + n);
    }
    return true;
}

// The checks of CheckWritable; `target` receives the file `path` leads to and `mode` the
// permissions its replacement takes.
FileResult Writable(const std::filesystem::path& path, std::filesystem::path& target,
                    mode_t& mode) {
    // The rename replaces a name: given a link it would put a file in the link's place, so the
    // bytes go to the file the link leads to.
    if (FileResult followed = FollowLinks(path, target); !followed) {
        return followed;
    }
    const std::filesystem::path named = Named(path, target);
    // The replacement keeps the permissions of the file it replaces; a new file gets the usual
    // rw-r--r-- instead of mkstemp's owner-only mode.
    mode = 0644;
    struct stat old_stat {};
    if (::stat(target.c_str(), &old_stat) != 0) {
        return {true, {}};
    }
    if (!S_ISREG(old_stat.st_mode)) {
        return {false, named.string() + ": " + KindOf(old_stat.st_mode) + ", not a regular file",
                true};
    }
    // A rename needs only the folder's permission: a file its owner made read-only, or one
    // of another user, would be replaced all the same.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return Failure(named, "may not be written", errno);
    }
    mode = old_stat.st_mode & 07777;
    return {true, {}};
}

}  // namespace

FileResult CheckWritable(const std::filesystem::path& path) {
    std::filesystem::path target;
    mode_t mode = 0;
    return Writable(path, target, mode);
}

FileResult WriteFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::filesystem::path target;
    mode_t mode = 0;
    if (FileResult writable = Writable(path, target, mode); !writable) {
        return writable;
    }
    const std::filesystem::path named = Named(path, target);
    RemoveStaleTemporaries(target);
    std::string temp_name;
    if (FileResult written = WriteTemporaryFile(target, named, bytes, mode, temp_name); !written) {
        return written;
    }
    if (::rename(temp_name.c_str(), target.c_str()) != 0) {
        int err = errno;
        ::unlink(temp_name.c_str());
        return Failure(named, "cannot replace", err);
    }
    return {true, {}};
}

FileResult CreateFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    RemoveStaleTemporaries(path);
    std::string temp_name;
    if (FileResult written = WriteTemporaryFile(path, path, bytes, 0644, temp_name); !written) {
        return written;
    }
    // A hard link is made only where no name stands yet, so whatever appeared at `path`
    // meanwhile is never replaced.
    const int linked = ::link(temp_name.c_str(), path.c_str());
    const int err = errno;
    ::unlink(temp_name.c_str());
    if (linked != 0) {
        return err == EEXIST ? FileResult{false, path.string() + ": exists already", true}
                             : Failure(path, "cannot create", err);
    }
    return {true, {}};
}

FileResult ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes,
                         std::uintmax_t max_size) {
    bytes.clear();
    FileResult failure;
    const int fd = OpenRegularFile(path, max_size, failure);
    if (fd < 0) {
        return failure;
    }
    // One byte more than allowed is asked for, so a file that grew after it was judged is
    // still refused rather than cut.
    const std::uintmax_t limit = max_size == kAnyFileSize ? max_size : max_size + 1;
    const bool read = ReadUpTo(fd, limit, bytes);
    const int err = errno;
    ::close(fd);
    if (!read) {
        bytes.clear();
        return Failure(path, "cannot read", err);
    }
    if (bytes.size() > max_size) {
        bytes.clear();
        return {false,
                path.string() + ": grew beyond the " + std::to_string(max_size) +
                    " bytes such a file holds while it was read",
                true};
    }
    return {true, {}};
}

FileResult ReadFileStart(const std::filesystem::path& path, std::vector<uint8_t>& bytes,
                         std::size_t count) {
    bytes.clear();
    FileResult failure;
    const int fd = OpenRegularFile(path, kAnyFileSize, failure);
    if (fd < 0) {
        return failure;
    }
    const bool read = ReadUpTo(fd, count, bytes);
    const int err = errno;
    ::close(fd);
    if (!read) {
        bytes.clear();
        return Failure(path, "cannot read", err);
    }
    return {true, {}};
}

}  // namespace velq
