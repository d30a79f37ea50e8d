// Reed-Solomon error correction of ISO/IEC 16022, 5.7 and Annex E:
// arithmetic in GF(256) over the prime polynomial 301, generator
// polynomials with the roots alpha^1 .. alpha^n, and the blocks the check
// codewords are computed in.
//
// Pure: reads its arguments, writes only its outputs, no globals, no I/O, no
// allocation. The field and generator tables are computed at compile time.
#pragma once

#include <array>
#include <cstdint>

namespace ecc200 {

constexpr int kFieldPolynomial = 0x12D;  // 301: x^8 + x^5 + x^3 + x^2 + 1

// No size interleaves more than 10 blocks or puts more than 243 codewords
// (175 data + 68 check, 120 x 120) into one block.
constexpr int kMaxBlocks = 10;
constexpr int kMaxBlockLength = 300;

struct BlockBuffers {
    // Every entry 0.
    BlockBuffers() : blocks{} {}
    // For a caller that reads only the entries it has written (the blocks'
    // data, then their check codewords): 6 KB not zeroed per symbol.
    struct Unfilled {};
    explicit BlockBuffers(Unfilled) {}

    std::array<std::array<std::uint16_t, kMaxBlockLength>, kMaxBlocks> blocks;
};

struct GaloisTables {
    std::array<std::uint16_t, 256> antilog{};  // antilog[i] = alpha^i; antilog[255] = 0, never read
    std::array<std::uint16_t, 256> log{};      // log[alpha^i] = i; log[0] = 0, never read
};

constexpr GaloisTables MakeGaloisTables() {
    GaloisTables t;
    int value = 1;
    for (int i = 0; i < 255; ++i) {
        t.antilog[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(value);
        t.log[static_cast<std::size_t>(value)] = static_cast<std::uint16_t>(i);
        value <<= 1;
        if (value >= 256) value ^= kFieldPolynomial;
    }
    return t;
}

inline constexpr GaloisTables kGalois = MakeGaloisTables();

constexpr std::uint16_t GfMultiply(int a, int b) {
    if (a == 0 || b == 0) return 0;
    int s = kGalois.log[static_cast<std::size_t>(a)] + kGalois.log[static_cast<std::size_t>(b)];
    if (s >= 255) s -= 255;
    return kGalois.antilog[static_cast<std::size_t>(s)];
}

// The check-codeword counts per block of every size, ascending: the square
// sizes' 5, 7, 10, 12, 14, 18, 20, 24, 28, 36, 42, 48, 56, 62, 68 (ISO/IEC
// 16022 Table 7), the rectangles' 11, and the DMRE sizes' 15, 22, 27, 32,
// 34, 38, 41, 46, 50 (ISO/IEC 21471 Table 7).
inline constexpr std::array<int, 25> kCheckCodewordCounts = {5,  7,  10, 11, 12, 14, 15, 18, 20, 22, 24, 27, 28,
                                                             32, 34, 36, 38, 41, 42, 46, 48, 50, 56, 62, 68};
constexpr int kMaxCheckCodewords = 68;

// Coefficients of g_n(x) = (x + alpha^1)(x + alpha^2)...(x + alpha^n), highest
// power below x^n first, the constant term last; the leading 1 is implied.
struct GeneratorPolynomial {
    int degree = 0;
    std::array<std::uint16_t, kMaxCheckCodewords> coefficients{};
};

constexpr GeneratorPolynomial ComputeGenerator(int degree) {
    // poly[i] is the coefficient of x^i; multiply in one root at a time.
    std::array<std::uint16_t, kMaxCheckCodewords + 1> poly{};
    poly[0] = 1;
    for (int root = 1; root <= degree; ++root) {
        const int alpha = kGalois.antilog[static_cast<std::size_t>(root)];
        for (int i = root; i >= 1; --i) {
            poly[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(
                poly[static_cast<std::size_t>(i - 1)] ^ GfMultiply(poly[static_cast<std::size_t>(i)], alpha));
        }
        poly[0] = GfMultiply(poly[0], alpha);
    }
    GeneratorPolynomial g;
    g.degree = degree;
    for (int j = 0; j < degree; ++j) {
        g.coefficients[static_cast<std::size_t>(j)] = poly[static_cast<std::size_t>(degree - 1 - j)];
    }
    return g;
}

constexpr std::array<GeneratorPolynomial, kCheckCodewordCounts.size()> MakeGenerators() {
    std::array<GeneratorPolynomial, kCheckCodewordCounts.size()> generators{};
    for (std::size_t i = 0; i < kCheckCodewordCounts.size(); ++i) generators[i] = ComputeGenerator(kCheckCodewordCounts[i]);
    return generators;
}

inline constexpr std::array<GeneratorPolynomial, kCheckCodewordCounts.size()> kGenerators = MakeGenerators();

}  // namespace ecc200
