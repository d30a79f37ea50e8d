// The message as codewords before encodation: the header (structured
// append, reader programming, FNC1 in first position for GS1, Macro 05/06;
// ISO/IEC 16022 5.6) and the items of the segments (bytes, FNC1 separators,
// ECI designators; 5.4), with the checks of the options and the data that
// come before any encodation.
//
// Pure: reads its arguments, writes only its outputs, no globals, no I/O.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "encoder/encode_request.h"

namespace ecc200 {

struct MessageCodewords {
    std::vector<std::uint8_t> header;
    std::vector<std::int32_t> items;
    int messageBytes = 0;  // the bytes the caller gave, for messages about length
};

// Fills `message`, or returns why the request cannot be encoded.
std::optional<EncodeFailure> BuildMessageCodewords(const std::vector<Segment>& segments, const EncodeRequest& request,
                                                   MessageCodewords& message);

}  // namespace ecc200
