// The one way a failure travels up the library: what went wrong, and for a
// file the system's error number. The two C surfaces (src/api) turn it into
// an ecc200_status or, for the nine DM functions, into errno.
#pragma once

namespace ecc200 {

enum class Failure {
    None,
    InvalidArgument,  // a NULL, a size out of range, an empty picture
    MessageTooLong,   // more data codewords than the largest symbol holds
    PictureTooLarge,  // past the format's fields or 32-bit coordinates
    OutOfMemory,
    FileError,        // Outcome::systemError holds errno (GetLastError)
    Unsupported,      // what this build does not provide
    SymbolCropped,    // the picture cuts the symbol and cropping is not allowed
    WriteRefused,     // the caller's writer stopped the output
    BufferTooSmall,   // the caller's buffer cannot hold the output
    ClipboardRefused, // the clipboard did not take the metafile
    InvalidData,      // the data cannot be encoded as asked
};

struct Outcome {
    Failure failure = Failure::None;
    int systemError = 0;

    bool ok() const { return failure == Failure::None; }
};

inline Outcome Failed(Failure failure, int systemError = 0) { return Outcome{failure, systemError}; }

}  // namespace ecc200
