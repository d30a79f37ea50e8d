// One look at the path a save is given: what it names, through any
// symbolic links, and so how the file is to be saved (a Plan), or why it
// is not to be saved at all.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <optional>
#include <string>
#include <variant>

#include "platform/portable/file_descriptor.h"
#include "platform/portable/save_attempt.h"

namespace ecc200::platform {

struct SaveOptions;

struct SplitPath {
    std::string directory;
    std::string name;  // empty when the path ends with a slash

    // "", "." and ".." name a directory, never a file to save.
    bool namesAFile() const { return !name.empty() && name != "." && name != ".."; }
};

SplitPath Split(const std::string& path);

// The name `path` finally gives: each symbolic link in the last component
// replaced by its target (relative targets taken from the link's
// directory) until the name is no link, or names nothing yet. Empty, with
// errno set, when a link cannot be read or there are too many (ELOOP).
std::optional<std::string> FinalName(const char* path);

// How the file a path names is saved.
struct Plan {
    enum class Way {
        kInPlace,  // a device, FIFO or socket, or a file reached only through a link of /proc
        kNew,      // nothing there yet: a new file under the final name
        kReplace,  // a regular file: a new file renamed over it
    };
    Way way = Way::kInPlace;
    bool truncate = false;  // kInPlace: the file is regular, so cut to the new length
    // kReplace: the target's directory, open for the *at calls and its
    // flush. A new file needs no flush of its directory and so no
    // descriptor of it: its names are then paths from the working directory.
    FileDescriptor directoryFile{};
    bool directoryFlushable = false;  // opened readable, so fsync works on it
    std::string where = ".";  // the directory relative to directory(): "." or its path
    std::string prefix;       // put before a name in the directory: "" or its path and a slash
    std::string name;         // the target, relative to directory()
    struct stat replaced {};  // kReplace: the file replaced
    bool flush = false;       // kReplace without SaveOptions::deferFlush
    // kReplace of the path itself, no link between: a nameless file made in
    // the path's directory before the look is made in this directory.
    bool reusesWritten = false;

    int directory() const { return directoryFile.valid() ? directoryFile.get() : AT_FDCWD; }
    // A replacing file is created with the replaced one's bits (fixed up by
    // fchmod past the umask), a new one with 0666, which the umask reduces.
    mode_t mode() const { return way == Way::kReplace ? (replaced.st_mode & 0777) : 0666; }
};

// Looks at `path` (lstat first: a new file or one that is no link needs no
// stat). Fails for a directory (EISDIR), a read-only file (EACCES), a
// path that cannot be looked at, and, unless `mayCreate`, a path that
// names nothing (EEXIST: it was just found taken). Where an existing file
// is replaced with SaveOptions::deferFlush, *flushOwed is set here.
std::variant<Plan, SaveAttempt> LookAt(const char* path, const SaveOptions& options, bool mayCreate);

}  // namespace ecc200::platform
