// Runs the encoder on a workspace of its own with any request.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "common/failure.h"
#include "encoder/encode_segments.h"

namespace ecc200::test {

// EncodeSegments' outcome and, when it succeeded, its symbol (on the heap:
// too large for a thread's stack under the sanitizers).
struct Encoding {
    Outcome outcome;
    std::unique_ptr<ecc200::EncodedSymbol> symbol;  // null when refused
    std::vector<std::uint8_t> codewords() const;      // data, pads and check codewords, as placed
    std::vector<std::uint8_t> dataCodewords() const;  // before padding, header included
};

Encoding EncodeWith(const std::vector<Segment>& segments, const EncodeRequest& request);

}  // namespace ecc200::test
