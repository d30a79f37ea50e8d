#include "api/diagnosis.h"

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace ecc200 {
namespace {

// The first release's ecc200_diagnostic ends with its message.
constexpr std::size_t kFirstDiagnosticSize = offsetof(ecc200_diagnostic, message) + sizeof(ecc200_diagnostic::message);

}  // namespace

Outcome Diagnosis::Refuse(Failure failure, const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    outcome.failure = failure;  // a file error's number, set before, is kept
    return outcome;
}

ecc200_status StatusOf(const Outcome& outcome) {
    switch (outcome.failure) {
        case Failure::None: return ECC200_OK;
        case Failure::InvalidArgument: return ECC200_INVALID_ARGUMENT;
        case Failure::MessageTooLong: return ECC200_MESSAGE_TOO_LONG;
        case Failure::PictureTooLarge: return ECC200_PICTURE_TOO_LARGE;
        case Failure::OutOfMemory: return ECC200_OUT_OF_MEMORY;
        case Failure::FileError: return ECC200_FILE_ERROR;
        case Failure::Unsupported: return ECC200_UNSUPPORTED;
        case Failure::SymbolCropped: return ECC200_SYMBOL_CROPPED;
        case Failure::WriteRefused: return ECC200_WRITE_REFUSED;
        case Failure::BufferTooSmall: return ECC200_BUFFER_TOO_SMALL;
        case Failure::ClipboardRefused: return ECC200_FILE_ERROR;  // the clipboard is the file that could not be written
        case Failure::InvalidData: return ECC200_INVALID_DATA;
    }
    return ECC200_INVALID_ARGUMENT;
}

bool DiagnosticIsUsable(const ecc200_diagnostic* out) {
    return out == nullptr || out->struct_size >= kFirstDiagnosticSize;
}

ecc200_status Conclude(const Diagnosis& diagnosis, ecc200_diagnostic* out) {
    const ecc200_status status = StatusOf(diagnosis.outcome);
    if (status == ECC200_OK || out == nullptr || !DiagnosticIsUsable(out)) return status;
    ecc200_diagnostic filled{};
    filled.struct_size = out->struct_size;
    filled.system_error = diagnosis.outcome.systemError;
    filled.codewords_needed = diagnosis.codewordsNeeded;
    filled.capacity = diagnosis.capacity;
    if (diagnosis.message[0] != '\0') {
        std::memcpy(filled.message, diagnosis.message, sizeof filled.message);
    } else {
        std::snprintf(filled.message, sizeof filled.message, "%s", ecc200_status_text(status));
    }
    // A later release's fields beyond ours are left as the caller set them.
    std::memcpy(out, &filled, std::min<std::size_t>(out->struct_size, sizeof filled));
    return status;
}

}  // namespace ecc200
