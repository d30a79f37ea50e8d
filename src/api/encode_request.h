// The encoding options of the C interface turned into a request of the
// encoder (encoder/encode_segments.h), and its answer into a symbol or a
// diagnosis in the caller's terms.
#pragma once

#include <cstddef>

#include "api/diagnosis.h"
#include "ecc200.h"
#include "encoder/encode_segments.h"

struct ecc200_symbol;

namespace ecc200 {

// Encodes the segments as the options ask in the calling thread's encoder
// workspace and sets `symbol` to a new symbol object; the encoder's refusal
// (its options checked there, once) otherwise, with the codewords needed
// and the capacity of a message too long, and `symbol` untouched. Throws
// std::bad_alloc.
Outcome BuildRequestedSymbol(const Segment* segments, std::size_t count, const ecc200_encode_options& options,
                             ecc200_symbol*& symbol, Diagnosis& diagnosis);

}  // namespace ecc200
