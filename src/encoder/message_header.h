// The message as codewords before encodation: the header (structured
// append, reader programming, FNC1 in first position for GS1, Macro 05/06;
// ISO/IEC 16022 5.6) and the items of the segments (bytes, FNC1 separators,
// ECI designators; 5.4), with the checks of the options and the data that
// come before any encodation.
//
// Pure: reads its arguments, writes only its outputs, no globals, no I/O;
// `message` keeps its storage from call to call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/failure.h"
#include "encoder/encode_segments.h"

namespace ecc200 {

struct MessageCodewords {
    std::vector<std::uint8_t> header;
    std::vector<std::int32_t> items;
    int messageBytes = 0;  // the bytes the caller gave, for messages about length
};

// Checks every option of the request against its range and the others
// (the one place they are checked): InvalidArgument, or InvalidData for no
// segment at all.
Outcome CheckRequest(const Segment* segments, std::size_t count, const EncodeRequest& request);

// Replaces `message` with the header and the items of a checked request,
// or refuses data the request cannot take (InvalidData).
Outcome BuildMessageCodewords(const Segment* segments, std::size_t count, const EncodeRequest& request,
                              MessageCodewords& message);

}  // namespace ecc200
