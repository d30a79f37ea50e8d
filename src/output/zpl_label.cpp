#include "output/zpl_label.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cstring>
#include <new>
#include <string_view>

#include "platform/drawing_surface.h"

namespace ecc200 {
namespace {

constexpr std::string_view kLabelStart = "^XA";
constexpr std::string_view kFieldStart = "^FO0,0^GFA,";  // the picture's top-left corner at the label's home
constexpr std::string_view kFieldEnd = "^FS";
constexpr std::string_view kLabelEnd = "^XZ";
constexpr std::string_view kZ64Header = ":Z64:";
constexpr char kLineFeed = '\n';
constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr char kBase64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kBase64Pad = '=';
constexpr std::uint16_t kCrcPolynomial = 0x1021;  // CRC-16/CCITT, as ZPL's ZB64 encodings use it
constexpr std::size_t kMostDecimalDigits = 10;     // an int32's

// The two hex digits of every byte, so that a row is one lookup a byte.
constexpr std::array<std::array<char, 2>, 256> HexPairs() {
    std::array<std::array<char, 2>, 256> pairs{};
    for (std::size_t b = 0; b < 256; ++b) pairs[b] = {kHexDigits[b >> 4], kHexDigits[b & 0xF]};
    return pairs;
}
constexpr std::array<std::array<char, 2>, 256> kHexPairs = HexPairs();

constexpr std::array<std::uint16_t, 256> CrcTable() {
    std::array<std::uint16_t, 256> table{};
    for (std::uint32_t b = 0; b < 256; ++b) {
        std::uint32_t crc = b << 8;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000) != 0 ? (crc << 1) ^ kCrcPolynomial : crc << 1;
        table[b] = static_cast<std::uint16_t>(crc);
    }
    return table;
}
constexpr std::array<std::uint16_t, 256> kCrcTable = CrcTable();

struct FieldGeometry {
    std::size_t dibRowBytes;  // GetDIBits pads each row to whole 32-bit words
    std::size_t rowBytes;     // ^GF's bytes per row: the dots of a row, 8 to a byte
    std::size_t total;        // rowBytes x rows
    std::uint8_t lastMask;    // the bits of a row's last byte that are dots of the picture
};

FieldGeometry GeometryOf(const MonochromeRows& rows) {
    const auto width = static_cast<std::size_t>(rows.width);
    const std::size_t rowBytes = (width + 7) / 8;
    const std::size_t spareBits = rowBytes * 8 - width;
    return {(width + 31) / 32 * 4, rowBytes, rowBytes * static_cast<std::size_t>(rows.height),
            static_cast<std::uint8_t>(0xFF << spareBits)};
}

// The rows' spans hold exactly `height` whole rows of GetDIBits' size.
bool RowsMatch(const MonochromeRows& rows, const FieldGeometry& geometry) {
    if (rows.spans == nullptr && rows.spanCount != 0) return false;
    std::uint64_t total = 0;
    for (std::size_t s = 0; s < rows.spanCount; ++s) {
        if (rows.spans[s].size % geometry.dibRowBytes != 0) return false;
        total += rows.spans[s].size;
    }
    return total == std::uint64_t{geometry.dibRowBytes} * static_cast<std::uint32_t>(rows.height);
}

// Calls write(dibRow) for every row, top to bottom: the bitmap's rows run
// bottom-up, the last span's last row first.
template <typename Write>
void ForEachRowTopDown(const MonochromeRows& rows, std::size_t dibRowBytes, Write write) {
    for (std::size_t s = rows.spanCount; s-- > 0;) {
        const platform::ByteSpan& span = rows.spans[s];
        for (std::size_t offset = span.size; offset > 0; offset -= dibRowBytes) write(span.data + offset - dibRowBytes);
    }
}

// A byte of the field from a byte of the bitmap: black (0) prints (1).
std::uint8_t PrintedDots(std::uint8_t dibByte) { return static_cast<std::uint8_t>(~dibByte); }

char* AppendDecimal(char* at, std::size_t value) {
    return std::to_chars(at, at + kMostDecimalDigits, value).ptr;
}

// The text before the field's data: "^XA^PW..^LL.." for a whole label, then
// "^FO0,0^GFA,total,total,rowBytes,".
std::size_t WriteHead(char* at, const MonochromeRows& rows, const FieldGeometry& geometry, const ZplForm& form) {
    char* const start = at;
    const auto put = [&at](std::string_view text) { at = std::copy(text.begin(), text.end(), at); };
    if (!form.fieldOnly) {
        put(kLabelStart);
        put("^PW");
        at = AppendDecimal(at, static_cast<std::size_t>(rows.width));
        put("^LL");
        at = AppendDecimal(at, static_cast<std::size_t>(rows.height));
    }
    put(kFieldStart);
    // For ASCII download the binary byte count equals the graphic field
    // count (ZPL II, ^GF), in the Z64 form too: both count the field's bytes.
    at = AppendDecimal(at, geometry.total);
    *at++ = ',';
    at = AppendDecimal(at, geometry.total);
    *at++ = ',';
    at = AppendDecimal(at, geometry.rowBytes);
    *at++ = ',';
    return static_cast<std::size_t>(at - start);
}

constexpr std::size_t kMostHeadSize = kLabelStart.size() + 2 * (3 + kMostDecimalDigits) + kFieldStart.size() +
                                      3 * (kMostDecimalDigits + 1);

std::size_t TailSize(const ZplForm& form) {
    return kFieldEnd.size() + (form.fieldOnly ? 0 : kLabelEnd.size()) + 1;
}

void WriteTail(char* at, const ZplForm& form) {
    at = std::copy(kFieldEnd.begin(), kFieldEnd.end(), at);
    if (!form.fieldOnly) at = std::copy(kLabelEnd.begin(), kLabelEnd.end(), at);
    *at = kLineFeed;
}

// Every byte of the field as two hex digits, written straight into `at`.
char* WriteHexRows(char* at, const MonochromeRows& rows, const FieldGeometry& geometry) {
    ForEachRowTopDown(rows, geometry.dibRowBytes, [&](const std::uint8_t* row) {
        for (std::size_t i = 0; i + 1 < geometry.rowBytes; ++i) at = std::copy_n(kHexPairs[PrintedDots(row[i])].data(), 2, at);
        const std::uint8_t last = PrintedDots(row[geometry.rowBytes - 1]) & geometry.lastMask;
        at = std::copy_n(kHexPairs[last].data(), 2, at);
    });
    return at;
}

// The field's bytes, rows top to bottom, into `field`.
void PackRows(const MonochromeRows& rows, const FieldGeometry& geometry, std::vector<std::uint8_t>& field) {
    field.resize(geometry.total);
    std::uint8_t* at = field.data();
    ForEachRowTopDown(rows, geometry.dibRowBytes, [&](const std::uint8_t* row) {
        for (std::size_t i = 0; i < geometry.rowBytes; ++i) at[i] = PrintedDots(row[i]);
        at[geometry.rowBytes - 1] &= geometry.lastMask;
        at += geometry.rowBytes;
    });
}

// The zlib stream of `field` into `deflated`; false when zlib's state cannot
// be had. deflateBound's room lets one Z_FINISH end the stream.
bool Deflate(const std::vector<std::uint8_t>& field, ZplScratch& scratch) {
    z_stream_s* stream = scratch.deflater.Begin();
    if (stream == nullptr) return false;
    scratch.deflated.resize(deflateBound(stream, static_cast<uLong>(field.size())));
    stream->next_in = const_cast<Bytef*>(field.data());  // zlib's interface predates const; it only reads
    stream->avail_in = static_cast<uInt>(field.size());
    stream->next_out = scratch.deflated.data();
    stream->avail_out = static_cast<uInt>(scratch.deflated.size());
    const int status = deflate(stream, Z_FINISH);
    assert(status == Z_STREAM_END);
    (void)status;
    scratch.deflated.resize(scratch.deflated.size() - stream->avail_out);
    return true;
}

std::size_t Base64Size(std::size_t bytes) { return (bytes + 2) / 3 * 4; }

// MIME base64 (RFC 2045) without line breaks, padded with '='.
char* WriteBase64(char* at, const std::vector<std::uint8_t>& bytes) {
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = std::uint32_t{bytes[i]} << 16 | std::uint32_t{bytes[i + 1]} << 8 | bytes[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6) *at++ = kBase64Digits[group >> shift & 0x3F];
    }
    if (const std::size_t left = bytes.size() - i; left != 0) {
        const std::uint32_t group = std::uint32_t{bytes[i]} << 16 | (left == 2 ? std::uint32_t{bytes[i + 1]} << 8 : 0);
        *at++ = kBase64Digits[group >> 18 & 0x3F];
        *at++ = kBase64Digits[group >> 12 & 0x3F];
        *at++ = left == 2 ? kBase64Digits[group >> 6 & 0x3F] : kBase64Pad;
        *at++ = kBase64Pad;
    }
    return at;
}

