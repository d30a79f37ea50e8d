// The values one message item takes in the C40, Text, X12 and EDIFACT
// encodation schemes of ISO/IEC 16022 (5.2.5 to 5.2.8, Tables C.1 to C.3),
// the ASCII codewords of an ECI designator (5.4.1), and the two randomising
// algorithms of Annex B.
//
// Pure: reads its arguments, writes only its outputs, no globals, no I/O, no
// allocation.
#pragma once

#include <array>
#include <cstdint>

namespace ecc200 {

enum class Encodation;

// The C40 or Text values of an item, Shift and Upper Shift values included
// (1 to 4 of them); 0 when the item has none (an ECI designator).
int TripletValues(Encodation scheme, std::int32_t item, std::array<std::uint8_t, 4>& values);

// The X12 value of an item (CR * > space 0-9 A-Z), or -1.
int X12Value(std::int32_t item);

// The 6-bit EDIFACT value of an item (bytes 32 to 94), or -1.
int EdifactValue(std::int32_t item);

// Whether the scheme (C40, Text, X12, EDIFACT, Base256) holds the item.
bool SchemeHolds(Encodation scheme, std::int32_t item);

// The codewords after 241 that designate ECI `value` (1, 2 or 3 of them).
int EciCodewords(int value, std::array<std::uint8_t, 3>& codewords);

// Annex B.2: the 255-state algorithm, for Base256 codewords at the 1-based
// position `position` of the data codeword stream.
int Randomize255(int value, int position);

}  // namespace ecc200
