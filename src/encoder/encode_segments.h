// The encoder's entry point: segments of bytes with their ECI, every
// encodation scheme of ISO/IEC 16022 5.2 (or the exact minimum of them),
// square, rectangular and DMRE sizes (ISO/IEC 21471), GS1 element strings,
// reader programming, Macro 05/06 and structured append.
//
// Pure and reentrant: reads its arguments, writes only its outputs (the
// symbol and the caller's workspace), no globals, no I/O. Once a workspace
// has met a message as long, an encoding allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/failure.h"
#include "encoder/module_matrix.h"
#include "encoder/symbol_sizes.h"

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
    // A one-segment message in "[)>" RS "05"/"06" GS ... RS EOT is written as
    // the Macro codeword with the bytes inside (5.6.6); false: every byte as it is.
    bool macroEnvelope = true;
};

// Every byte as it is in ASCII (5.2.3), the smallest square size, the 144 x
// 144 size in the library's order: the symbols of the nine DM functions.
EncodeRequest LiteralAsciiRequest();

// A finished symbol, in storage sized to it (about 300 bytes for 10 x 10).
// An encoding into a symbol that has held one as large allocates nothing.
// The final stream keeps the data codewords in front, in order (5.7.2
// deals them into blocks; only the check codewords are interleaved), so
// they are not held twice.
struct EncodedSymbol {
    SymbolMatrix matrix;              // rows x cols, finder patterns included
    std::int32_t dataCount = 0;       // codewords[0, dataCount): the data codewords before padding, header included
    std::int32_t codewordCount = 0;   // data, pads and check codewords
    std::vector<std::uint8_t> codewords;  // codewordCount, interleaved, as placed
};

struct EncoderWorkspace;  // encoder_workspace.h

// Encodes the segments into `out`: the fewest data codewords for the
// smallest admitted size that holds them (or the forced scheme's). Refuses
// with InvalidArgument (an option out of range, a size that does not
// exist), InvalidData (a byte the forced scheme cannot hold, a bad GS1
// element string, an end the forced scheme cannot reach) or MessageTooLong
// (with the codewords needed and the capacity); `out` is then unspecified.
Outcome EncodeSegments(const Segment* segments, std::size_t count, const EncodeRequest& request,
                       EncoderWorkspace& workspace, EncodedSymbol& out);

}  // namespace ecc200
