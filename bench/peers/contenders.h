// The four libraries as the comparison drives them. Each encodes a message
// into a square symbol of a given size with its fastest settings and hands
// out the module matrix in its own form (timed) or as a ModuleGrid
// (compared); ecc200 and zint also draw the pictures of the file jobs.
#pragma once

#include <string>
#include <string_view>

#include "module_grid.h"

struct zint_symbol;

namespace peers {

constexpr int kSquareSizeCount = 24;
int SquareSide(int sizeIndex);           // 10 for index 0 ... 144 for index 23
int SquareDataCodewords(int sizeIndex);  // 3 for index 0 ... 1558 for index 23

// One picture of a file job, as ecc200's settings describe it and as zint is
// asked to draw the same: modules of modulePixels pixels, the symbol centred
// on a width x height background.
struct Picture {
    std::string message;
    int width;
    int height;
    float moduleCentimetres;  // DMSetInfo; gives modulePixels at the portable screen's 96 dpi
    int modulePixels;
    int symbolSide;  // modules per side of ecc200's symbol
    int zintSize;  // zint's option_2: 0 for the smallest square size, else 1 to 24
};

// The message of the 144 x 144 pictures: 1558 bytes that fill the largest
// size in ASCII encodation, one codeword each, and that zint's look-ahead
// also keeps in ASCII (mixed case, single digits), so both draw the same
// modules.
std::string LargestSymbolMessage();

// The picture of `message` on width x height with ecc200's module size in
// centimetres, modulePixels worked out as ecc200 works it out.
Picture PictureWithModuleSize(std::string message, int width, int height, float moduleCentimetres, int zintSize);
// The same with modules of exactly `modulePixels` pixels.
Picture PictureWithModulePixels(std::string message, int width, int height, int modulePixels, int zintSize);

// ecc200 through the paths its exported functions take.
namespace ecc200_side {
// Encodation to the finished module matrix, as a DM call does it before
// drawing. Returns whether a symbol was built; `checksum` takes one module.
bool Encode(std::string_view message, unsigned& checksum);
// The same through the per-call interface: ecc200_encode with ASCII forced,
// the modules read, the symbol freed.
bool EncodePerCall(std::string_view message, unsigned& checksum);
ModuleGrid Matrix(std::string_view message);
// DMSetDefault followed by the setters that describe the picture.
void UsePicture(const Picture& picture);
bool SaveBmp(const char* path);  // DMSaveAsBMP
bool CopyEmf();                  // DMCopyToClipboard: records the enhanced metafile
}  // namespace ecc200_side

// zint: one symbol record reused, square sizes only, FAST_MODE.
class ZintCoder {
public:
    ZintCoder();
    ~ZintCoder();
    ZintCoder(const ZintCoder&) = delete;
    ZintCoder& operator=(const ZintCoder&) = delete;

    // sizeIndex 0 to 23 forces that size.
    bool Encode(std::string_view message, int sizeIndex, unsigned& checksum);
    ModuleGrid Matrix() const;

    // The picture's scale and whitespace; then Save encodes and writes it to
    // `path`, a BMP or an EMF after its extension.
    void UsePicture(const Picture& picture);
    bool Save(const std::string& path);

private:
    bool EncodeMessage(std::string_view message);
    zint_symbol* symbol_;
    std::string pictureMessage_;
};

// libdmtx: one encoder per symbol, as its tools use it; ASCII encodation, the
// size requested, modules of one pixel without margin.
bool LibdmtxEncode(std::string_view message, int sizeIndex, unsigned& checksum);
ModuleGrid LibdmtxMatrix(std::string_view message, int sizeIndex);

// zxing-cpp: MultiFormatWriter without quiet zone, one pixel per module. It
// takes no size or shape; messages that fill a square size exactly get it.
bool ZxingEncode(std::string_view message, unsigned& checksum);
ModuleGrid ZxingMatrix(std::string_view message);

}  // namespace peers
