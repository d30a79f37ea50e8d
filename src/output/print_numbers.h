// Numbers as PDF and PostScript write them: plain decimals without an
// exponent, with a point whatever the locale, and no trailing zeros.
#pragma once

#include <cstdint>
#include <string>

namespace ecc200 {

// Digits after the point: a millionth of a unit, far below what any
// renderer resolves, and few enough that the scaled value fits 64 bits for
// every coordinate a print page can have.
constexpr int kPrintDecimals = 6;

void AppendInteger(std::string& out, std::int64_t value);
// Writes the digits of a value 0 or more at `at`; returns the end.
char* WriteDigits(char* at, std::uint32_t value);

// `value` rounded to kPrintDecimals places, trailing zeros (and a bare
// point) dropped. Finite values within +-9e12 only (PrintNumberFits).
void AppendReal(std::string& out, double value);
bool PrintNumberFits(double value);

// A colour component 0 to 255 as a fraction of 1: four places bring every
// component back exactly (255 x 0.00005 is below half a step).
void AppendComponent(std::string& out, std::uint32_t component);

}  // namespace ecc200
