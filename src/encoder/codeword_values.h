// The codeword values of ISO/IEC 16022 5.2 and 5.6 that the encoder writes
// besides plain ASCII data: digit pairs, Upper Shift, pads, latches,
// function characters and their parameters.
#pragma once

#include <cstdint>

namespace ecc200 {

constexpr int kPadCodeword = 129;          // 5.2.3.3
constexpr int kDigitPairBase = 130;        // 5.2.3.1: the codeword of the pair "00"
constexpr int kLatchC40 = 230;             // 5.2.5
constexpr int kLatchBase256 = 231;         // 5.2.9
constexpr int kFnc1 = 232;                 // 5.6.3 (GS1 in first position), separator elsewhere
constexpr int kStructuredAppend = 233;     // 5.6.4
constexpr int kReaderProgramming = 234;    // 5.6.5
constexpr int kUpperShift = 235;           // 5.2.3.2: the next byte less 128
constexpr int kMacro05 = 236;              // 5.6.6: "[)>" RS "05" GS ... RS EOT
constexpr int kMacro06 = 237;              //        "[)>" RS "06" GS ... RS EOT
constexpr int kLatchX12 = 238;             // 5.2.7
constexpr int kLatchText = 239;            // 5.2.6
constexpr int kLatchEdifact = 240;         // 5.2.8
constexpr int kEciDesignator = 241;        // 5.4
constexpr int kUnlatch = 254;              // C40, Text and X12 back to ASCII
constexpr int kEdifactUnlatch = 31;        // the EDIFACT value 011111 back to ASCII
constexpr int kShift1 = 0;                 // C40/Text value of Shift 1, also the end-of-data pad
constexpr int kShift2 = 1;
constexpr int kShift3 = 2;
constexpr int kShift2Fnc1 = 27;            // FNC1 in the Shift 2 set
constexpr int kShift2UpperShift = 30;      // Upper Shift in the Shift 2 set

// The message as the encodation search sees it: bytes 0 to 255, FNC1 as a
// separator of GS1 element strings, and ECI designators between segments.
constexpr std::int32_t kFnc1Item = 256;
constexpr std::int32_t kEciItemBase = 1 << 20;  // an ECI designator item is kEciItemBase + its value
constexpr bool IsByteItem(std::int32_t item) { return item >= 0 && item < 256; }
constexpr bool IsEciItem(std::int32_t item) { return item >= kEciItemBase; }
constexpr int EciValueOf(std::int32_t item) { return item - kEciItemBase; }

}  // namespace ecc200
