// The 22-byte placeable metafile header that precedes a Windows metafile in
// a .wmf file ([MS-WMF] 2.3.2.3 META_PLACEABLE).
#pragma once

#include <cstdint>
#include <vector>

namespace ecc200 {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableHeaderSize = 22;
// The bounding box holds signed 16-bit coordinates.
constexpr std::int32_t kMaxPlaceableExtent = 32767;

// Bounding box (0, 0, width, height) in pixels, `unitsPerInch` the screen's
// LOGPIXELSX, and the checksum: the XOR of the ten words before it.
std::vector<std::uint8_t> PlaceableMetafileHeader(std::int32_t width, std::int32_t height, std::int32_t unitsPerInch);

}  // namespace ecc200
