#include "support/strict_zpl.h"

#include <zlib.h>

#include <optional>

namespace ecc200::test {
namespace {

constexpr std::size_t kMostFieldBytes = 99999;  // ^GF's counts
constexpr std::int32_t kMostDots = 32000;       // ^LL, ^FO

// The label's text, consumed from the front.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool take(std::string_view expected) {
        if (text_.substr(0, expected.size()) != expected) return false;
        text_.remove_prefix(expected.size());
        return true;
    }
    // A decimal number without sign or leading zero, below 10^9.
    std::optional<std::size_t> number() {
        std::size_t digits = 0;
        while (digits < text_.size() && text_[digits] >= '0' && text_[digits] <= '9') ++digits;
        if (digits == 0 || digits > 9 || (digits > 1 && text_[0] == '0')) return std::nullopt;
        std::size_t value = 0;
        for (std::size_t i = 0; i < digits; ++i) value = value * 10 + static_cast<std::size_t>(text_[i] - '0');
        text_.remove_prefix(digits);
        return value;
    }
    // The text up to `end` (not consumed), or nothing when `end` never comes.
    std::optional<std::string_view> upTo(std::string_view end) {
        const std::size_t at = text_.find(end);
        if (at == std::string_view::npos) return std::nullopt;
        const std::string_view before = text_.substr(0, at);
        text_.remove_prefix(at);
        return before;
    }
    bool empty() const { return text_.empty(); }

private:
    std::string_view text_;
};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;  // ZPL's own compression letters and lower case are not ours
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// Exactly 2 x count upper-case hex digits.
std::string ReadHex(std::string_view data, std::size_t count, std::vector<std::uint8_t>& bytes) {
    if (data.size() != 2 * count) {
        return "the data holds " + std::to_string(data.size()) + " hex digits, the count says " + std::to_string(2 * count);
    }
    bytes.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const int high = HexValue(data[2 * i]);
        const int low = HexValue(data[2 * i + 1]);
        if (high < 0 || low < 0) return "a character that is no hex digit at " + std::to_string(2 * i);
        bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return "";
}

std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text) {
    if (text.empty() || text.size() % 4 != 0) return std::nullopt;
    std::size_t pad = 0;
    while (pad < 2 && text[text.size() - 1 - pad] == '=') ++pad;
    std::vector<std::uint8_t> bytes;
    std::uint32_t group = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int value = i >= text.size() - pad ? 0 : Base64Value(text[i]);
        if (value < 0) return std::nullopt;
        group = group << 6 | static_cast<std::uint32_t>(value);
        if (i % 4 == 3) {
            for (int shift = 16; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(group >> shift));
            group = 0;
        }
    }
    bytes.resize(bytes.size() - pad);
    return bytes;
}

// CRC-16/CCITT, polynomial 0x1021, initial value 0, bit by bit.
std::uint16_t Crc16(std::string_view text) {
    std::uint32_t crc = 0;
    for (const char c : text) {
        crc ^= static_cast<std::uint32_t>(static_cast<std::uint8_t>(c)) << 8;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000) != 0 ? (crc << 1 ^ 0x1021) & 0xFFFF : crc << 1 & 0xFFFF;
    }
    return static_cast<std::uint16_t>(crc);
}

// ":Z64:base64:CRC", the CRC over the base64 text, the zlib stream ending
// exactly with the text and inflating to exactly `count` bytes.
std::string ReadZ64(std::string_view data, std::size_t count, std::vector<std::uint8_t>& bytes) {
    data.remove_prefix(5);
    const std::size_t colon = data.find(':');
    if (colon == std::string_view::npos || data.size() - colon != 5) return "no four-digit CRC after the base64 text";
    const std::string_view text = data.substr(0, colon);
    std::uint32_t crc = 0;
    for (const char c : data.substr(colon + 1)) {
        if (HexValue(c) < 0) return "the CRC is not four upper-case hex digits";
        crc = crc << 4 | static_cast<std::uint32_t>(HexValue(c));
    }
    if (crc != Crc16(text)) return "the CRC does not match the base64 text";
    const std::optional<std::vector<std::uint8_t>> deflated = DecodeBase64(text);
    if (!deflated) return "the base64 text is malformed";
    bytes.assign(count + 1, 0);  // one more: a longer stream shows itself
    uLongf inflated = static_cast<uLongf>(bytes.size());
    uLong consumed = static_cast<uLong>(deflated->size());
    const int status = uncompress2(bytes.data(), &inflated, deflated->data(), &consumed);
    if (status != Z_OK) return "the zlib stream does not inflate (zlib status " + std::to_string(status) + ")";
    if (consumed != deflated->size()) return "bytes follow the zlib stream";
    if (inflated != count) return "the stream inflates to " + std::to_string(inflated) + " bytes, the count says " + std::to_string(count);
    bytes.resize(count);
    return "";
}

