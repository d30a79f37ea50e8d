// The pixels of a picture as the library lays it out: the module's edge in
// whole pixels at the picture's resolution, the picture's size, and the
// lines that tell the user about them (a module drawn smaller than asked, a
// size that cuts the symbol, a picture too large for its format).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <ecc200.hpp>

namespace ecc200::tool {

struct ModuleMeasure {
    int pixels;  // the module's edge
    int dpi;     // the resolution the picture is laid out for
};

// The module and resolution the library draws `picture` with in `format`
// (its module_cm or module_px, its dpi or the screen's), from the library's
// layout of the smallest symbol fitted without quiet zone or turn: the
// module does not depend on the symbol. Throws the library's Error when it
// refuses the module itself (under one pixel); nothing when that picture
// cannot be laid out for another reason, which drawing will then name.
std::optional<ModuleMeasure> MeasureModule(const Picture& picture, Format format);

struct PixelSize {
    std::int64_t width;
    std::int64_t height;
};

// The picture's size: --size, else the symbol (turned) and its quiet zone.
PixelSize PictureSizeOf(const Symbol& symbol, const Picture& picture, int modulePixels);

// "a 500 x 300 picture", as failures name it.
std::string PictureText(PixelSize size);

// Why the symbol cannot be drawn at this size, naming the size that fits.
std::string CroppedProblem(const Symbol& symbol, const Picture& picture, int modulePixels);

// The module drawn is more than 10 % below the centimetres asked (whole
// pixels at the resolution): the warning line; else nothing.
std::optional<std::string> ModuleShrunk(const Picture& picture, const ModuleMeasure& module);

}  // namespace ecc200::tool