std::uint16_t Crc16(const char* text, std::size_t size) {
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        crc = static_cast<std::uint16_t>(crc << 8 ^ kCrcTable[(crc >> 8 ^ static_cast<std::uint8_t>(text[i])) & 0xFF]);
    }
    return crc;
}

// ":Z64:<base64>:<CRC>" for the deflated field.
char* WriteZ64(char* at, const std::vector<std::uint8_t>& deflated) {
    at = std::copy(kZ64Header.begin(), kZ64Header.end(), at);
    char* const text = at;
    at = WriteBase64(at, deflated);
    const std::uint16_t crc = Crc16(text, static_cast<std::size_t>(at - text));
    *at++ = ':';
    for (int shift = 12; shift >= 0; shift -= 4) *at++ = kHexDigits[crc >> shift & 0xF];
    return at;
}

constexpr std::size_t kZ64FrameSize = kZ64Header.size() + 1 + 4;  // the header, ':' and the CRC's digits

}  // namespace

Outcome CheckZplExtent(std::int32_t width, std::int32_t height, const ZplForm& form) {
    if (width < 1 || height < 1) return Failed(Failure::InvalidArgument);
    const std::uint64_t total = (static_cast<std::uint64_t>(width) + 7) / 8 * static_cast<std::uint64_t>(height);
    if (total > kZplMostFieldBytes) {
        return Refused(Failure::PictureTooLarge, "a %d x %d-dot picture needs a ZPL graphic field of %llu bytes; ^GF holds %u",
                       width, height, static_cast<unsigned long long>(total), kZplMostFieldBytes);
    }
    if (!form.fieldOnly && (width < kZplLeastWidth || width > kZplMostDots || height > kZplMostDots)) {
        return Refused(Failure::PictureTooLarge, "a %d x %d-dot ZPL label is past ^PW and ^LL (%d to %d dots wide, up to %d long)",
                       width, height, kZplLeastWidth, kZplMostDots, kZplMostDots);
    }
    return {};
}

