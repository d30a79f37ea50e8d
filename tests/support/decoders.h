// Third-party Data Matrix readers on picture files, and messages that fill
// a symbol size exactly.
#pragma once

#include <string>

namespace ecc200::test {

// What zxing-cpp's ZXingReader decodes from the image, as raw bytes ("" when
// it finds no Data Matrix symbol).
std::string ZxingRead(const std::string& imagePath);

// What libdmtx's dmtxread decodes, told the symbol's side.
std::string DmtxRead(const std::string& imagePath, int side);

// A message that needs exactly `codewords` codewords of ASCII encodation, in
// one of three kinds: letters (one codeword each), digit pairs (one per
// pair, where the message stays within 1999 bytes) or bytes above 127 (two
// codewords each).
std::string ExactFill(int codewords, int kind);

}  // namespace ecc200::test
