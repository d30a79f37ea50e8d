// Reading little-endian fields back out of recorded bytes, and writing
// expected bytes as hex text.
#pragma once

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ecc200::platform::test {

inline std::uint16_t U16At(const std::vector<std::uint8_t>& b, std::size_t offset) {
    return static_cast<std::uint16_t>(b.at(offset) | b.at(offset + 1) << 8);
}

inline std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t offset) {
    return static_cast<std::uint32_t>(U16At(b, offset)) | static_cast<std::uint32_t>(U16At(b, offset + 2)) << 16;
}

inline std::int32_t I32At(const std::vector<std::uint8_t>& b, std::size_t offset) {
    const std::uint32_t bits = U32At(b, offset);
    return bits < 0x80000000u ? static_cast<std::int32_t>(bits) : static_cast<std::int32_t>(static_cast<std::int64_t>(bits) - 0x100000000LL);
}

// "01 0A ff" -> {0x01, 0x0A, 0xFF}; white space between bytes is ignored.
inline std::vector<std::uint8_t> Hex(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    int high = -1;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) continue;
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high << 4 | digit));
            high = -1;
        }
    }
    return bytes;
}

}  // namespace ecc200::platform::test
