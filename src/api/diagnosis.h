// The C interface's one translation of a failure: an Outcome (common/
// failure.h), as the encoder, the formats and the platform return it, turned
// into an ecc200_status and an ecc200_diagnostic when the call returns.
#pragma once

#include "ecc200.h"
#include "common/failure.h"

namespace ecc200 {

// The outcome of one C call while it runs. Refuse records a failure with a
// printf-style explanation, keeping the numbers already set (a file error's
// number, the codewords needed, the picture that holds the symbol).
struct Diagnosis {
    Outcome outcome;

    ECC200_PRINTF_FORMAT(3, 4)
    Outcome Refuse(Failure failure, const char* format, ...);
};

// The status of an outcome (ECC200_OK for none), from the one table.
ecc200_status StatusOf(const Outcome& outcome);

// The status of the outcome, its diagnostic written into `out` (when not
// NULL) for any status other than ECC200_OK: the message (the status text
// when the outcome has none), the system's error number, the codewords
// needed against the capacity, the picture that holds the symbol. Only the
// fields inside out's struct_size are written.
ecc200_status Conclude(const Outcome& outcome, ecc200_diagnostic* out);

// Whether a caller's diagnostic can be written: NULL, or a struct_size of
// at least the first release's.
bool DiagnosticIsUsable(const ecc200_diagnostic* out);

}  // namespace ecc200
