// ecc200_encode, ecc200_encode_segments and the symbol's accessors.
#include <memory>
#include <new>
#include <string>

#include "api/encode_request.h"
#include "api/symbol_object.h"
#include "api/versioned_structs.h"

namespace ecc200 {

void CopySymbolArrays(ecc200_symbol& symbol) {
    const EncoderWorkingState& state = symbol.state;
    const int rows = state.symbol.rows();
    const int cols = state.symbol.cols();
    symbol.modules.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            symbol.modules[static_cast<std::size_t>(row * cols + col)] = state.symbol.isDark(row, col) ? 1 : 0;
        }
    }
    const auto begin = state.stream.codewords.begin();
    symbol.codewords.assign(begin, begin + state.stream.count);
    // The data codewords lead the final stream unchanged: interleaving deals
    // them round the blocks and gathers them back in the same order.
    symbol.dataCodewords.assign(begin, begin + state.messageCodewords);
}

namespace {

// Encodes the message into a new symbol; the options already read.
Outcome EncodeMessageInto(std::string_view message, const ecc200_encode_options& options,
                          std::unique_ptr<ecc200_symbol>& symbol, Diagnosis& diagnosis) {
    if (const Outcome checked = CheckEncodeOptions(options, diagnosis); !checked.ok()) return checked;
    symbol = std::make_unique<ecc200_symbol>();
    if (const Outcome built = BuildRequestedSymbol(message, options, symbol->state, diagnosis); !built.ok()) return built;
    CopySymbolArrays(*symbol);
    return {};
}

Outcome EncodeBytes(const void* data, std::size_t length, const ecc200_encode_options& options,
                    std::unique_ptr<ecc200_symbol>& symbol, Diagnosis& diagnosis) {
    if (data == nullptr && length != 0)
        return diagnosis.Refuse(Failure::InvalidArgument, "no data for %zu bytes", length);
    const std::string_view message(static_cast<const char*>(data), data != nullptr ? length : 0);
    return EncodeMessageInto(message, options, symbol, diagnosis);
}

// Segments without an ECI are one message, end to end (the only kind this
// build encodes; see api/encode_request.h).
Outcome EncodeSegments(const ecc200_segment* segments, std::size_t count, const ecc200_encode_options& options,
                       std::unique_ptr<ecc200_symbol>& symbol, Diagnosis& diagnosis) {
    if (segments == nullptr && count != 0)
        return diagnosis.Refuse(Failure::InvalidArgument, "no segments for %zu", count);
    std::string message;
    for (std::size_t i = 0; i < count; ++i) {
        const ecc200_segment& segment = segments[i];
        if (segment.data == nullptr && segment.length != 0)
            return diagnosis.Refuse(Failure::InvalidArgument, "segment %zu has no data", i);
        if (const Outcome eci = CheckSegmentEci(segment.eci, diagnosis); !eci.ok()) return eci;
        if (segment.length != 0) message.append(static_cast<const char*>(segment.data), segment.length);
    }
    return EncodeMessageInto(message, options, symbol, diagnosis);
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
            std::unique_ptr<ecc200_symbol> built;
            diagnosis.outcome = encoding(options, built, diagnosis);
            if (diagnosis.outcome.ok()) *symbol = built.release();
        } catch (const std::bad_alloc&) {
            diagnosis.Refuse(Failure::OutOfMemory, "memory for the symbol cannot be had");
        }
    }
    return Conclude(diagnosis, diagnostic);
}

}  // namespace
}  // namespace ecc200

using ecc200::Diagnosis;

extern "C" {

ECC200_API ecc200_status ECC200_CALL ecc200_encode(const void* data, size_t length, const ecc200_encode_options* options,
                                                   ecc200_symbol** symbol, ecc200_diagnostic* diagnostic) {
    return ecc200::RunEncoding(options, symbol, diagnostic,
                               [&](const ecc200_encode_options& read, std::unique_ptr<ecc200_symbol>& built,
                                   Diagnosis& diagnosis) {
                                   return ecc200::EncodeBytes(data, length, read, built, diagnosis);
                               });
}

ECC200_API ecc200_status ECC200_CALL ecc200_encode_segments(const ecc200_segment* segments, size_t count,
                                                            const ecc200_encode_options* options,
                                                            ecc200_symbol** symbol, ecc200_diagnostic* diagnostic) {
    return ecc200::RunEncoding(options, symbol, diagnostic,
                               [&](const ecc200_encode_options& read, std::unique_ptr<ecc200_symbol>& built,
                                   Diagnosis& diagnosis) {
                                   return ecc200::EncodeSegments(segments, count, read, built, diagnosis);
                               });
}

ECC200_API void ECC200_CALL ecc200_symbol_free(ecc200_symbol* symbol) { delete symbol; }

ECC200_API int32_t ECC200_CALL ecc200_symbol_rows(const ecc200_symbol* symbol) {
    return symbol != nullptr ? symbol->state.symbol.rows() : 0;
}

ECC200_API int32_t ECC200_CALL ecc200_symbol_columns(const ecc200_symbol* symbol) {
    return symbol != nullptr ? symbol->state.symbol.cols() : 0;
}

ECC200_API const uint8_t* ECC200_CALL ecc200_symbol_modules(const ecc200_symbol* symbol) {
    return symbol != nullptr ? symbol->modules.data() : nullptr;
}

ECC200_API const uint8_t* ECC200_CALL ecc200_symbol_codewords(const ecc200_symbol* symbol, size_t* count) {
    if (count != nullptr) *count = symbol != nullptr ? symbol->codewords.size() : 0;
    return symbol != nullptr ? symbol->codewords.data() : nullptr;
}

ECC200_API const uint8_t* ECC200_CALL ecc200_symbol_data_codewords(const ecc200_symbol* symbol, size_t* count) {
    if (count != nullptr) *count = symbol != nullptr ? symbol->dataCodewords.size() : 0;
    return symbol != nullptr ? symbol->dataCodewords.data() : nullptr;
}

}  // extern "C"
