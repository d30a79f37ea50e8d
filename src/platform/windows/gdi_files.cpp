// Saving a file on Windows without surprises, as the portable backend does
// wherever Windows works the same way:
// - a symbolic link (a reparse point) is followed to the file it finally
//   names, which is replaced; the link stays a link;
// - a directory is refused (EISDIR), a file with the read-only attribute
//   too (EACCES), and the file is left as it was;
// - a character device or pipe (CON, NUL, a named pipe) is written in place;
// - anything else is written to a new file beside the target, which then
//   replaces the target: ReplaceFileA, which keeps the replaced file's
//   attributes and ACLs, or where that fails MoveFileExA with
//   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH. A replaced file's new
//   content is flushed first (FlushFileBuffers); a new file is not flushed,
//   nor anything with SaveOptions::deferFlush.
// Any failure deletes the new file, leaves the target as it was and sets
// errno to the cause.
#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/windows/gdi_drawing.h"

namespace ecc200::platform {
namespace {

// WriteFile takes at most a DWORD of bytes at a time; 1 GiB pieces keep each
// call well inside that.
constexpr std::size_t kLargestWrite = std::size_t{1} << 30;

// A name already taken by a stale temporary file is skipped; this many are
// tried before giving up.
constexpr unsigned kNameAttempts = 16;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The errno value naming a Windows error, for strerror.
int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_PATHNAME:
        case ERROR_INVALID_NAME: return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return EACCES;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return ENOMEM;
        case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
        case ERROR_WRITE_PROTECT: return EROFS;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return EEXIST;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA: return EPIPE;
        default: return EIO;
    }
}

bool Fail(int error) {
    errno = error;
    return false;
}

bool FailWithLastError() { return Fail(ErrnoOf(::GetLastError())); }

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) ::CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = INVALID_HANDLE_VALUE; }
    FileHandle& operator=(FileHandle&&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) != 0;
    }

private:
    HANDLE handle_;
};

bool WriteAll(HANDLE file, const std::vector<ByteSpan>& pieces) {
    for (const ByteSpan& piece : pieces) {
        const std::uint8_t* next = piece.data;
        std::size_t left = piece.size;
        while (left > 0) {
            const auto chunk = static_cast<DWORD>(std::min(left, kLargestWrite));
            DWORD written = 0;
            if (!::WriteFile(file, next, chunk, &written, nullptr)) return FailWithLastError();
            if (written != chunk) return Fail(ENOSPC);
            next += chunk;
            left -= chunk;
        }
    }
    return true;
}

// The directory part of a path, separator included ("" for a bare name).
std::string DirectoryOf(const std::string& path) {
    const std::size_t end = path.find_last_of("\\/:");
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

// A short name in the target's directory, hence on its volume, which a
// replacing rename needs.
std::string TemporaryNameFor(const std::string& target, unsigned attempt) {
    return DirectoryOf(target) + "~ecc200-" + std::to_string(::GetCurrentProcessId() % 100000) + "-" +
           std::to_string(attempt) + ".tmp";
}

struct TemporaryFile {
    FileHandle file{INVALID_HANDLE_VALUE};  // invalid, with GetLastError the cause, when none was made
    std::string name;
};

TemporaryFile CreateTemporaryFile(const std::string& target) {
    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = TemporaryNameFor(target, attempt);
        FileHandle file(
            ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid() || ::GetLastError() != ERROR_FILE_EXISTS) return {std::move(file), std::move(name)};
    }
    return {};
}

// A device or pipe: opened as it is and written.
bool WriteInPlace(const char* path, const std::vector<ByteSpan>& pieces) {
    FileHandle file(::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return FailWithLastError();
    if (!WriteAll(file.get(), pieces)) return false;
    return file.Close() || FailWithLastError();
}

// The name a reparse point (a symbolic link or junction) finally leads to,
// from the handle opened through it; the path itself otherwise.
std::string FinalName(const char* path, HANDLE opened) {
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return path;
    char resolved[MAX_PATH * 4];
    const DWORD length =
        ::GetFinalPathNameByHandleA(opened, resolved, sizeof resolved, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= sizeof resolved) return path;
    return std::string(resolved, length);
}

// Puts the written temporary file in the target's place.
bool MoveIntoPlace(const std::string& temporary, const std::string& target, bool replacing, bool flush) {
    if (replacing &&
        ::ReplaceFileA(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        return true;
    }
    // No ReplaceFileA where the file system lacks it, or a new file.
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | (flush ? MOVEFILE_WRITE_THROUGH : 0);
    return ::MoveFileExA(temporary.c_str(), target.c_str(), flags) != 0;
}

// Writes the new file whole, flushed when asked, and closes it.
bool FillAndClose(FileHandle file, const std::vector<ByteSpan>& pieces, bool flush) {
    if (!WriteAll(file.get(), pieces)) return false;
    if (flush && !::FlushFileBuffers(file.get())) return FailWithLastError();
    return file.Close() || FailWithLastError();
}

bool ReplaceWithNewFile(const std::string& target, const std::vector<ByteSpan>& pieces, bool replacing, bool flush) {
    TemporaryFile temporary = CreateTemporaryFile(target);
    if (!temporary.file.valid()) return FailWithLastError();
    const bool placed = FillAndClose(std::move(temporary.file), pieces, flush) &&
                        (MoveIntoPlace(temporary.name, target, replacing, flush) || FailWithLastError());
    if (placed) return true;
    const int cause = errno;
    ::DeleteFileA(temporary.name.c_str());
    errno = cause;
    return false;
}

bool Replace(const char* path, const std::vector<ByteSpan>& pieces, const SaveOptions& options) {
    if (path == nullptr) return Fail(EINVAL);
    if (*path == '\0') return Fail(ENOENT);
    // Opened without access, through any link, only to learn what it is.
    FileHandle existing(::CreateFileA(path, 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!existing.valid()) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) return Fail(ErrnoOf(error));
        return ReplaceWithNewFile(path, pieces, false, false);
    }
    const DWORD type = ::GetFileType(existing.get());
    if (type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE) {
        existing.Close();
        return WriteInPlace(path, pieces);
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(existing.get(), &information)) return FailWithLastError();
    if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return Fail(EISDIR);
    if (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return Fail(EACCES);
    const std::string target = FinalName(path, existing.get());
    existing.Close();
    if (options.deferFlush && options.flushOwed != nullptr) *options.flushOwed = true;
    return ReplaceWithNewFile(target, pieces, true, !options.deferFlush);
}

}  // namespace

Outcome ReplaceFileWith(const char* path, const std::vector<ByteSpan>& pieces, const SaveOptions& options) {
    return FileOutcome(Replace(path, pieces, options));
}

// Windows flushes a volume only for administrators: nothing to do here.
Outcome FlushFileSystemOf(const char* path) {
    return path == nullptr ? Failed(Failure::FileError, EINVAL) : Outcome{};
}

}  // namespace ecc200::platform
