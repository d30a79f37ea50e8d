#include "api/diagnosis.h"

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "common/indexed_table.h"

namespace ecc200 {
namespace {

// The first release's ecc200_diagnostic ends with its message.
constexpr std::size_t kFirstDiagnosticSize = offsetof(ecc200_diagnostic, message) + sizeof(ecc200_diagnostic::message);

// Every failure and the status the C interface reports for it.
struct StatusOfFailure {
    Failure failure;
    ecc200_status status;
};
constexpr StatusOfFailure kStatuses[] = {
    {Failure::None, ECC200_OK},
    {Failure::InvalidArgument, ECC200_INVALID_ARGUMENT},
    {Failure::MessageTooLong, ECC200_MESSAGE_TOO_LONG},
    {Failure::PictureTooLarge, ECC200_PICTURE_TOO_LARGE},
    {Failure::OutOfMemory, ECC200_OUT_OF_MEMORY},
    {Failure::FileError, ECC200_FILE_ERROR},
    {Failure::Unsupported, ECC200_UNSUPPORTED},
    {Failure::SymbolCropped, ECC200_SYMBOL_CROPPED},
    {Failure::WriteRefused, ECC200_WRITE_REFUSED},
    {Failure::BufferTooSmall, ECC200_BUFFER_TOO_SMALL},
    {Failure::ClipboardRefused, ECC200_FILE_ERROR},  // the clipboard is the file that could not be written
    {Failure::InvalidData, ECC200_INVALID_DATA},
};

// One row per failure, in Failure's order: a failure's index is its row.
static_assert(RowsInKeyOrder(kStatuses, &StatusOfFailure::failure, Failure::InvalidData));

}  // namespace

Outcome Diagnosis::Refuse(Failure failure, const char* format, ...) {
    char text[sizeof(ecc200_diagnostic::message)];
    std::va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    outcome.failure = failure;
    outcome.message = text;
    return outcome;
}

ecc200_status StatusOf(const Outcome& outcome) {
    return kStatuses[static_cast<std::size_t>(outcome.failure)].status;
}

bool DiagnosticIsUsable(const ecc200_diagnostic* out) {
    return out == nullptr || out->struct_size >= kFirstDiagnosticSize;
}

ecc200_status Conclude(const Outcome& outcome, ecc200_diagnostic* out) {
    const ecc200_status status = StatusOf(outcome);
    if (status == ECC200_OK || out == nullptr || !DiagnosticIsUsable(out)) return status;
    ecc200_diagnostic filled{};
    filled.struct_size = out->struct_size;
    filled.system_error = outcome.systemError;
    filled.codewords_needed = outcome.codewordsNeeded;
    filled.capacity = outcome.capacity;
    filled.needed_width = outcome.neededWidth;
    filled.needed_height = outcome.neededHeight;
    const char* message = outcome.message.empty() ? ecc200_status_text(status) : outcome.message.c_str();
    std::snprintf(filled.message, sizeof filled.message, "%s", message);
    // A later release's fields beyond ours are left as the caller set them.
    std::memcpy(out, &filled, std::min<std::size_t>(out->struct_size, sizeof filled));
    return status;
}

}  // namespace ecc200
