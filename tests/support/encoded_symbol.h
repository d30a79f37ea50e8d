// Runs the encoder on a workspace of its own: any request (Encoding), or
// the nine's (Encode: every byte in ASCII, the smallest square size).
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "common/failure.h"
#include "encoder/encode_segments.h"
#include "encoder/symbol_sizes.h"

namespace ecc200::test {

// The 24 square sizes open kSymbolSizes, smallest first.
constexpr int kSquareSizeCount = 24;

// EncodeSegments' outcome and, when it succeeded, its symbol (on the heap:
// too large for a thread's stack under the sanitizers).
struct Encoding {
    Outcome outcome;
    std::unique_ptr<ecc200::EncodedSymbol> symbol;  // null when refused
    std::vector<std::uint8_t> codewords() const;      // data, pads and check codewords, as placed
    std::vector<std::uint8_t> dataCodewords() const;  // before padding, header included
};

Encoding EncodeWith(const std::vector<Segment>& segments, const EncodeRequest& request);

// What the tests read of one of the nine's symbols.
struct EncodedState {
    SymbolMatrix symbol;                // the finished symbol
    std::int32_t messageCodewords = 0;  // the message's data codewords (the codewords needed when too long)
    SymbolSize attributes{};            // the size chosen
    std::vector<std::uint8_t> stream;   // data, pads and check codewords, as placed
};

struct EncodedSymbol {
    bool built = false;
    std::unique_ptr<EncodedState> state;
};

EncodedSymbol Encode(std::string_view message);

}  // namespace ecc200::test