std::string ReadField(Cursor& cursor, ZplGraphic& graphic) {
    if (!cursor.take("^FO0,0^GFA,")) return "no ^FO0,0^GFA, where the field starts";
    const std::optional<std::size_t> binaryCount = cursor.number();
    if (!binaryCount || !cursor.take(",")) return "no binary byte count";
    const std::optional<std::size_t> fieldCount = cursor.number();
    if (!fieldCount || !cursor.take(",")) return "no graphic field count";
    const std::optional<std::size_t> rowBytes = cursor.number();
    if (!rowBytes || !cursor.take(",")) return "no bytes per row";
    if (*binaryCount != *fieldCount) return "the binary byte count differs from the graphic field count";
    if (*fieldCount < 1 || *fieldCount > kMostFieldBytes) return "the graphic field count is past ^GF's 1 to 99999";
    if (*rowBytes < 1 || *fieldCount % *rowBytes != 0) return "the graphic field count is no whole number of rows";
    graphic.rowBytes = *rowBytes;
    graphic.rows = *fieldCount / *rowBytes;
    const std::optional<std::string_view> data = cursor.upTo("^FS");
    if (!data) return "no ^FS after the data";
    cursor.take("^FS");
    graphic.z64 = data->substr(0, 5) == ":Z64:";
    return graphic.z64 ? ReadZ64(*data, *fieldCount, graphic.bytes) : ReadHex(*data, *fieldCount, graphic.bytes);
}

// ^PW and ^LL against the field: the width's dots fill the rows' bytes,
// the bits past it are not printed, the length is the rows.
std::string CheckLabelSize(const ZplGraphic& graphic) {
    if (graphic.labelWidth < 2 || graphic.labelWidth > kMostDots || graphic.labelLength < 1 ||
        graphic.labelLength > kMostDots) {
        return "^PW or ^LL is past ZPL's limits";
    }
    const auto width = static_cast<std::size_t>(graphic.labelWidth);
    if ((width + 7) / 8 != graphic.rowBytes) return "^PW does not match the bytes per row";
    if (static_cast<std::size_t>(graphic.labelLength) != graphic.rows) return "^LL does not match the rows";
    for (std::size_t y = 0; y < graphic.rows; ++y) {
        for (std::size_t x = width; x < 8 * graphic.rowBytes; ++x) {
            if (graphic.printed(x, y)) return "a dot past ^PW is printed in row " + std::to_string(y);
        }
    }
    return "";
}

std::string ReadLabel(std::string_view label, ZplGraphic& graphic) {
    if (label.empty() || label.back() != '\n') return "the label does not end with a line feed";
    label.remove_suffix(1);
    Cursor cursor(label);
    graphic.wholeLabel = cursor.take("^XA");
    if (graphic.wholeLabel) {
        const std::optional<std::size_t> width = cursor.take("^PW") ? cursor.number() : std::nullopt;
        const std::optional<std::size_t> length = cursor.take("^LL") ? cursor.number() : std::nullopt;
        if (!width || !length) return "no ^PW and ^LL after ^XA";
        graphic.labelWidth = static_cast<std::int32_t>(*width);
        graphic.labelLength = static_cast<std::int32_t>(*length);
    }
    if (std::string error = ReadField(cursor, graphic); !error.empty()) return error;
    if (graphic.wholeLabel && !cursor.take("^XZ")) return "no ^XZ after the field";
    if (!cursor.empty()) return "text follows the label";
    return graphic.wholeLabel ? CheckLabelSize(graphic) : "";
}

}  // namespace

ZplGraphic ReadStrictZpl(std::string_view label) {
    ZplGraphic graphic;
    graphic.error = ReadLabel(label, graphic);
    return graphic;
}

std::vector<ZplGraphic> ReadStrictZplLines(std::string_view stream) {
    std::vector<ZplGraphic> labels;
    while (!stream.empty()) {
        const std::size_t end = stream.find('\n');
        const std::size_t size = end == std::string_view::npos ? stream.size() : end + 1;
        labels.push_back(ReadStrictZpl(stream.substr(0, size)));
        stream.remove_prefix(size);
    }
    return labels;
}

}  // namespace ecc200::test
