#include "api/encode_request.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>

#include "api/symbol_object.h"
#include "encoder/encoder_workspace.h"
#include "encoder/human_readable_text.h"

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

// The calling thread's workspace and symbol: made on its first encoding,
// grown to the longest message and largest symbol it meets, freed when the
// thread ends. Threads never share one. The result is copied out of the
// symbol into a block of its size.
struct CallEncoding {
    EncoderWorkspace workspace;
    EncodedSymbol symbol;
};

CallEncoding& ThreadEncoding() {
    thread_local const std::unique_ptr<CallEncoding> encoding = std::make_unique<CallEncoding>();
    return *encoding;
}

// The encoder's refusal, its words and numbers as they are.
Outcome Explain(const Outcome& refused, Diagnosis& diagnosis) {
    diagnosis.outcome = refused;
    return refused;
}

// Offsets in the symbol's block: the object, then the cells, the codewords,
// the modules and the human-readable line, all of them bytes.
struct SymbolBlock {
    std::size_t cells, codewords, modules, hri, total;
};

SymbolBlock BlockOf(std::size_t cellCount, std::size_t codewordCount, std::size_t hriLength) {
    SymbolBlock block{};
    block.cells = sizeof(ecc200_symbol);
    block.codewords = block.cells + cellCount;
    block.modules = block.codewords + codewordCount;
    block.hri = block.modules + cellCount;
    block.total = block.hri + hriLength;
    return block;
}

}  // namespace

ecc200_symbol* NewSymbolObject(const EncodedSymbol& encoded, const Segment* segments, std::size_t count, bool gs1) {
    const SymbolMatrix& matrix = encoded.matrix;
    const std::size_t cellCount = static_cast<std::size_t>(matrix.rows()) * static_cast<std::size_t>(matrix.cols());
    const auto codewordCount = static_cast<std::size_t>(encoded.codewordCount);
    std::size_t hriLength = 0;
    for (std::size_t i = 0; i < count; ++i) hriLength += segments[i].bytes.size();
    const SymbolBlock block = BlockOf(cellCount, codewordCount, hriLength);
    auto* bytes = static_cast<unsigned char*>(::operator new(block.total));
    auto* symbol = new (bytes) ecc200_symbol(bytes + block.cells, cellCount);
    symbol->cells = matrix;  // fits the lent cells: no allocation
    symbol->dataCount = encoded.dataCount;
    symbol->codewordCount = encoded.codewordCount;
    std::uint8_t* codewords = bytes + block.codewords;
    std::copy(encoded.codewords.begin(), encoded.codewords.begin() + encoded.codewordCount, codewords);
    symbol->codewords = codewords;
    // The modules as bytes, 1 dark; every byte written, not zeroed first.
    std::uint8_t* modules = bytes + block.modules;
    matrix.DarkBytes(modules);
    symbol->modules = modules;
    // The line as the parts' lines one after another; the first part's
    // unprintable byte is the first of the message.
    auto* hri = reinterpret_cast<char*>(bytes + block.hri);
    symbol->hriText = hri;
    symbol->hriLength = hriLength;
    symbol->hriUnprintable = hriLength;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view part = segments[i].bytes;
        const std::size_t unprintable = WriteHumanReadableText(part, gs1, hri);
        if (unprintable != part.size() && symbol->hriUnprintable == hriLength)
            symbol->hriUnprintable = static_cast<std::size_t>(hri - symbol->hriText) + unprintable;
        hri += part.size();
    }
    return symbol;
}

void DeleteSymbolObject(ecc200_symbol* symbol) {
    if (symbol == nullptr) return;
    symbol->~ecc200_symbol();
    ::operator delete(static_cast<void*>(symbol));
}

Outcome BuildRequestedSymbol(const Segment* segments, std::size_t count, const ecc200_encode_options& options,
                             ecc200_symbol*& symbol, Diagnosis& diagnosis) {
    CallEncoding& call = ThreadEncoding();
    const Outcome outcome = EncodeSegments(segments, count, RequestOf(options), call.workspace, call.symbol);
    if (!outcome.ok()) return Explain(outcome, diagnosis);
    symbol = NewSymbolObject(call.symbol, segments, count, options.gs1 != 0);
    return {};
}

}  // namespace ecc200
