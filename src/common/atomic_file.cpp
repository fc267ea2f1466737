#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

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

// Writes `bytes` to a new temporary file beside `path` and flushes it; `temp_name` receives its
// name. `mode` is the file's permissions. On failure nothing is left behind.
FileResult WriteTemporaryFile(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                              mode_t mode, std::string& temp_name) {
    std::filesystem::path temp = path;
    temp += ".tmp-XXXXXX";
    temp_name = temp.string();
    int fd = ::mkstemp(temp_name.data());
    if (fd < 0) {
        return Failure(path, "cannot create a temporary file", errno);
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
            return Failure(path, "cannot write", err);
        }
        done += static_cast<size_t>(n);
    }
    if (::fchmod(fd, mode) != 0) {
        int err = errno;
        ::close(fd);
        ::unlink(temp_name.c_str());
        return Failure(path, "cannot set permissions", err);
    }
    if (::fsync(fd) != 0) {
        int err = errno;
        ::close(fd);
        ::unlink(temp_name.c_str());
        return Failure(path, "cannot write", err);
    }
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(temp_name.c_str());
        return Failure(path, "cannot write", err);
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

}  // namespace

FileResult WriteFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    // The replacement keeps the permissions of the file it replaces; a new file gets the usual
    // rw-r--r-- instead of mkstemp's owner-only mode.
    struct stat old_stat {};
    const mode_t mode = ::stat(path.c_str(), &old_stat) == 0 ? (old_stat.st_mode & 07777) : 0644;
    std::string temp_name;
    if (FileResult written = WriteTemporaryFile(path, bytes, mode, temp_name); !written) {
        return written;
    }
    if (::rename(temp_name.c_str(), path.c_str()) != 0) {
        int err = errno;
        ::unlink(temp_name.c_str());
        return Failure(path, "cannot replace", err);
    }
    return {true, {}};
}

FileResult CreateFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::string temp_name;
    if (FileResult written = WriteTemporaryFile(path, bytes, 0644, temp_name); !written) {
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
