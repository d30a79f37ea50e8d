// Saving a file that never surprises: the name given gets the whole new
// content or keeps its old file, whatever it names and however the process
// ends.
//
// - A symbolic link is followed, link by link, to the name it finally
//   gives; that file is replaced and the link stays a link. A dangling link
//   creates the file it names.
// - A directory is refused (EISDIR); an existing file without any write
//   permission bit, or one the caller may not write, is refused (EACCES).
// - A character device, FIFO or other file that is neither regular nor a
//   directory is written in place, without temporary file or rename: the
//   result is true only when every byte was written.
// - A regular file is written to a new file in the target's directory and
//   renamed over the target, so a reader sees the old file or the new one,
//   never a mixture. On Linux the new file is created without a name
//   (O_TMPFILE) and gets one only for the instant of the rename, given and
//   renamed by a helper process that a kill does not stop (a new target
//   gets its own name straight away), so a killed process leaves nothing
//   behind; where O_TMPFILE is refused it gets a short
//   hidden name, as mkstemp makes them. Either way the target's name may be
//   as long as the file system allows.
// - The replacing file keeps the replaced one's permission bits, and its
//   owner and group where the caller may set them; a new file gets 0666 less
//   the umask.
// - Replacing an existing file flushes the new content before the rename and
//   the directory after it, so that after a power cut the name holds the old
//   file or the new one, whole. A new file is not flushed: nothing old is at
//   risk. With SaveOptions::deferFlush nothing is flushed here; the caller
//   runs FlushFileSystemOf once after a batch.
//
// Every false return leaves errno set to the cause and the old file as it
// was.
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/drawing_surface.h"
#include "platform/portable/detached_rename.h"

namespace ecc200::platform {
namespace {

// The kernel follows at most 40 links in one path before ELOOP.
constexpr int kMostLinksFollowed = 40;
// Temporary names taken by another save at the same moment are skipped;
// this many are tried before giving up.
constexpr int kNameAttempts = 100;
// writev takes at most IOV_MAX pieces; one call writes at most 1 GiB so that
// the total fits ssize_t on every platform.
#ifdef IOV_MAX
constexpr std::size_t kMostPiecesPerWrite = IOV_MAX;
#else
constexpr std::size_t kMostPiecesPerWrite = 16;
#endif
constexpr std::size_t kMostBytesPerWrite = std::size_t{1} << 30;
// A file of at most this many bytes is first tried as a new one (see
// SavedAsNewFile): written before the path is looked at, so written in
// vain when the path names a link, a device or a read-only file. Larger
// files look first.
constexpr std::size_t kMostBytesTriedAsNew = 64 * 1024;

bool Fail(int error) {
    errno = error;
    return false;
}

// Runs `cleanup` without letting it change errno, which holds the cause of
// the failure being reported.
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
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, reporting the error a delayed write may show only here.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }

private:
    int fd_;
};

struct SplitPath {
    std::string directory;
    std::string name;  // empty when the path ends with a slash
};

