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
//
// ReplaceFileWith is a list of ways tried in order (save_strategies.h), each
// returning an SaveAttempt. A small file is first saved as a new one before the
// path is looked at; otherwise one look at the path (target_lookup.h) gives
// a plan, and the ways are tried on it until one saves or fails. A way that
// does not serve the plan, or that the file system refuses, declines and
// hands on any file already written; a name made by someone else meanwhile
// is looked at once more.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "platform/drawing_surface.h"
#include "platform/portable/file_descriptor.h"
#include "platform/portable/save_attempt.h"
#include "platform/portable/save_strategies.h"
#include "platform/portable/target_lookup.h"

namespace ecc200::platform {
namespace {

using SaveStrategy = SaveAttempt (*)(const SaveRequest&, const Plan&, FileDescriptor written);

// The ways tried on a plan, in order: each declines a plan it does not serve.
// The nameless ways come before the hidden name, which they decline to
// where the file system refuses O_TMPFILE or the naming of such a file.
constexpr SaveStrategy kStrategies[] = {
    WriteInPlace,            // devices, FIFOs, files behind a link of /proc
    SaveNewNameless,         // a new target
    ReplaceThroughNameless,  // an existing regular file
    SaveUnderHiddenName,     // either, where the nameless ways are refused
};

// The first look may find nothing and create; a name found taken and then
// missing again at the second look is given up (EEXIST), not chased.
constexpr int kMostLooks = 2;

SaveAttempt SaveAfterLooking(const SaveRequest& request, bool mayCreate, FileDescriptor written) {
    std::variant<Plan, SaveAttempt> looked = LookAt(request.path, request.options, mayCreate);
    if (SaveAttempt* refused = std::get_if<SaveAttempt>(&looked)) return std::move(*refused);
    const Plan& plan = std::get<Plan>(looked);
    SaveAttempt outcome = SaveAttempt::Declined(std::move(written));
    for (const SaveStrategy strategy : kStrategies) {
        if (outcome.kind() != SaveAttempt::Kind::kDeclined) break;
        outcome = strategy(request, plan, outcome.TakeWritten());
    }
    return outcome;
}

bool Replace(const char* path, const std::vector<ByteSpan>& pieces, const SaveOptions& options) {
    if (path == nullptr) return Fail(EINVAL);
    if (*path == '\0') return Fail(ENOENT);
    const SaveRequest request{path, pieces, options};
    const int cause = errno;
    SaveAttempt outcome = SaveSmallFileAsNew(request);
    if (!outcome.decided()) errno = cause;
    for (int look = 0; look < kMostLooks && !outcome.decided(); ++look) {
        outcome = SaveAfterLooking(request, look == 0, outcome.TakeWritten());
    }
    return outcome.Report();
}

bool Flush(const char* path) {
    if (path == nullptr) return Fail(EINVAL);
#ifdef __linux__
    // The directory of the file the path finally names: opening the file
    // itself could block (a FIFO) or act (a device).
    const std::optional<std::string> target = FinalName(path);
    if (!target) return false;
    const FileDescriptor directory(open(Split(*target).directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return directory.valid() && syncfs(directory.get()) == 0;
#else
    sync();
    return true;
#endif
}

}  // namespace

Outcome ReplaceFileWith(const char* path, const std::vector<ByteSpan>& pieces, const SaveOptions& options) {
    return FileOutcome(Replace(path, pieces, options));
}

Outcome FlushFileSystemOf(const char* path) { return FileOutcome(Flush(path)); }

}  // namespace ecc200::platform
