// ASCII encodation of ISO/IEC 16022, 5.2.3: digit pairs, single bytes and
// Upper Shift for bytes 128 to 255. No other encodation scheme is used.
//
// Pure: reads its arguments, writes only its output, no globals, no I/O, no
// allocation.
#pragma once

#include <string_view>

#include "encoder/codeword_stream.h"

namespace ecc200 {

constexpr int kDigitPairBase = 130;  // codeword of the pair "00"
constexpr int kUpperShift = 235;

// Replaces the stream's content by the codewords of `message` (every byte
// counts, a zero byte included). The count always says how many codewords the
// message needs; codewords beyond the stream's storage are counted but not
// stored, which only happens when the count exceeds the largest symbol.
void EncodeMessage(std::string_view message, CodewordStream& stream);

}  // namespace ecc200
