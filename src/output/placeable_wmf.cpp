#include "output/placeable_wmf.h"

#include <cassert>

#include "platform/byte_writer.h"

namespace ecc200 {

std::vector<std::uint8_t> PlaceableMetafileHeader(std::int32_t width, std::int32_t height, std::int32_t unitsPerInch) {
    platform::ByteWriter header;
    header.u32le(kPlaceableKey);                                  // 0: key
    header.u16le(0);                                              // 4: metafile handle
    header.u16le(0);                                              // 6: bounding box left
    header.u16le(0);                                              // 8: bounding box top
    header.u16le(static_cast<std::uint16_t>(width & 0xFFFF));     // 10: bounding box right
    header.u16le(static_cast<std::uint16_t>(height & 0xFFFF));    // 12: bounding box bottom
    header.u16le(static_cast<std::uint16_t>(unitsPerInch & 0xFFFF));  // 14: units per inch
    header.u32le(0);                                              // 16: reserved
    std::uint16_t checksum = 0;
    const std::uint8_t* words = header.data();
    for (std::size_t offset = 0; offset < header.size(); offset += 2) {
        checksum ^= static_cast<std::uint16_t>(words[offset] | words[offset + 1] << 8);
    }
    header.u16le(checksum);                                       // 20: checksum
    assert(header.size() == kPlaceableHeaderSize);
    return header.Take();
}

}  // namespace ecc200
