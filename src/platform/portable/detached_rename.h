// The last step of replacing a file by a nameless new one (O_TMPFILE): the
// new file is linked under a hidden name and renamed over the target. Linux
// has no call that links a nameless file over an existing name, so the
// hidden name exists between the two calls; a process killed there would
// leave it behind. Both calls are therefore made by a helper process that
// shares the caller's memory and that a kill of the caller does not stop.
#pragma once

namespace ecc200::platform {

// Gives the nameless file `fd` (O_TMPFILE) the name `name` in `directory`
// (AT_EMPTY_PATH, or /proc/self/fd where that is not allowed). False with
// errno set; EEXIST when the name is taken.
bool LinkNameless(int fd, int directory, const char* name);

struct LinkAndRenameResult {
    int error;        // 0 on success, else the errno of the call that failed
    bool linkFailed;  // the link failed: nothing was named (EEXIST: the hidden name is taken)
};

// Links the nameless file `fd` as `hidden` in `directory` (AT_EMPTY_PATH, or
// /proc/self/fd where that is not allowed) and renames it over `name` in the
// same directory. When the rename fails the hidden name is removed again.
LinkAndRenameResult LinkAndRenameOver(int fd, int directory, const char* hidden, const char* name);

}  // namespace ecc200::platform
