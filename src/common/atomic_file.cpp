#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace velq {
namespace {

FileResult Failure(const std::filesystem::path& path, const char* what, int err) {
    return {false, path.string() + ": " + what + ": " + std::strerror(err)};
}

}  // namespace

FileResult WriteFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::filesystem::path temp = path;
    temp += ".tmp-XXXXXX";
    std::string temp_name = temp.string();
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
    // The replacement keeps the permissions of the file it replaces; a new file gets the usual
    // rw-r--r-- instead of mkstemp's owner-only mode.
    struct stat old_stat {};
    mode_t mode = ::stat(path.c_str(), &old_stat) == 0 ? (old_stat.st_mode & 07777) : 0644;
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
    if (::rename(temp_name.c_str(), path.c_str()) != 0) {
        int err = errno;
        ::unlink(temp_name.c_str());
        return Failure(path, "cannot replace", err);
    }
    return {true, {}};
}

FileResult ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return Failure(path, "cannot open", errno ? errno : ENOENT);
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        int err = errno;
        bytes.clear();
        return Failure(path, "cannot read", err);
    }
    return {true, {}};
}

}  // namespace velq
