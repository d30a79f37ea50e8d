// Structural checks of the three outputs as a reader of each format would
// make them: header fields that agree with the picture and with the length
// of what was written, and records that walk to the end record. Each returns
// an empty string when the bytes pass, else what is wrong.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ecc200::test {

// A one-bit BMP of width x height: BITMAPFILEHEADER (bfType "BM", bfSize the
// file's length, bfOffBits 62), BITMAPINFOHEADER (40 bytes, the size, one
// plane, one bit, BI_RGB, biSizeImage the padded rows), black and white
// colour table, and exactly the rows after it.
std::string CheckBmp(std::string_view file, std::int32_t width, std::int32_t height);

// A placeable metafile of width x height: key, bounding box and checksum of
// the 22-byte header, then a METAHEADER whose mtSize and mtMaxRecord agree
// with records that walk to META_EOF at the very end.
std::string CheckPlaceableWmf(std::string_view file, std::int32_t width, std::int32_t height);

// An enhanced metafile: EMR_HEADER with its signature, nBytes the length and
// nRecords the number of records, which walk to EMR_EOF at the very end.
std::string CheckEnhMetafile(std::string_view bits);

}  // namespace ecc200::test
