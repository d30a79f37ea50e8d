// The one place that decides which encoding options this build provides and
// builds the symbol they ask for. Until the full encoder (every encodation,
// rectangles, DMRE, GS1, ECI, structured append) lands, the defaults are
// provided: AUTO (the ASCII encodation) or ASCII, the smallest square.
// Wiring the full encoder in changes this file only.
#pragma once

#include <string_view>

#include "api/diagnosis.h"
#include "ecc200.h"

namespace ecc200 {

struct EncoderWorkingState;

// InvalidArgument for values outside their documented ranges, Unsupported
// for values this build does not encode yet.
Outcome CheckEncodeOptions(const ecc200_encode_options& options, Diagnosis& diagnosis);

// The same for a segment's ECI.
Outcome CheckSegmentEci(std::int32_t eci, Diagnosis& diagnosis);

// Builds the symbol in `state`; MessageTooLong, with the codewords needed
// and the capacity in the diagnosis, when no allowed size holds it.
Outcome BuildRequestedSymbol(std::string_view message, const ecc200_encode_options& options,
                             EncoderWorkingState& state, Diagnosis& diagnosis);

}  // namespace ecc200
