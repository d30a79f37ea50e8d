// The encoder as one call: message bytes in, finished symbol matrix out,
// through the stages of ISO/IEC 16022 in their order.
#pragma once

#include <string_view>

#include "encoder/codeword_stream.h"
#include "encoder/module_matrix.h"
#include "encoder/reed_solomon.h"
#include "encoder/symbol_table.h"

namespace ecc200 {

// Everything the stages write, sized for the largest symbol (about 52 KB).
// The stages allocate nothing (the tables of a size are built once, on its
// first use) and read nothing they have not written in the same call, so a
// state can be reused from call to call without clearing.
struct EncoderWorkingState {
    CodewordStream stream;
    std::int32_t messageCodewords = 0;  // codewords the message needs
    SymbolAttributes attributes{};      // the selected size
    BlockBuffers blocks;
    SymbolMatrix symbol;
};

// Runs encodation, size selection, padding, error correction, finder
// patterns, placement and assembly (the last three through the size's
// placement map). Returns false, with only the encodation done, when the
// message needs more than 1558 codewords.
bool BuildSymbol(std::string_view message, EncoderWorkingState& state);

}  // namespace ecc200
