// What the C interface knows about a failure while it runs: the outcome, a
// one-line explanation for the caller and, for a message too long, the
// codewords it needs. Turned into an ecc200_status and an ecc200_diagnostic
// only when the call returns.
#pragma once

#include <cstdint>

#include "ecc200.h"
#include "common/failure.h"

namespace ecc200 {

struct Diagnosis {
    Outcome outcome;
    std::int32_t codewordsNeeded = 0;
    std::int32_t capacity = 0;
    char message[sizeof(ecc200_diagnostic::message)] = {};

    // Records the failure with a printf-style explanation; returns it.
    // (MinGW's libstdc++ selects its own ISO printf, which knows %zu and
    // %lld; GCC's default check there is the system's older one.)
#if defined(__MINGW32__)
    __attribute__((format(gnu_printf, 3, 4)))
#elif defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    Outcome Refuse(Failure failure, const char* format, ...);
};

// The status of an outcome (OK for none).
ecc200_status StatusOf(const Outcome& outcome);

// The status of the diagnosis, its fields written into `out` (when not
// NULL) for any status other than OK; only the fields inside out's
// struct_size are written.
ecc200_status Conclude(const Diagnosis& diagnosis, ecc200_diagnostic* out);

// Whether a caller's diagnostic can be written: NULL, or a struct_size of
// at least the first release's.
bool DiagnosticIsUsable(const ecc200_diagnostic* out);

}  // namespace ecc200
