// The codeword stream shared by the encoder stages: data codewords after
// encodation and padding, then the interleaved data and check codewords.
#pragma once

#include <array>
#include <cstdint>

namespace ecc200 {

// The 144 x 144 symbol holds 1558 data and 620 check codewords, the most of
// any ECC 200 size (ISO/IEC 16022, Table 7).
constexpr int kMaxDataCodewords = 1558;
constexpr int kMaxSymbolCodewords = 2178;

struct CodewordStream {
    std::array<std::uint16_t, kMaxSymbolCodewords> codewords{};
    // Number of codewords the message needs (after encodation) or the symbol
    // holds (after error correction). During encodation it keeps counting past
    // the storage, so a message too long for any symbol still reports how many
    // codewords it would need.
    std::int32_t count = 0;
};

}  // namespace ecc200