SplitPath Split(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

bool ReadLink(const std::string& link, std::string& target) {
    char buffer[PATH_MAX];
    const ssize_t length = readlink(link.c_str(), buffer, sizeof buffer);
    if (length < 0) return false;
    if (static_cast<std::size_t>(length) == sizeof buffer) return Fail(ENAMETOOLONG);
    target.assign(buffer, static_cast<std::size_t>(length));
    return true;
}

// The name `path` finally gives: each symbolic link in the last component
// replaced by its target (relative targets taken from the link's directory)
// until the name is no link, or names nothing yet.
bool FinalName(const char* path, std::string& name) {
    name = path;
    for (int followed = 0;; ++followed) {
        struct stat entry {};
        if (lstat(name.c_str(), &entry) != 0) return errno == ENOENT;
        if (!S_ISLNK(entry.st_mode)) return true;
        if (followed == kMostLinksFollowed) return Fail(ELOOP);
        std::string target;
        if (!ReadLink(name, target)) return false;
        if (target.empty()) return Fail(ENOENT);
        name = target[0] == '/' ? target : Split(name).directory + "/" + target;
    }
}

// A read-only file is not replaced, even by a caller who could: no write
// permission bit means "keep me", as Windows' read-only attribute does.
bool CallerMayWrite(const char* path, const struct stat& file) {
    if ((file.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return Fail(EACCES);
    return faccessat(AT_FDCWD, path, W_OK, AT_EACCESS) == 0 || errno != EACCES;
}

// Writes every piece, resuming after short writes, in calls of at most
// kMostPiecesPerWrite pieces and kMostBytesPerWrite bytes.
bool WritePieces(int fd, const std::vector<ByteSpan>& pieces) {
    const std::size_t count = pieces.size();
    std::vector<iovec> batch;
    batch.reserve(std::min(count, kMostPiecesPerWrite));
    std::size_t next = 0;    // the first piece not yet written
    std::size_t offset = 0;  // bytes of it already written
    for (;;) {
        batch.clear();
        std::size_t batchBytes = 0;
        for (std::size_t i = next; i < count && batch.size() < kMostPiecesPerWrite &&
                                   batchBytes < kMostBytesPerWrite; ++i) {
            const std::size_t skip = i == next ? offset : 0;
            const std::size_t length = std::min(pieces[i].size - skip, kMostBytesPerWrite - batchBytes);
            if (length == 0) continue;
            batch.push_back({const_cast<std::uint8_t*>(pieces[i].data) + skip, length});
            batchBytes += length;
        }
        if (batch.empty()) return true;
        const ssize_t written = writev(fd, batch.data(), static_cast<int>(batch.size()));
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) return Fail(EIO);
        for (auto left = static_cast<std::size_t>(written); next < count; ++next, offset = 0) {
            const std::size_t remaining = pieces[next].size - offset;
            if (remaining > left) {
                offset += left;
                break;
            }
            left -= remaining;
        }
    }
}

// While a FIFO or socket is written, SIGPIPE is held back in this thread so
// that a reader going away makes the write fail with EPIPE instead of
// ending the process; a SIGPIPE raised meanwhile is taken back.
class SigpipeHeld {
public:
    SigpipeHeld() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
    }
    ~SigpipeHeld() {
        KeepingErrno([this] {
            sigset_t pending;
            sigpending(&pending);
            if (!wasPending_ && sigismember(&pending, SIGPIPE) == 1) {
                const timespec now{0, 0};
                sigtimedwait(&pipe_, nullptr, &now);
            }
            pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
        });
    }
    SigpipeHeld(const SigpipeHeld&) = delete;
    SigpipeHeld& operator=(const SigpipeHeld&) = delete;

private:
    sigset_t pipe_{};
    sigset_t previous_{};
    bool wasPending_ = false;
};

// A device, FIFO or a file reached only through a link of /proc: opened as
// it is and written, without rename.
bool WriteInPlace(const char* path, const std::vector<ByteSpan>& pieces, bool regular) {
    const SigpipeHeld sigpipeHeld;
    FileDescriptor file(open(path, O_WRONLY | O_NOCTTY | O_CLOEXEC | (regular ? O_TRUNC : 0)));
    if (!file.valid()) return false;
    const bool written = WritePieces(file.get(), pieces);
    if (!written) return false;
    return file.Close();
}

// A short hidden name, unlikely to be in use: ".ecc200-" and six characters
// from the clock, the process, the thread and the attempt, as mkstemp makes
// them.
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

// The replacing file takes over the replaced one's owner and group where
// the caller may set them, then its permission bits (after the change of
// owner, which clears set-user-ID bits).
bool TakeOverOwnerAndMode(int fd, const struct stat& replaced) {
    if (fchown(fd, replaced.st_uid, replaced.st_gid) != 0 && errno == EPERM) {
        if (fchown(fd, static_cast<uid_t>(-1), replaced.st_gid) != 0 && errno != EPERM) return false;
    }
    return fchmod(fd, replaced.st_mode & 07777) == 0 || fchmod(fd, replaced.st_mode & 0777) == 0;
}

// The new file in the target's directory, with a name or without one.
struct NewFile {
    FileDescriptor file;
    std::string name;  // empty while the file has no name
};

// O_TMPFILE: a file without a name, gone with the process unless linked,
// in the directory `where` names (relative to `directory`).
// False with errno EOPNOTSUPP, EISDIR or EINVAL where it is refused.
bool CreateNameless(int directory, const char* where, mode_t mode, NewFile& created) {
#ifdef O_TMPFILE
    created.file = FileDescriptor(openat(directory, where, O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    return created.file.valid();
#else
    (void)directory;
    (void)where;
    (void)mode;
    (void)created;
    return Fail(EOPNOTSUPP);
#endif
}

// `prefix`: the directory's path and a slash where `directory` is AT_FDCWD.
bool CreateHidden(int directory, const std::string& prefix, mode_t mode, NewFile& created) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        created.name = prefix + HiddenName(attempt);
        created.file = FileDescriptor(openat(directory, created.name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (created.file.valid()) return true;
        if (errno != EEXIST) break;
    }
    created.name.clear();
    return false;
}

// How one replacement runs: the target's directory (open for the *at calls
// and its flush), the target's name in it, and what the target was. A new
// file needs no flush of its directory and so no descriptor of it: its
// names are then paths, `directory` is AT_FDCWD and `prefix` the
// directory's path with a slash.
struct Replacement {
    int directory;
    bool directoryFlushable;
    std::string where;   // the directory relative to `directory`: "." or its path
    std::string prefix;  // put before a name in the directory: "" or the directory's path and a slash
    std::string name;    // the target, relative to `directory`
    bool replacing;  // an existing file is replaced
    struct stat replaced;
    bool flush;  // replacing and not deferred
};

// Writes the new file; true with the file written, owned and flushed as the
// replacement asks.
bool FillNewFile(const Replacement& job, const std::vector<ByteSpan>& pieces, int fd) {
    if (!WritePieces(fd, pieces)) return false;
    if (job.replacing && !TakeOverOwnerAndMode(fd, job.replaced)) return false;
    return !job.flush || fsync(fd) == 0;
}

// Renames the named new file over the target; removes it on failure.
bool RenameOver(const Replacement& job, const std::string& temporary) {
    if (renameat(job.directory, temporary.c_str(), job.directory, job.name.c_str()) == 0) return true;
    KeepingErrno([&] { unlinkat(job.directory, temporary.c_str(), 0); });
    return false;
}

// A nameless new file replacing an existing one through a hidden name that
// lives only until the rename. `created` may already hold a nameless file
// with the pieces written, made in the target's directory; otherwise one
// is made here. `refused` tells that the nameless way does not work here
// and nothing was done.
bool SaveNameless(const Replacement& job, const std::vector<ByteSpan>& pieces, mode_t mode, NewFile& created,
                  bool& refused) {
    const bool written = created.file.valid();
    if (!written && !CreateNameless(job.directory, job.where.c_str(), mode, created)) {
        refused = errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL;
        return false;
    }
    const std::vector<ByteSpan> nothing;
    if (!FillNewFile(job, written ? nothing : pieces, created.file.get())) return false;
    // Named and renamed by a helper that a kill of this process does not
    // stop, then closed: the hidden name never outlives the save.
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const LinkAndRenameResult done =
            LinkAndRenameOver(created.file.get(), job.directory, HiddenName(attempt).c_str(), job.name.c_str());
        if (done.error == 0) return created.file.Close();
        errno = done.error;
        if (!done.linkFailed || errno != EEXIST) {
            refused = done.linkFailed && (errno == ENOENT || errno == EOPNOTSUPP);
            return false;
        }
    }
    return false;
}

// A brand-new target, without a directory descriptor: the nameless file
// linked under the target's own path. `refused` as for SaveNameless;
// `appeared`: the target was made meanwhile, nothing was done.
bool SaveNewNameless(const Replacement& job, const std::vector<ByteSpan>& pieces, bool& refused, bool& appeared) {
    NewFile created;
    if (!CreateNameless(AT_FDCWD, job.where.c_str(), 0666, created)) {
        refused = errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL;
        return false;
    }
    if (!WritePieces(created.file.get(), pieces)) return false;
    if (LinkNameless(created.file.get(), AT_FDCWD, job.name.c_str())) return created.file.Close();
    // ENOENT: /proc is not there and AT_EMPTY_PATH is not allowed.
    refused = errno == ENOENT || errno == EOPNOTSUPP;
    appeared = errno == EEXIST;
    return false;
}

// Where the nameless way is refused: a short hidden name from the start.
bool SaveHidden(const Replacement& job, const std::vector<ByteSpan>& pieces, mode_t mode) {
    NewFile created;
    if (!CreateHidden(job.directory, job.prefix, mode, created)) return false;
    if (!FillNewFile(job, pieces, created.file.get()) || !created.file.Close()) {
        KeepingErrno([&] { unlinkat(job.directory, created.name.c_str(), 0); });
        return false;
    }
    return RenameOver(job, created.name);
}

// The directory, readable for its flush where the caller may read it.
int OpenDirectory(const std::string& path, bool& flushable) {
    flushable = true;
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#ifdef O_PATH
    if (fd < 0 && errno == EACCES) {
        flushable = false;
        return open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
#endif
    return fd;
}

bool Save(const char* path, const std::vector<ByteSpan>& pieces, const SaveOptions& options, bool mayCreate,
          NewFile& written);

// `path` names the regular file `existing` (nullptr: nothing yet), through
// links when `linked`. `written`: a nameless file already holding the
// pieces, made in the directory of `path` itself, or none; used only where
// that is the directory of the file replaced.
bool ReplaceRegularFile(const char* path, bool linked, const std::vector<ByteSpan>& pieces,
                        const SaveOptions& options, const struct stat* existing, NewFile& written) {
    std::string target;
    if (!linked) {
        target = path;
    } else if (!FinalName(path, target)) {
        return false;
    }
    const SplitPath parts = Split(target);
    if (parts.name.empty() || parts.name == "." || parts.name == "..") return Fail(EISDIR);
    Replacement job{-1, false, ".", "", parts.name, existing != nullptr, {}, false};
    if (job.replacing && !linked) {
        job.replaced = *existing;
    } else if (job.replacing) {
        // A link of /proc may name a pipe or a deleted file: the name found
        // is then not the file, which is written where it is.
        if (lstat(target.c_str(), &job.replaced) != 0 || !S_ISREG(job.replaced.st_mode) ||
            job.replaced.st_dev != existing->st_dev || job.replaced.st_ino != existing->st_ino) {
            return WriteInPlace(path, pieces, S_ISREG(existing->st_mode));
        }
    }
    job.flush = job.replacing && !options.deferFlush;
    if (job.replacing && options.deferFlush && options.flushOwed != nullptr) *options.flushOwed = true;
    FileDescriptor directory;
    if (job.replacing) {
        directory = FileDescriptor(OpenDirectory(parts.directory, job.directoryFlushable));
        if (!directory.valid()) return false;
        job.directory = directory.get();
    } else {
        job.directory = AT_FDCWD;
        job.where = parts.directory;
        job.prefix = target.substr(0, target.size() - parts.name.size());  // "" or up to the last slash
        job.name = target;
    }
    // The file is created with the replaced file's bits (fixed up by fchmod
    // past the umask) or with 0666, which the umask reduces.
    const mode_t mode = job.replacing ? (job.replaced.st_mode & 0777) : 0666;
    bool refused = false;
    bool appeared = false;
    NewFile created;
    if (job.replacing && !linked) created.file = std::move(written.file);
    bool saved = job.replacing ? SaveNameless(job, pieces, mode, created, refused)
                               : SaveNewNameless(job, pieces, refused, appeared);
    // Made by someone else meanwhile: looked at again and replaced, once.
    if (appeared) return Save(path, pieces, options, false, created);
    if (!saved && refused) saved = SaveHidden(job, pieces, mode);
    if (!saved) return false;
    return !job.flush || !job.directoryFlushable || fsync(job.directory) == 0;
}

// mayCreate false: the path was just found taken; it must name something.
bool Save(const char* path, const std::vector<ByteSpan>& pieces, const SaveOptions& options, bool mayCreate,
          NewFile& written) {
    // lstat first: a new file or one that is no link needs no stat.
    struct stat existing {};
    if (lstat(path, &existing) != 0) {
        if (errno != ENOENT) return false;
        if (!mayCreate) return Fail(EEXIST);
        return ReplaceRegularFile(path, false, pieces, options, nullptr, written);
    }
    const bool linked = S_ISLNK(existing.st_mode);
    if (linked && stat(path, &existing) != 0) {
        if (errno != ENOENT) return false;
        if (!mayCreate) return Fail(EEXIST);
        return ReplaceRegularFile(path, true, pieces, options, nullptr, written);  // a dangling link
    }
    if (S_ISDIR(existing.st_mode)) return Fail(EISDIR);
    if (!CallerMayWrite(path, existing)) return false;
    if (!S_ISREG(existing.st_mode)) return WriteInPlace(path, pieces, false);
    return ReplaceRegularFile(path, linked, pieces, options, &existing, written);
}

// A small file is first saved as a new one, without looking at the path:
// its nameless file written, then linked under the path. A new file, the
// usual case, is then saved without the look-up of a name that is not
// there. True, with `saved` the result, once the file was linked; false,
// with nothing named, when anything failed, and the save goes the usual
// way. When the path was taken, `written` keeps the nameless file, which
// goes on to replace a regular file the path names directly; anything
// else (a link, a device, a read-only file) drops it.
bool SavedAsNewFile(const char* path, const std::vector<ByteSpan>& pieces, bool& saved, NewFile& written) {
    std::size_t total = 0;
    for (const ByteSpan& piece : pieces) {
        if (piece.size > kMostBytesTriedAsNew - total) return false;
        total += piece.size;
    }
    const SplitPath parts = Split(path);
    if (parts.name.empty() || parts.name == "." || parts.name == "..") return false;
    NewFile created;
    if (!CreateNameless(AT_FDCWD, parts.directory.c_str(), 0666, created) || !WritePieces(created.file.get(), pieces)) {
        return false;
    }
    if (!LinkNameless(created.file.get(), AT_FDCWD, path)) {
        if (errno == EEXIST) written.file = std::move(created.file);
        return false;
    }
    saved = created.file.Close();
    return true;
}

}  // namespace

bool ReplaceFileWith(const char* path, const std::vector<ByteSpan>& pieces, const SaveOptions& options) {
    if (path == nullptr) return Fail(EINVAL);
    if (*path == '\0') return Fail(ENOENT);
    const int cause = errno;
    bool saved = false;
    NewFile written;
    if (SavedAsNewFile(path, pieces, saved, written)) return saved;
    errno = cause;
    return Save(path, pieces, options, true, written);
}

bool FlushFileSystemOf(const char* path) {
    if (path == nullptr) return Fail(EINVAL);
#ifdef __linux__
    // The directory of the file the path finally names: opening the file
    // itself could block (a FIFO) or act (a device).
    std::string target;
    if (!FinalName(path, target)) return false;
    const FileDescriptor directory(open(Split(target).directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return directory.valid() && syncfs(directory.get()) == 0;
#else
    sync();
    return true;
#endif
}

}  // namespace ecc200::platform
