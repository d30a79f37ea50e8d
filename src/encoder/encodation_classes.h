// What each message byte costs in each encodation scheme, one table entry
// per byte, so that the encodation search looks a byte up once instead of
// working its values out per scheme (ISO/IEC 16022 5.2.3 to 5.2.8, Tables
// C.1 to C.3):
//   - C40 and Text: the number of values, 1 for the basic set (space,
//     digits, and upper-case letters in C40, lower-case in Text), 2 for a
//     Shift 1, 2 or 3 value pair, and 2 more for an Upper Shift (bytes above
//     127);
//   - X12: whether the byte is one of CR * > space 0-9 A-Z;
//   - EDIFACT: whether the byte is one of 32 to 94;
//   - ASCII: 2 codewords for a byte above 127 (Upper Shift), else 1; a digit
//     may pair with the next (5.2.3).
// The table is built at compile time from these sets; the tests check it
// against TripletValues, X12Value and EdifactValue of encodation_values.h.
#pragma once

#include <array>
#include <cstdint>

namespace ecc200 {

struct ByteClasses {
    std::uint8_t c40Values;
    std::uint8_t textValues;
    bool x12;
    bool edifact;
    bool digit;
    std::uint8_t asciiCodewords;
};

namespace byte_classes_detail {

constexpr bool IsDigit(int b) { return b >= '0' && b <= '9'; }
constexpr bool InBasicSet(int b, char firstLetter) { return b == ' ' || IsDigit(b) || (b >= firstLetter && b < firstLetter + 26); }
// Values of a byte in a triplet scheme whose basic set has these letters.
constexpr int TripletValueCount(int b, char firstLetter) {
    const int low = b & 0x7F;
    return (b >= 128 ? 2 : 0) + (InBasicSet(low, firstLetter) ? 1 : 2);
}

constexpr std::array<ByteClasses, 256> MakeByteClasses() {
    std::array<ByteClasses, 256> table{};
    for (int b = 0; b < 256; ++b) {
        ByteClasses& c = table[static_cast<std::size_t>(b)];
        c.c40Values = static_cast<std::uint8_t>(TripletValueCount(b, 'A'));
        c.textValues = static_cast<std::uint8_t>(TripletValueCount(b, 'a'));
        c.x12 = b == '\r' || b == '*' || b == '>' || InBasicSet(b, 'A');
        c.edifact = b >= 32 && b <= 94;
        c.digit = IsDigit(b);
        c.asciiCodewords = static_cast<std::uint8_t>(b >= 128 ? 2 : 1);
    }
    return table;
}

}  // namespace byte_classes_detail

inline constexpr std::array<ByteClasses, 256> kByteClasses = byte_classes_detail::MakeByteClasses();

}  // namespace ecc200
