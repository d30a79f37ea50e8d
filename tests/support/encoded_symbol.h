// Runs the whole encoder on a working state of its own.
#pragma once

#include <memory>
#include <string_view>

#include "encoder/build_symbol.h"

namespace ecc200::test {

// The working state after BuildSymbol; its result says whether a symbol was
// made. The state lives on the heap: it is too large for a thread's stack
// under the sanitizers.
struct EncodedSymbol {
    bool built = false;
    std::unique_ptr<EncoderWorkingState> state;
};

EncodedSymbol Encode(std::string_view message);

}  // namespace ecc200::test
