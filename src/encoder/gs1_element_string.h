// GS1 element strings in bracket form, "(01)09506000134352(17)201225" or
// "[01]...": each AI checked against the AI table (length, character set,
// check digit, dates), then turned into the items the encoder writes: the
// AI's digits and data, with FNC1 after every element of variable length
// that is not the last (GS1 system standard 7.8.5.1; ISO/IEC 16022
// 5.6.3). The FNC1 in first position is the caller's.
//
// With round brackets every '(' opens an AI, so data cannot hold one; a ')'
// that closes no AI is data, as GS1's character set 82 allows. Square
// brackets are outside that set, so with them the delimiters are never data.
//
// Pure: reads its arguments, writes only its outputs, no globals, no I/O.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "common/failure.h"

namespace ecc200 {

// Appends the element string's items, or refuses it as InvalidData with
// one sentence naming the AI and the fault.
Outcome AppendGs1Items(std::string_view text, std::vector<std::int32_t>& items);

}  // namespace ecc200
