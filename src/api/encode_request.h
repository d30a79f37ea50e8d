// The encoding options of the C interface turned into a request of the
// complete encoder (encoder/encode_request.h), and its answer into a symbol
// or a diagnosis in the caller's terms.
#pragma once

#include <vector>

#include "api/diagnosis.h"
#include "ecc200.h"
#include "encoder/encode_request.h"

struct ecc200_symbol;

namespace ecc200 {

// InvalidArgument for values outside their documented ranges.
Outcome CheckEncodeOptions(const ecc200_encode_options& options, Diagnosis& diagnosis);

// The same for a segment's ECI.
Outcome CheckSegmentEci(std::int32_t eci, Diagnosis& diagnosis);

// Encodes the segments as the options ask into `symbol`; MessageTooLong
// (with the codewords needed and the capacity), InvalidData or
// InvalidArgument with the encoder's explanation otherwise.
Outcome BuildRequestedSymbol(const std::vector<Segment>& segments, const ecc200_encode_options& options,
                             ecc200_symbol& symbol, Diagnosis& diagnosis);

}  // namespace ecc200
