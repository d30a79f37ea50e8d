// Third-party Data Matrix readers on picture files, and messages that fill
// a symbol size exactly.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace ecc200::test {

// What zxing-cpp's ZXingReader decodes from the image, as raw bytes ("" when
// it finds no Data Matrix symbol).
std::string ZxingRead(const std::string& imagePath);

// What libdmtx's dmtxread decodes, told the symbol's side.
std::string DmtxRead(const std::string& imagePath, int side);

// What ZXingReader reports for one picture of a batch.
struct ZxingReport {
    std::string bytes;       // the content's bytes (ECI designators resolved away)
    std::string identifier;  // the symbology identifier, "]d1", "]d2" (GS1), ...
    bool hasEci = false;
};

// Reads many pictures in one ZXingReader run; a picture without a readable
// symbol has no entry.
std::map<std::string, ZxingReport> ZxingReadAll(const std::vector<std::string>& imagePaths);

// dmtxread on a symbol of rows x cols modules, error correction disabled, so
// that a wrong check codeword is a failure rather than a corrected error.
std::string DmtxReadExact(const std::string& imagePath, int rows, int cols);

// A message that needs exactly `codewords` codewords of ASCII encodation, in
// one of three kinds: letters (one codeword each), digit pairs (one per
// pair, where the message stays within 1999 bytes) or bytes above 127 (two
// codewords each).
std::string ExactFill(int codewords, int kind);

}  // namespace ecc200::test
