// A strict reader of the ZPL labels the library writes: the exact command
// sequence, every byte count checked against the data (an off-by-one count
// is refused, as some printers refuse it), the Z64 form's CRC checked and
// its zlib stream inflated to exactly the field's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ecc200::test {

struct ZplGraphic {
    std::string error;        // empty when the label is well formed; else what is wrong
    bool wholeLabel = false;  // ^XA..^XZ, or the graphic field alone
    bool z64 = false;
    std::int32_t labelWidth = 0;   // ^PW (whole labels)
    std::int32_t labelLength = 0;  // ^LL (whole labels)
    std::size_t rowBytes = 0;      // ^GF's bytes per row
    std::size_t rows = 0;          // graphic field count / bytes per row
    std::vector<std::uint8_t> bytes;  // the field's bytes, rows top to bottom, 1 printed

    // Whether the dot at (x, y) is printed.
    bool printed(std::size_t x, std::size_t y) const { return (bytes[y * rowBytes + x / 8] >> (7 - x % 8) & 1) != 0; }
};

// One label, exactly as ^XA^PW..^LL..^FO0,0^GFA,b,c,d,data^FS^XZ or
// ^FO0,0^GFA,b,c,d,data^FS, followed by one line feed.
ZplGraphic ReadStrictZpl(std::string_view label);

// A stream of labels, one a line.
std::vector<ZplGraphic> ReadStrictZplLines(std::string_view stream);

}  // namespace ecc200::test
