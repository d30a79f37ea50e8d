// 32-bit signed arithmetic that wraps around the way GDI's own integer
// arithmetic does on every platform it runs on. Signed overflow is undefined
// in C++, so the sums and products are formed in unsigned 32-bit arithmetic
// (defined modulo 2^32) and the bit pattern is read back as two's complement.
#pragma once

#include <cstdint>

namespace ecc200::platform {

constexpr std::int32_t Int32FromBits(std::uint32_t bits) {
    return bits < 0x80000000u ? static_cast<std::int32_t>(bits)
                              : static_cast<std::int32_t>(static_cast<std::int64_t>(bits) - 0x100000000LL);
}

constexpr std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
    return Int32FromBits(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

constexpr std::int32_t WrappingSub(std::int32_t a, std::int32_t b) {
    return Int32FromBits(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

constexpr std::int32_t WrappingMul(std::int32_t a, std::int32_t b) {
    return Int32FromBits(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

static_assert(WrappingAdd(0x7FFFFFFF, 1) == -0x7FFFFFFF - 1);
static_assert(WrappingSub(-0x7FFFFFFF - 1, 1) == 0x7FFFFFFF);
static_assert(WrappingMul(-108392 * 100, 271) == 1357544096);

}  // namespace ecc200::platform
