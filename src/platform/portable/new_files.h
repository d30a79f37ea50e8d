// The new file of a save, made in the target's directory so that it can be
// renamed over the target: without a name (O_TMPFILE), or where that is
// refused under a short hidden name, as mkstemp makes them.
#pragma once

#include <sys/types.h>

#include <string>

#include "platform/portable/file_descriptor.h"

namespace ecc200::platform {

// Hidden names taken by another save at the same moment are skipped; this
// many are tried before giving up.
constexpr int kNameAttempts = 100;

// A file without a name, gone with the process unless linked, in the
// directory `where` names (relative to `directory`). Invalid, with errno
// set, when it cannot be made; see NamelessRefused.
FileDescriptor CreateNameless(int directory, const char* where, mode_t mode);

// The errors by which a file system or kernel refuses O_TMPFILE itself, so
// that a hidden name is worth trying.
bool NamelessRefused(int error);

// ".ecc200-" and six characters from the clock, the process, the thread and
// the attempt: short, hidden and unlikely to be in use.
std::string HiddenName(int attempt);

struct HiddenFile {
    FileDescriptor file{};  // invalid, with errno set, when no name could be taken
    std::string name;     // relative to the directory the file was made in
};

// A new file under a hidden name; `prefix`: the directory's path and a
// slash where `directory` is AT_FDCWD, else "".
HiddenFile CreateHidden(int directory, const std::string& prefix, mode_t mode);

}  // namespace ecc200::platform
