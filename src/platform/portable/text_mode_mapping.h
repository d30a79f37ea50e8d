// Logical to device coordinates in the MM_TEXT mapping mode, the only one
// the library uses: one unit per pixel, shifted by the window origin. GDI
// maps through floating point and converts back to a 32-bit integer; a
// result outside that range comes back as INT32_MIN (measured under Wine:
// the x86 conversion's value for an out-of-range number), never wrapped.
#pragma once

#include <cstdint>
#include <limits>

namespace ecc200::platform {

constexpr std::int32_t TextModeToDevice(std::int32_t logical, std::int32_t windowOrigin) {
    const std::int64_t device = std::int64_t{logical} - windowOrigin;
    if (device < std::numeric_limits<std::int32_t>::min() || device > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(device);
}

static_assert(TextModeToDevice(11, 10) == 1);
static_assert(TextModeToDevice(-0x7FFFFFFF - 1, 0x7FFFFFFF) == -0x7FFFFFFF - 1);
static_assert(TextModeToDevice(1, -0x7FFFFFFF - 1) == -0x7FFFFFFF - 1);

}  // namespace ecc200::platform
