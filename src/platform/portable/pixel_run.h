// The pixels GDI covers between two coordinates along one axis, as a
// half-open range: a rectangle's left edge up to its right edge, or a
// horizontal or vertical line from its start to its end point. The first
// coordinate is included and the second excluded; when the two are reversed
// the range runs from second + 1 to first + 1, so PatBlt with a negative
// extent and a line drawn backwards both keep their start and drop their
// end. The + 1 wraps around in 32 bits as in GDI's own arithmetic, so a
// reversed run that starts at INT32_MAX ends at INT32_MIN and is empty
// (measured under Wine); the range itself is held in 64 bits.
#pragma once

#include <cstdint>

#include "platform/wrapping_int32.h"

namespace ecc200::platform {

struct PixelRun {
    std::int64_t begin;
    std::int64_t end;
};

constexpr PixelRun PixelRunBetween(std::int32_t first, std::int32_t second) {
    if (first <= second) return {first, second};
    return {WrappingAdd(second, 1), WrappingAdd(first, 1)};
}

// The part of the run that lies in [0, limit); empty when begin >= end.
constexpr PixelRun ClipRun(PixelRun run, std::int64_t limit) {
    return {run.begin < 0 ? 0 : run.begin, run.end > limit ? limit : run.end};
}

}  // namespace ecc200::platform
