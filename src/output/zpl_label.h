// ZPL II labels for thermal label printers: the one-bit pixels the BMP
// output draws, each dark pixel one printed dot, as a ^GFA graphic field
// whose byte counts are exact (total = bytes per row x rows, and the data
// holds exactly that many bytes). The printer's own ^BX is not used: its
// escapes, FNC1 and encodations differ from firmware to firmware, while a
// graphic of the symbol we encoded prints the same on every printer.
//
// A whole label (one line, ending in a line feed, so that labels can be
// sent one after the other in one job):
//   ^XA^PW<width>^LL<height>^FO0,0^GFA,<total>,<total>,<row bytes>,<data>^FS^XZ
// The graphic field alone, for a label format of the user's own:
//   ^FO0,0^GFA,<total>,<total>,<row bytes>,<data>^FS
// <data> is ASCII hex, two digits a byte, rows top to bottom, the leftmost
// dot in a byte's highest bit, 1 printed; or, in the Z64 form,
// :Z64:<base64 of the zlib stream of those bytes>:<CRC>, the CRC being
// CRC-16/CCITT (polynomial 0x1021, initial value 0) over the base64 text,
// in four hex digits.
#pragma once

#include <cstdint>
#include <vector>

#include "common/failure.h"
#include "output/png_file.h"

namespace ecc200 {

// ZPL's limits (ZPL II, ^GF, ^LL, ^PW and ^FO).
constexpr std::uint32_t kZplMostFieldBytes = 99999;  // ^GF's binary byte count and graphic field count
constexpr std::int32_t kZplMostDots = 32000;         // ^LL's length, ^FO's coordinates; ^PW no wider
constexpr std::int32_t kZplLeastWidth = 2;           // ^PW's smallest width

struct ZplForm {
    bool z64 = false;        // the field's data as :Z64: instead of ASCII hex
    bool fieldOnly = false;  // ^FO..^FS alone, without ^XA, ^PW, ^LL and ^XZ
};

// What a label is built in, kept between labels so that a warm Z64 label
// allocates nothing: zlib's deflate stream (its `filtered` buffer holds the
// field's bytes on their way to deflate) and the zlib stream itself.
struct ZplScratch {
    PngDeflater deflater;
    std::vector<std::uint8_t> deflated;
};

// Whether a width x height picture fits ZPL's fields in this form: ^GF's
// byte counts (bytes per row x rows at most kZplMostFieldBytes) and, for a
// whole label, ^PW and ^LL (kZplLeastWidth to kZplMostDots wide, at most
// kZplMostDots long). PictureTooLarge naming the limit passed (a side below
// 1: InvalidArgument).
Outcome CheckZplExtent(std::int32_t width, std::int32_t height, const ZplForm& form);

// Appends the label of `rows` to `out`. The rows are the BMP output's
// (see MonochromeRows) drawn in black on white: bit 0, black, is a printed
// dot. On failure `out` keeps its size and contents: CheckZplExtent's
// refusals; InvalidArgument for rows that do not match their width and
// height; OutOfMemory when the output or zlib's state cannot be had.
Outcome AppendZplLabel(std::vector<std::uint8_t>& out, const MonochromeRows& rows, const ZplForm& form,
                       ZplScratch& scratch);

}  // namespace ecc200
