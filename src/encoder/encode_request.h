// The complete encoder's entry point: segments of bytes with their ECI,
// every encodation scheme of ISO/IEC 16022 5.2 (or the exact minimum of
// them), square, rectangular and DMRE sizes (ISO/IEC 21471), GS1 element
// strings, reader programming, Macro 05/06 and structured append.
//
// Pure and reentrant: reads its arguments, returns its result, no globals,
// no I/O. It allocates (the result and the encodation search).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "encoder/module_matrix.h"

namespace ecc200 {

enum class Encodation { Automatic, Ascii, C40, Text, X12, Edifact, Base256 };
enum class SymbolShape { Square, Rectangle, Any };

// A run of message bytes under one Extended Channel Interpretation.
struct Segment {
    std::string_view bytes;
    int eci = 0;  // 0: none; otherwise an ECI designator value 1 to 999999
};

struct EncodeRequest {
    Encodation encodation = Encodation::Automatic;
    SymbolShape shape = SymbolShape::Square;
    bool dmre = false;        // admit the 18 DMRE sizes of ISO/IEC 21471
    int rows = 0, cols = 0;   // 0, 0: the smallest admitted size; else exactly this size
    bool gs1 = false;         // the bytes are a GS1 element string in bracket form
    bool readerInit = false;  // reader programming, codeword 234
    int appendIndex = 0, appendCount = 0, fileId = 0;  // structured append; count 0: none
    bool iso144 = false;      // 144 x 144: the ISO interleaving order (see symbol_error_correction.h)
};

struct EncodedSymbol {
    std::unique_ptr<SymbolMatrix> matrix;    // rows x cols, finder patterns included
    std::vector<std::uint8_t> dataCodewords;  // the data codewords before padding
    std::vector<std::uint8_t> codewords;      // data, pads and check codewords, interleaved
};

struct EncodeFailure {
    enum class Kind { TooLong, InvalidData, InvalidOption } kind = Kind::InvalidData;
    std::string message;  // one sentence in the user's terms
    int codewordsNeeded = 0;
    int capacity = 0;
};

using EncodeResult = std::variant<EncodedSymbol, EncodeFailure>;

EncodeResult EncodeSegments(const std::vector<Segment>& segments, const EncodeRequest& request);

}  // namespace ecc200
