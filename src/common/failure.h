// The one way a failure travels up the library, from the encoder, the
// formats and the platform alike: what went wrong, one line in the user's
// terms, and the numbers a user needs to mend it. Each surface translates
// it once: the C interface into an ecc200_status and an ecc200_diagnostic
// (src/api), the nine DM functions into errno, the C++ header into
// ecc200::Error, Python into Ecc200Error, the tool into its one line.
#pragma once

#include <cstdint>
#include <string>

// Lets the compiler check the arguments of a printf-style function: the
// format is argument `formatAt`, the values start at `valuesAt` (a member
// function's `this` counts as argument 1). MinGW's libstdc++ selects its
// own ISO printf, which knows %zu and %lld; GCC's default check there is the
// system's older one.
#if defined(__MINGW32__)
#define ECC200_PRINTF_FORMAT(formatAt, valuesAt) __attribute__((format(gnu_printf, formatAt, valuesAt)))
#elif defined(__GNUC__)
#define ECC200_PRINTF_FORMAT(formatAt, valuesAt) __attribute__((format(printf, formatAt, valuesAt)))
#else
#define ECC200_PRINTF_FORMAT(formatAt, valuesAt)
#endif

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
    int systemError = 0;               // FileError, ClipboardRefused: the errno value
    std::int32_t codewordsNeeded = 0;  // MessageTooLong: data codewords the message needs
    std::int32_t capacity = 0;         // and what the largest allowed symbol holds
    std::int32_t neededWidth = 0;      // SymbolCropped: the picture that holds the symbol
    std::int32_t neededHeight = 0;     // with its quiet zone
    std::string message;               // one line; empty: the failure's own words

    bool ok() const { return failure == Failure::None; }
};

inline Outcome Failed(Failure failure, int systemError = 0) {
    Outcome outcome;
    outcome.failure = failure;
    outcome.systemError = systemError;
    return outcome;
}

// A failure with a printf-style explanation (at most 255 bytes are kept, as
// the C diagnostic holds).
ECC200_PRINTF_FORMAT(2, 3)
Outcome Refused(Failure failure, const char* format, ...);

}  // namespace ecc200
