#include "encoder/encodation_values.h"

#include "encoder/codeword_values.h"
#include "encoder/encode_segments.h"

namespace ecc200 {
namespace {

// Basic set of C40 (upper case) and Text (lower case), Table C.1 and C.2:
// space 3, digits 4 to 13, letters 14 to 39.
int BasicValue(int byte, char firstLetter) {
    if (byte == ' ') return 3;
    if (byte >= '0' && byte <= '9') return byte - '0' + 4;
    if (byte >= firstLetter && byte < firstLetter + 26) return byte - firstLetter + 14;
    return -1;
}

// Shift 2 set: the punctuation of ASCII 33-47, 58-64 and 91-95.
int Shift2Value(int byte) {
    if (byte >= 33 && byte <= 47) return byte - 33;
    if (byte >= 58 && byte <= 64) return byte - 58 + 15;
    if (byte >= 91 && byte <= 95) return byte - 91 + 22;
    return -1;
}

// Values of one byte below 128.
int LowByteValues(Encodation scheme, int byte, std::uint8_t* values) {
    const char basicLetter = scheme == Encodation::C40 ? 'A' : 'a';
    const char shift3Letter = scheme == Encodation::C40 ? 'a' : 'A';
    const int basic = BasicValue(byte, basicLetter);
    if (basic >= 0) {
        values[0] = static_cast<std::uint8_t>(basic);
        return 1;
    }
    values[0] = kShift1;
    values[1] = static_cast<std::uint8_t>(byte);
    if (byte < 32) return 2;
    values[0] = kShift2;
    values[1] = static_cast<std::uint8_t>(Shift2Value(byte));
    if (Shift2Value(byte) >= 0) return 2;
    // Shift 3: ` then the other case's letters, then { | } ~ DEL.
    values[0] = kShift3;
    if (byte == 96) values[1] = 0;
    else if (byte >= shift3Letter && byte < shift3Letter + 26) values[1] = static_cast<std::uint8_t>(byte - shift3Letter + 1);
    else values[1] = static_cast<std::uint8_t>(byte - 123 + 27);
    return 2;
}

}  // namespace

int TripletValues(Encodation scheme, std::int32_t item, std::array<std::uint8_t, 4>& values) {
    if (item == kFnc1Item) {
        values[0] = kShift2;
        values[1] = kShift2Fnc1;
        return 2;
    }
    if (!IsByteItem(item)) return 0;
    if (item < 128) return LowByteValues(scheme, item, values.data());
    // Upper Shift, then the values of the byte less 128 (5.2.5.1).
    values[0] = kShift2;
    values[1] = kShift2UpperShift;
    return 2 + LowByteValues(scheme, item - 128, values.data() + 2);
}

int X12Value(std::int32_t item) {
    if (item == '\r') return 0;
    if (item == '*') return 1;
    if (item == '>') return 2;
    return IsByteItem(item) ? BasicValue(item, 'A') : -1;
}

int EdifactValue(std::int32_t item) { return item >= 32 && item <= 94 ? item & 0x3F : -1; }

bool SchemeHolds(Encodation scheme, std::int32_t item) {
    switch (scheme) {
        case Encodation::X12: return X12Value(item) >= 0;
        case Encodation::Edifact: return EdifactValue(item) >= 0;
        case Encodation::Base256: return IsByteItem(item);
        case Encodation::C40:
        case Encodation::Text: return IsByteItem(item) || item == kFnc1Item;
        default: return true;
    }
}

int EciCodewords(int value, std::array<std::uint8_t, 3>& codewords) {
    // 5.4.1: 0-126 in one codeword, 127-16382 in two, 16383-999999 in three.
    if (value <= 126) {
        codewords[0] = static_cast<std::uint8_t>(value + 1);
        return 1;
    }
    if (value <= 16382) {
        codewords[0] = static_cast<std::uint8_t>((value - 127) / 254 + 128);
        codewords[1] = static_cast<std::uint8_t>((value - 127) % 254 + 1);
        return 2;
    }
    codewords[0] = static_cast<std::uint8_t>((value - 16383) / 64516 + 192);
    codewords[1] = static_cast<std::uint8_t>((value - 16383) / 254 % 254 + 1);
    codewords[2] = static_cast<std::uint8_t>((value - 16383) % 254 + 1);
    return 3;
}

int Randomize255(int value, int position) {
    const int pseudoRandom = ((149 * position) % 255) + 1;
    const int randomised = value + pseudoRandom;
    return randomised <= 255 ? randomised : randomised - 256;
}

}  // namespace ecc200
