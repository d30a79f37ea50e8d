#include "output/print_numbers.h"

#include <cassert>
#include <cmath>

namespace ecc200 {
namespace {

constexpr std::int64_t kScale = 1000000;  // 10^kPrintDecimals
constexpr double kLargest = 9e12;          // kLargest x kScale stays below 2^63
constexpr std::int64_t kComponentSteps = 255;
constexpr std::int64_t kComponentScale = 10000;

// The `decimals` digits of `fraction` (below 10^decimals) without trailing zeros.
void AppendFraction(std::string& out, std::int64_t fraction, int decimals) {
    if (fraction == 0) return;
    char digits[kPrintDecimals];
    for (int i = decimals - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    int length = decimals;
    while (digits[length - 1] == '0') --length;
    out += '.';
    out.append(digits, static_cast<std::size_t>(length));
}

}  // namespace

char* WriteDigits(char* at, std::uint32_t value) {
    char reversed[10];
    int length = 0;
    do {
        reversed[length++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (length > 0) *at++ = reversed[--length];
    return at;
}

void AppendInteger(std::string& out, std::int64_t value) {
    char digits[20];
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    int length = 0;
    do {
        digits[length++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) out += '-';
    while (length > 0) out += digits[--length];
}

bool PrintNumberFits(double value) {
    return std::isfinite(value) && std::fabs(value) <= kLargest;
}

void AppendReal(std::string& out, double value) {
    assert(PrintNumberFits(value));
    const std::int64_t scaled = std::llround(value * static_cast<double>(kScale));
    const std::int64_t magnitude = scaled < 0 ? -scaled : scaled;
    if (scaled < 0) out += '-';
    AppendInteger(out, magnitude / kScale);
    AppendFraction(out, magnitude % kScale, kPrintDecimals);
}

void AppendComponent(std::string& out, std::uint32_t component) {
    assert(component <= kComponentSteps);
    const std::int64_t scaled = (component * kComponentScale * 2 + kComponentSteps) / (2 * kComponentSteps);
    AppendInteger(out, scaled / kComponentScale);
    AppendFraction(out, scaled % kComponentScale, 4);
}

}  // namespace ecc200
