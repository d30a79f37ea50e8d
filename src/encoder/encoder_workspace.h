// The storage an encoding works in besides its result: the message's
// codewords and items, the encodation search's tables and the Reed-Solomon
// blocks. A caller keeps one per thread and passes it to every
// EncodeSegments call: the buffers grow to the longest message met and are
// reused, so a warm encoding allocates nothing. It holds nothing between
// calls that a call reads before writing.
#pragma once

#include <cstdint>
#include <vector>

#include "encoder/encodation_search.h"
#include "encoder/message_header.h"
#include "encoder/reed_solomon.h"

namespace ecc200 {

struct EncoderWorkspace {
    MessageCodewords message;
    SearchBuffers search;
    std::vector<std::uint8_t> data;  // header and data codewords
    BlockBuffers blocks{BlockBuffers::Unfilled{}};
};

}  // namespace ecc200
