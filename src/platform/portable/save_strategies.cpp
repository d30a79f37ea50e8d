#include "platform/portable/save_strategies.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>  // renameat
#include <string>

#include "platform/portable/detached_rename.h"
#include "platform/portable/new_files.h"
#include "platform/portable/write_pieces.h"

namespace ecc200::platform {
namespace {

// A file of at most this many bytes is first tried as a new one
// (SaveSmallFileAsNew): written before the path is looked at, so written in
// vain when the path names a link, a device or a read-only file. Larger
// files look first.
constexpr std::size_t kMostBytesTriedAsNew = 64 * 1024;

bool IsSmall(const std::vector<ByteSpan>& pieces) {
    std::size_t total = 0;
    for (const ByteSpan& piece : pieces) {
        if (piece.size > kMostBytesTriedAsNew - total) return false;
        total += piece.size;
    }
    return true;
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

// The replacing file takes over the replaced one's owner and group where
// the caller may set them, then its permission bits (after the change of
// owner, which clears set-user-ID bits).
bool TakeOverOwnerAndMode(int fd, const struct stat& replaced) {
    if (fchown(fd, replaced.st_uid, replaced.st_gid) != 0 && errno == EPERM) {
        if (fchown(fd, static_cast<uid_t>(-1), replaced.st_gid) != 0 && errno != EPERM) return false;
    }
    return fchmod(fd, replaced.st_mode & 07777) == 0 || fchmod(fd, replaced.st_mode & 0777) == 0;
}

// Writes the new file; true with it written, owned and flushed as the plan
// asks: a replacing file takes over the replaced one's owner and mode and is
// flushed before its rename, so that after a power cut the name holds the
// old file or the new one, whole.
bool FillNewFile(const Plan& plan, const std::vector<ByteSpan>& pieces, int fd) {
    if (!WritePieces(fd, pieces)) return false;
    if (plan.way == Plan::Way::kReplace && !TakeOverOwnerAndMode(fd, plan.replaced)) return false;
    return !plan.flush || fsync(fd) == 0;
}

// After a replacing rename: the directory flushed, so that the rename
// itself survives a power cut.
SaveAttempt FlushedDirectory(const Plan& plan) {
    if (!plan.flush || !plan.directoryFlushable || fsync(plan.directory()) == 0) return SaveAttempt::Saved();
    return SaveAttempt::FailedWithErrno();
}

// The nameless way refused (errno): declined, so that a hidden name is
// tried; any other failure is final.
SaveAttempt RefusedOrFailed(bool refused) { return refused ? SaveAttempt::Declined() : SaveAttempt::FailedWithErrno(); }

// The written nameless file named and renamed over the target by a helper
// that a kill of this process does not stop, then closed: the hidden name
// never outlives the save.
SaveAttempt LinkAndRenameNameless(const Plan& plan, FileDescriptor file) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const LinkAndRenameResult done =
            LinkAndRenameOver(file.get(), plan.directory(), HiddenName(attempt).c_str(), plan.name.c_str());
        if (done.error == 0) return SaveAttempt::ClosedAndSaved(std::move(file));
        errno = done.error;
        if (!done.linkFailed || errno != EEXIST) {
            // ENOENT: /proc is not there and AT_EMPTY_PATH is not allowed.
            return RefusedOrFailed(done.linkFailed && (errno == ENOENT || errno == EOPNOTSUPP));
        }
    }
    return SaveAttempt::Failed(EEXIST);
}

// Removes a hidden name that is not to be renamed over the target, keeping
// the cause of the failure.
SaveAttempt RemovedAfterFailure(const Plan& plan, const std::string& hidden) {
    KeepingErrno([&] { unlinkat(plan.directory(), hidden.c_str(), 0); });
    return SaveAttempt::FailedWithErrno();
}

}  // namespace

