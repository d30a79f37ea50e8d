// The options structs of the C interface carry their own size, so that a
// later release can add fields at the end: a caller built against this
// release passes at least the first release's size, and fields past the
// size it passes take their defaults.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ecc200.h"

namespace ecc200 {

// The first release's sizes: up to the end of each struct's last field.
constexpr std::size_t kFirstEncodeOptionsSize = offsetof(ecc200_encode_options, iso144) + sizeof(std::int32_t);
constexpr std::size_t kFirstPictureSize = offsetof(ecc200_picture, seamless) + sizeof(std::int32_t);

ecc200_encode_options DefaultEncodeOptions();
ecc200_picture DefaultPicture();

// Copies the fields inside given->struct_size over `defaults` into *out;
// NULL means the defaults. False when struct_size is below `firstSize`.
template <typename Struct>
bool ReadVersioned(const Struct* given, std::size_t firstSize, const Struct& defaults, Struct& out) {
    out = defaults;
    if (given == nullptr) return true;
    if (given->struct_size < firstSize) return false;
    std::memcpy(&out, given, std::min<std::size_t>(given->struct_size, sizeof(Struct)));
    out.struct_size = sizeof(Struct);
    return true;
}

}  // namespace ecc200
