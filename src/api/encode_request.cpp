#include "api/encode_request.h"

#include <cstddef>
#include <memory>

#include "api/symbol_object.h"
#include "encoder/encoder_workspace.h"

namespace ecc200 {
namespace {

// The C values of encodation and shape are the encoder's enumerators in
// order; the encoder checks their ranges.
EncodeRequest RequestOf(const ecc200_encode_options& o) {
    EncodeRequest request;
    request.encodation = static_cast<Encodation>(o.encodation);
    request.shape = static_cast<SymbolShape>(o.shape);
    request.dmre = o.dmre != 0;
    request.rows = o.rows;
    request.cols = o.columns;
    request.gs1 = o.gs1 != 0;
    request.readerInit = o.reader_init != 0;
    request.appendIndex = o.append_index;
    request.appendCount = o.append_count;
    request.fileId = o.file_id;
    request.iso144 = o.iso144 != 0;
    return request;
}

// The calling thread's workspace: made on its first encoding, grown to the
// longest message it meets, freed when the thread ends. Threads never share one.
EncoderWorkspace& ThreadWorkspace() {
    thread_local const std::unique_ptr<EncoderWorkspace> workspace = std::make_unique<EncoderWorkspace>();
    return *workspace;
}

// The encoder's refusal, its words and numbers as they are.
Outcome Explain(const Outcome& refused, Diagnosis& diagnosis) {
    diagnosis.outcome = refused;
    return refused;
}

}  // namespace

Outcome BuildRequestedSymbol(const Segment* segments, std::size_t count, const ecc200_encode_options& options,
                             ecc200_symbol& symbol, Diagnosis& diagnosis) {
    EncodedSymbol& encoded = symbol.encoded;
    const Outcome outcome = EncodeSegments(segments, count, RequestOf(options), ThreadWorkspace(), encoded);
    if (!outcome.ok()) return Explain(outcome, diagnosis);
    // The modules as bytes, 1 dark.
    const SymbolMatrix& matrix = encoded.matrix;
    const int rows = matrix.rows();
    const int cols = matrix.cols();
    // Every byte is written below: not zeroed first.
    symbol.modules.reset(new std::uint8_t[static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols)]);
    matrix.DarkBytes(symbol.modules.get());
    return {};
}

}  // namespace ecc200
