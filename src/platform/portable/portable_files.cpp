// Saving a file without ever losing the old one: the pieces go to a new
// file beside the target, which is renamed over the target only once it has
// been written, flushed and closed without error. rename() within one
// directory replaces the target atomically, so a reader sees the old file or
// the new one, never a mixture, and a failure at any step leaves the old
// file as it was and removes the new one.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/drawing_surface.h"

namespace ecc200::platform {
namespace {

constexpr int kNameAttempts = 100;

// A name beside the target that no other save is likely to use at the same
// moment (process, clock, attempt); O_EXCL settles the rare collision by
// trying again.
std::string TemporaryNameFor(const std::string& path, int attempt) {
    const auto ticks = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%ld.%llx.%d.tmp", static_cast<long>(getpid()), ticks & 0xFFFFFFFFu, attempt);
    return path + suffix;
}

// Creates the temporary file with the mode a newly created file gets
// (0666 less the umask) rather than mkstemp's 0600.
int CreateTemporaryFile(const std::string& path, std::string& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = TemporaryNameFor(path, attempt);
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool WriteFully(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool WritePieces(int fd, const std::vector<ByteSpan>& pieces) {
    for (const ByteSpan& piece : pieces) {
        if (!WriteFully(fd, piece.data, piece.size)) return false;
    }
    return true;
}

}  // namespace

bool ReplaceFileWith(const char* path, const std::vector<ByteSpan>& pieces) {
    if (path == nullptr || *path == '\0') return false;
    const std::string target(path);
    std::string temporary;
    const int fd = CreateTemporaryFile(target, temporary);
    if (fd < 0) return false;
    bool ok = WritePieces(fd, pieces) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) unlink(temporary.c_str());
    return ok;
}

}  // namespace ecc200::platform
