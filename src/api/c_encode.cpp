// ecc200_encode, ecc200_encode_segments and the symbol's accessors.
#include <new>
#include <string_view>
#include <vector>

#include "api/encode_request.h"
#include "api/symbol_object.h"
#include "api/versioned_structs.h"

namespace ecc200 {

namespace {

// The bytes as one segment under the options' ECI.
Outcome EncodeBytes(const void* data, std::size_t length, const ecc200_encode_options& options,
                    ecc200_symbol*& symbol, Diagnosis& diagnosis) {
    if (data == nullptr && length != 0)
        return diagnosis.Refuse(Failure::InvalidArgument, "no data for %zu bytes", length);
    const Segment segment{std::string_view(static_cast<const char*>(data), data != nullptr ? length : 0), options.eci};
    return BuildRequestedSymbol(&segment, 1, options, symbol, diagnosis);
}

// Each segment under its own ECI (options.eci is not used).
Outcome EncodeSegmentArray(const ecc200_segment* segments, std::size_t count, const ecc200_encode_options& options,
                       ecc200_symbol*& symbol, Diagnosis& diagnosis) {
    if (segments == nullptr && count != 0)
        return diagnosis.Refuse(Failure::InvalidArgument, "no segments for %zu", count);
    std::vector<Segment> read;
    read.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const ecc200_segment& segment = segments[i];
        if (segment.data == nullptr && segment.length != 0)
            return diagnosis.Refuse(Failure::InvalidArgument, "segment %zu has no data", i);
        read.push_back(Segment{std::string_view(static_cast<const char*>(segment.data), segment.length), segment.eci});
    }
    return BuildRequestedSymbol(read.data(), read.size(), options, symbol, diagnosis);
}

// The common frame of both encoding calls: arguments checked, nothing
// thrown into C, *symbol set only on success.
template <typename Encoding>
ecc200_status RunEncoding(const ecc200_encode_options* given, ecc200_symbol** symbol, ecc200_diagnostic* diagnostic,
                          Encoding encoding) {
    Diagnosis diagnosis;
    if (symbol != nullptr) *symbol = nullptr;
    ecc200_encode_options options{};
    if (symbol == nullptr || !DiagnosticIsUsable(diagnostic)) {
        diagnosis.Refuse(Failure::InvalidArgument, "no place for the symbol, or a diagnostic's struct_size too small");
    } else if (!ReadVersioned(given, kFirstEncodeOptionsSize, DefaultEncodeOptions(), options)) {
        diagnosis.Refuse(Failure::InvalidArgument, "the encode options' struct_size %u is below the first release's %zu",
                         given->struct_size, kFirstEncodeOptionsSize);
    } else {
        try {
            // Set only with the outcome ok: nothing is made otherwise.
            ecc200_symbol* built = nullptr;
            diagnosis.outcome = encoding(options, built, diagnosis);
            if (diagnosis.outcome.ok()) *symbol = built;
        } catch (const std::bad_alloc&) {
            diagnosis.Refuse(Failure::OutOfMemory, "memory for the symbol cannot be had");
        }
    }
    return Conclude(diagnosis.outcome, diagnostic);
}

}  // namespace
}  // namespace ecc200

using ecc200::Diagnosis;

extern "C" {

ECC200_API ecc200_status ECC200_CALL ecc200_encode(const void* data, size_t length, const ecc200_encode_options* options,
                                                   ecc200_symbol** symbol, ecc200_diagnostic* diagnostic) {
    return ecc200::RunEncoding(options, symbol, diagnostic,
                               [&](const ecc200_encode_options& read, ecc200_symbol*& built,
                                   Diagnosis& diagnosis) {
                                   return ecc200::EncodeBytes(data, length, read, built, diagnosis);
                               });
}

ECC200_API ecc200_status ECC200_CALL ecc200_encode_segments(const ecc200_segment* segments, size_t count,
                                                            const ecc200_encode_options* options,
                                                            ecc200_symbol** symbol, ecc200_diagnostic* diagnostic) {
    return ecc200::RunEncoding(options, symbol, diagnostic,
                               [&](const ecc200_encode_options& read, ecc200_symbol*& built,
                                   Diagnosis& diagnosis) {
                                   return ecc200::EncodeSegmentArray(segments, count, read, built, diagnosis);
                               });
}

ECC200_API void ECC200_CALL ecc200_symbol_free(ecc200_symbol* symbol) { ecc200::DeleteSymbolObject(symbol); }

ECC200_API int32_t ECC200_CALL ecc200_symbol_rows(const ecc200_symbol* symbol) {
    return symbol != nullptr ? symbol->matrix->rows() : 0;
}

ECC200_API int32_t ECC200_CALL ecc200_symbol_columns(const ecc200_symbol* symbol) {
    return symbol != nullptr ? symbol->matrix->cols() : 0;
}

ECC200_API const uint8_t* ECC200_CALL ecc200_symbol_modules(const ecc200_symbol* symbol) {
    return symbol != nullptr ? symbol->modules : nullptr;
}

ECC200_API const uint8_t* ECC200_CALL ecc200_symbol_codewords(const ecc200_symbol* symbol, size_t* count) {
    if (count != nullptr) *count = symbol != nullptr ? static_cast<std::size_t>(symbol->codewordCount) : 0;
    return symbol != nullptr ? symbol->codewords : nullptr;
}

ECC200_API const uint8_t* ECC200_CALL ecc200_symbol_data_codewords(const ecc200_symbol* symbol, size_t* count) {
    if (count != nullptr) *count = symbol != nullptr ? static_cast<std::size_t>(symbol->dataCount) : 0;
    // The final stream holds the data codewords in front, in order.
    return symbol != nullptr ? symbol->codewords : nullptr;
}

}  // extern "C"