SaveAttempt SaveSmallFileAsNew(const SaveRequest& request) {
    if (!IsSmall(request.pieces)) return SaveAttempt::Declined();
    const SplitPath parts = Split(request.path);
    if (!parts.namesAFile()) return SaveAttempt::Declined();
    FileDescriptor created = CreateNameless(AT_FDCWD, parts.directory.c_str(), 0666);
    if (!created.valid() || !WritePieces(created.get(), request.pieces)) return SaveAttempt::Declined();
    if (LinkNameless(created.get(), AT_FDCWD, request.path)) return SaveAttempt::ClosedAndSaved(std::move(created));
    // Taken: the written file may yet replace what the path names.
    return SaveAttempt::Declined(errno == EEXIST ? std::move(created) : FileDescriptor());
}

SaveAttempt WriteInPlace(const SaveRequest& request, const Plan& plan, FileDescriptor written) {
    if (plan.way != Plan::Way::kInPlace) return SaveAttempt::Declined(std::move(written));
    const SigpipeHeld sigpipeHeld;
    FileDescriptor file(open(request.path, O_WRONLY | O_NOCTTY | O_CLOEXEC | (plan.truncate ? O_TRUNC : 0)));
    if (!file.valid() || !WritePieces(file.get(), request.pieces)) return SaveAttempt::FailedWithErrno();
    return SaveAttempt::ClosedAndSaved(std::move(file));
}

SaveAttempt SaveNewNameless(const SaveRequest& request, const Plan& plan, FileDescriptor written) {
    if (plan.way != Plan::Way::kNew) return SaveAttempt::Declined(std::move(written));
    FileDescriptor created = CreateNameless(AT_FDCWD, plan.where.c_str(), plan.mode());
    if (!created.valid()) return RefusedOrFailed(NamelessRefused(errno));
    if (!WritePieces(created.get(), request.pieces)) return SaveAttempt::FailedWithErrno();
    if (LinkNameless(created.get(), AT_FDCWD, plan.name.c_str())) return SaveAttempt::ClosedAndSaved(std::move(created));
    if (errno == EEXIST) return SaveAttempt::LookAgain();  // made by someone else meanwhile
    // ENOENT: /proc is not there and AT_EMPTY_PATH is not allowed.
    return RefusedOrFailed(errno == ENOENT || errno == EOPNOTSUPP);
}

SaveAttempt ReplaceThroughNameless(const SaveRequest& request, const Plan& plan, FileDescriptor written) {
    if (plan.way != Plan::Way::kReplace) return SaveAttempt::Declined(std::move(written));
    const bool reused = plan.reusesWritten && written.valid();
    FileDescriptor file = reused ? std::move(written) : CreateNameless(plan.directory(), plan.where.c_str(), plan.mode());
    if (!file.valid()) return RefusedOrFailed(NamelessRefused(errno));
    const std::vector<ByteSpan> nothing;  // a reused file holds the pieces already
    if (!FillNewFile(plan, reused ? nothing : request.pieces, file.get())) return SaveAttempt::FailedWithErrno();
    SaveAttempt renamed = LinkAndRenameNameless(plan, std::move(file));
    if (renamed.kind() != SaveAttempt::Kind::kSaved) return renamed;
    return FlushedDirectory(plan);
}

SaveAttempt SaveUnderHiddenName(const SaveRequest& request, const Plan& plan, FileDescriptor written) {
    if (plan.way == Plan::Way::kInPlace) return SaveAttempt::Declined(std::move(written));
    HiddenFile created = CreateHidden(plan.directory(), plan.prefix, plan.mode());
    if (!created.file.valid()) return SaveAttempt::FailedWithErrno();
    if (!FillNewFile(plan, request.pieces, created.file.get()) || !created.file.Close()) {
        return RemovedAfterFailure(plan, created.name);
    }
    if (renameat(plan.directory(), created.name.c_str(), plan.directory(), plan.name.c_str()) != 0) {
        return RemovedAfterFailure(plan, created.name);
    }
    return FlushedDirectory(plan);
}

}  // namespace ecc200::platform
