#include "support/output_checks.h"

#include <cstddef>

namespace ecc200::test {
namespace {

std::uint32_t U16At(std::string_view b, std::size_t offset) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[offset]) |
                                      static_cast<unsigned char>(b[offset + 1]) << 8);
}

std::uint32_t U32At(std::string_view b, std::size_t offset) { return U16At(b, offset) | U16At(b, offset + 2) << 16; }

std::string Mismatch(const char* field, std::uint64_t found, std::uint64_t expected) {
    return std::string(field) + " is " + std::to_string(found) + ", expected " + std::to_string(expected);
}

constexpr std::size_t kBmpRowsOffset = 62;          // 14-byte file header, 40-byte info header, 2 RGBQUADs
constexpr std::size_t kPlaceableHeaderBytes = 22;
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kMetaHeaderBytes = 18;        // METAHEADER
constexpr std::uint32_t kMetaEof = 0x0000;
constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"

}  // namespace

std::string CheckBmp(std::string_view file, std::int32_t width, std::int32_t height) {
    if (file.size() < kBmpRowsOffset) return "shorter than the headers";
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) + 31) / 32 * 4;
    const std::uint64_t imageSize = rowBytes * static_cast<std::uint64_t>(height);
    if (file.substr(0, 2) != "BM") return "bfType is not BM";
    if (U32At(file, 2) != file.size()) return Mismatch("bfSize", U32At(file, 2), file.size());
    if (U32At(file, 10) != kBmpRowsOffset) return Mismatch("bfOffBits", U32At(file, 10), kBmpRowsOffset);
    if (U32At(file, 14) != 40) return Mismatch("biSize", U32At(file, 14), 40);
    if (U32At(file, 18) != static_cast<std::uint32_t>(width)) return Mismatch("biWidth", U32At(file, 18), width);
    if (U32At(file, 22) != static_cast<std::uint32_t>(height)) return Mismatch("biHeight", U32At(file, 22), height);
    if (U16At(file, 26) != 1 || U16At(file, 28) != 1) return "not one plane of one bit";
    if (U32At(file, 30) != 0) return "biCompression is not BI_RGB";
    if (U32At(file, 34) != imageSize) return Mismatch("biSizeImage", U32At(file, 34), imageSize);
    if (U32At(file, 54) != 0x000000 || U32At(file, 58) != 0xFFFFFF) return "colour table is not black, white";
    if (file.size() != kBmpRowsOffset + imageSize) return Mismatch("file length", file.size(), kBmpRowsOffset + imageSize);
    return "";
}

std::string CheckPlaceableWmf(std::string_view file, std::int32_t width, std::int32_t height) {
    if (file.size() < kPlaceableHeaderBytes + kMetaHeaderBytes) return "shorter than the headers";
    if (U32At(file, 0) != kPlaceableKey) return "placeable key";
    std::uint32_t checksum = 0;
    for (std::size_t offset = 0; offset < 20; offset += 2) checksum ^= U16At(file, offset);
    if (U16At(file, 20) != checksum) return Mismatch("placeable checksum", U16At(file, 20), checksum);
    if (U16At(file, 6) != 0 || U16At(file, 8) != 0 || U16At(file, 10) != static_cast<std::uint32_t>(width) ||
        U16At(file, 12) != static_cast<std::uint32_t>(height)) {
        return "bounding box is not the picture";
    }
    const std::string_view metafile = file.substr(kPlaceableHeaderBytes);
    if (U16At(metafile, 2) != kMetaHeaderBytes / 2) return "mtHeaderSize";
    if (std::uint64_t{U32At(metafile, 6)} * 2 != metafile.size()) {
        return Mismatch("mtSize in bytes", std::uint64_t{U32At(metafile, 6)} * 2, metafile.size());
    }
    std::uint32_t largest = 0;
    std::size_t offset = kMetaHeaderBytes;
    while (true) {
        if (offset + 6 > metafile.size()) return "records run past the end";
        const std::uint64_t bytes = std::uint64_t{U32At(metafile, offset)} * 2;
        if (bytes < 6 || offset + bytes > metafile.size()) return "record size out of the file";
        if (U32At(metafile, offset) > largest) largest = U32At(metafile, offset);
        const bool end = U16At(metafile, offset + 4) == kMetaEof;
        offset += bytes;
        if (end) break;
    }
    if (offset != metafile.size()) return "META_EOF before the end";
    if (U32At(metafile, 12) != largest) return Mismatch("mtMaxRecord", U32At(metafile, 12), largest);
    return "";
}

std::string CheckEnhMetafile(std::string_view bits) {
    if (bits.size() < 108) return "shorter than EMR_HEADER";
    if (U32At(bits, 0) != kEmrHeader || U32At(bits, 40) != kEmfSignature) return "EMR_HEADER type or signature";
    if (U32At(bits, 48) != bits.size()) return Mismatch("nBytes", U32At(bits, 48), bits.size());
    std::uint32_t records = 0;
    std::size_t offset = 0;
    bool end = false;
    while (!end) {
        if (offset + 8 > bits.size()) return "records run past the end";
        const std::uint32_t size = U32At(bits, offset + 4);
        if (size < 8 || size % 4 != 0 || offset + size > bits.size()) return "record size out of the file";
        end = U32At(bits, offset) == kEmrEof;
        offset += size;
        ++records;
    }
    if (offset != bits.size()) return "EMR_EOF before the end";
    if (U32At(bits, 52) != records) return Mismatch("nRecords", U32At(bits, 52), records);
    return "";
}

}  // namespace ecc200::test
