// An open file descriptor owned by one object, closed when it goes, for the
// save path's files and directories; and the errno rule of that path: a
// clean-up never changes errno, which holds the cause being reported.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace ecc200::platform {

// Reports a failure: false, with errno the cause.
inline bool Fail(int error) {
    errno = error;
    return false;
}

// Runs `cleanup` without letting it change errno.
template <typename Cleanup>
void KeepingErrno(Cleanup cleanup) {
    const int cause = errno;
    cleanup();
    errno = cause;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) KeepingErrno([this] { close(fd_); });
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    // The descriptor held before goes to `other`, which closes it.
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, reporting the error a delayed write may show only here.
    bool Close() {
        const int fd = std::exchange(fd_, -1);
        return close(fd) == 0;
    }

private:
    int fd_;
};

}  // namespace ecc200::platform