Outcome AppendZplLabel(std::vector<std::uint8_t>& out, const MonochromeRows& rows, const ZplForm& form,
                       ZplScratch& scratch) {
    if (Outcome fits = CheckZplExtent(rows.width, rows.height, form); !fits.ok()) return fits;
    const FieldGeometry geometry = GeometryOf(rows);
    if (!RowsMatch(rows, geometry)) return Failed(Failure::InvalidArgument);
    const std::size_t originalSize = out.size();
    try {
        if (form.z64) {
            PackRows(rows, geometry, scratch.deflater.filtered);
            if (!Deflate(scratch.deflater.filtered, scratch)) return Failed(Failure::OutOfMemory);
        }
        const std::size_t dataSize =
            form.z64 ? kZ64FrameSize + Base64Size(scratch.deflated.size()) : 2 * geometry.total;
        out.resize(originalSize + kMostHeadSize + dataSize + TailSize(form));
        char* const start = reinterpret_cast<char*>(out.data() + originalSize);
        char* at = start + WriteHead(start, rows, geometry, form);
        at = form.z64 ? WriteZ64(at, scratch.deflated) : WriteHexRows(at, rows, geometry);
        WriteTail(at, form);
        out.resize(originalSize + static_cast<std::size_t>(at - start) + TailSize(form));
        return {};
    } catch (const std::bad_alloc&) {
        out.resize(originalSize);
        return Failed(Failure::OutOfMemory);
    }
}

}  // namespace ecc200
