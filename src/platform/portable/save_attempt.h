// What one way of saving a file made of the attempt: the value every save
// strategy and every look at the path returns, so that ReplaceFileWith can
// try the ways in order and stop at the first that decides.
#pragma once

#include <cerrno>
#include <utility>

#include "platform/portable/file_descriptor.h"

namespace ecc200::platform {

class SaveAttempt {
public:
    enum class Kind {
        kSaved,      // the path holds the new content
        kFailed,     // given up; error() is the cause, the old file is as it was
        kDeclined,   // this way does not apply or is refused here: try the next
        kLookAgain,  // the path was made by someone else meanwhile: look at it again
    };

    static SaveAttempt Saved() { return SaveAttempt(Kind::kSaved, 0); }
    static SaveAttempt Failed(int error) { return SaveAttempt(Kind::kFailed, error); }
    static SaveAttempt FailedWithErrno() { return Failed(errno); }
    // `written`: a nameless file already holding the pieces, handed on to a
    // later way that can use it instead of writing them again.
    static SaveAttempt Declined(FileDescriptor written = FileDescriptor()) {
        SaveAttempt declined(Kind::kDeclined, errno);
        declined.written_ = std::move(written);
        return declined;
    }
    // The name was found taken by a file that was not there a moment before.
    static SaveAttempt LookAgain() { return SaveAttempt(Kind::kLookAgain, EEXIST); }
    // Saved when `file`, written and named, closes without error.
    static SaveAttempt ClosedAndSaved(FileDescriptor file) { return file.Close() ? Saved() : FailedWithErrno(); }

    Kind kind() const { return kind_; }
    bool decided() const { return kind_ == Kind::kSaved || kind_ == Kind::kFailed; }
    FileDescriptor TakeWritten() { return std::move(written_); }

    // ReplaceFileWith's result: true when saved, else false with errno the
    // cause (EEXIST for a name still taken after the last look).
    bool Report() const {
        if (kind_ == Kind::kSaved) return true;
        errno = error_;
        return false;
    }

private:
    SaveAttempt(Kind kind, int error) : kind_(kind), error_(error) {}

    Kind kind_;
    int error_;
    FileDescriptor written_;
};

}  // namespace ecc200::platform
