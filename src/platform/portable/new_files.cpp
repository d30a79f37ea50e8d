#include "platform/portable/new_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>

namespace ecc200::platform {

FileDescriptor CreateNameless(int directory, const char* where, mode_t mode) {
#ifdef O_TMPFILE
    return FileDescriptor(openat(directory, where, O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
#else
    (void)directory;
    (void)where;
    (void)mode;
    errno = EOPNOTSUPP;
    return FileDescriptor();
#endif
}

// EOPNOTSUPP: the file system lacks it; EISDIR or EINVAL: the kernel does.
bool NamelessRefused(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

std::string HiddenName(int attempt) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static thread_local const char threadTag = 0;  // its address tells the threads apart
    std::uint64_t bits = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                         (static_cast<std::uint64_t>(getpid()) << 32) ^ reinterpret_cast<std::uintptr_t>(&threadTag) ^
                         static_cast<std::uint64_t>(attempt) * 0x9E3779B97F4A7C15u;
    bits = (bits ^ (bits >> 31)) * 0xBF58476D1CE4E5B9u;  // splitmix64's mixing
    bits ^= bits >> 29;
    std::string name = ".ecc200-";
    for (int i = 0; i < 6; ++i, bits /= 62) name += kLetters[bits % 62];
    return name;
}

HiddenFile CreateHidden(int directory, const std::string& prefix, mode_t mode) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = prefix + HiddenName(attempt);
        FileDescriptor file(openat(directory, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (file.valid()) return {std::move(file), std::move(name)};
        if (errno != EEXIST) break;
    }
    return {};
}

}  // namespace ecc200::platform
