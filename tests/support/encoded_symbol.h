// Runs the encoder on a workspace of its own with the nine's request (every
// byte in ASCII, the smallest square size); encoding.h runs any request.
// Free of the encoder's request types, so that a test may also include
// the public ecc200.hpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "encoder/module_matrix.h"
#include "encoder/symbol_sizes.h"

namespace ecc200::test {

// The 24 square sizes open kSymbolSizes, smallest first.
constexpr int kSquareSizeCount = 24;

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
