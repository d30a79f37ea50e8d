#include "output/svg_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <new>
#include <string_view>
#include <tuple>
#include <vector>

#include "encoder/module_matrix.h"
#include "render/human_readable_band.h"
#include "render/picture_geometry.h"

namespace ecc200 {
namespace {

constexpr std::uint32_t kPenColour = 0x000000;  // the frame's default pen: solid black
// Coordinates are written to four decimal places: a ten-thousandth of a
// pixel, far below what any renderer resolves.
constexpr double kCoordinateScale = 10000;
constexpr int kCoordinateDecimals = 4;
constexpr std::int64_t kMillionthsPerMillimetre = 1000000;
constexpr std::int64_t kMillionthsPerInch = 25400000;  // of a millimetre
constexpr std::int64_t kMillionthsPerThousandthOfAnInch = 25400;

// A coordinate to four decimal places with no trailing zeros, written with
// integers so that no locale changes the decimal point.
void AppendNumber(std::string& out, double value) {
    const long long scaled = std::llround(value * kCoordinateScale);
    const auto magnitude = static_cast<unsigned long long>(scaled < 0 ? -scaled : scaled);
    if (scaled < 0) out += '-';
    out += std::to_string(magnitude / static_cast<unsigned long long>(kCoordinateScale));
    unsigned long long fraction = magnitude % static_cast<unsigned long long>(kCoordinateScale);
    if (fraction == 0) return;
    char digits[kCoordinateDecimals + 1];
    std::snprintf(digits, sizeof digits, "%0*llu", kCoordinateDecimals, fraction);
    std::string_view text(digits, kCoordinateDecimals);
    out += '.';
    out += text.substr(0, text.find_last_not_of('0') + 1);
}

// One rectangle of a path: M left top, H right, V bottom, H left, closed.
void AppendRect(std::string& out, double left, double top, double right, double bottom) {
    out += 'M';
    AppendNumber(out, left);
    out += ' ';
    AppendNumber(out, top);
    out += 'H';
    AppendNumber(out, right);
    out += 'V';
    AppendNumber(out, bottom);
    out += 'H';
    AppendNumber(out, left);
    out += 'z';
}

void AppendColour(std::string& out, std::uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(colour & 0xFF),
                  static_cast<unsigned>(colour >> 8 & 0xFF), static_cast<unsigned>(colour >> 16 & 0xFF));
    out += text;
}

// A filled path, explicitly without a stroke: a renderer that outlines
// paths unless told otherwise (ImageMagick's own) would add a pixel.
void BeginPath(std::string& out, std::uint32_t colour) {
    out += "<path fill=\"";
    AppendColour(out, colour);
    out += "\" stroke=\"none\" d=\"";
}

// The dark modules, each grid row's runs of dark cells as one rectangle.
void AppendModulePath(std::string& out, const PictureGeometry& picture) {
    if (picture.exactModulePixels <= 0) return;
    BeginPath(out, picture.barColour);
    for (const ExactRect& run : picture.ExactModuleRuns()) AppendRect(out, run.left, run.top, run.right, run.bottom);
    out += "\"/>\n";
}

// Joins rectangles of the same rows that touch or overlap side by side.
std::vector<PixelRect> MergedRuns(std::vector<PixelRect>& rects) {
    std::sort(rects.begin(), rects.end(), [](const PixelRect& a, const PixelRect& b) {
        return std::tie(a.top, a.bottom, a.left) < std::tie(b.top, b.bottom, b.left);
    });
    std::vector<PixelRect> runs;
    for (const PixelRect& rect : rects) {
        if (!runs.empty() && runs.back().top == rect.top && runs.back().bottom == rect.bottom && rect.left <= runs.back().right) {
            runs.back().right = std::max(runs.back().right, rect.right);
        } else {
            runs.push_back(rect);
        }
    }
    return runs;
}

// The frame's pen lines as the pixels each paints within the picture (one
// pixel wide, end point excluded, as LineTo draws them), merged. A picture
// of exact modules has sides of fractions of a pixel: the frame's pixels
// are stretched onto them, as the print pages draw it, so that the frame
// ends on the picture's edges instead of past them, where the viewport
// would cut its right and bottom lines away.
void AppendFramePath(std::string& out, const PictureGeometry& picture) {
    if (picture.border == BorderStyle::None) return;
    std::vector<PixelRect> painted = picture.FrameRects();
    const double sx = picture.ExactWidth() / picture.width;
    const double sy = picture.ExactHeight() / picture.height;
    BeginPath(out, kPenColour);
    for (const PixelRect& run : MergedRuns(painted)) {
        AppendRect(out, (run.left - picture.originX) * sx, (run.top - picture.originY) * sy,
                   (run.right - picture.originX) * sx, (run.bottom - picture.originY) * sy);
    }
    out += "\"/>\n";
}

// The background reaches one pixel past the picture on every side; the
// root element's viewport clips it. LibreOffice sizes a drawing that stays
// inside its viewport by a hairline outline of the viewport, whose extent
// has half a pixel more on each side (a 126-pixel picture at 96 dpi came
// out 33.60 mm instead of 33.34 mm); a drawing that reaches past the
// viewport it clips and sizes by the viewport itself.
void AppendBackgroundPath(std::string& out, const PictureGeometry& picture) {
    BeginPath(out, picture.backgroundColour);
    AppendRect(out, -1, -1, picture.width + 1.0, picture.height + 1.0);
    out += "\"/>\n";
}

// Millimetres to six places for a thousandth of a pixel less than the
// picture: renderers that round the size up to whole pixels (librsvg, in
// single precision) then get exactly the picture's pixels, and so do those
// that round to the nearest.
void AppendMillimetres(std::string& out, double pixels, std::int32_t dotsPerInch) {
    // A thousandth of a pixel is a thousandth of an inch over dotsPerInch.
    // A picture of exact modules has its exact sides (in double precision,
    // far finer than a millionth of a millimetre).
    const std::int64_t millionths =
        pixels == std::floor(pixels)
            ? (static_cast<std::int64_t>(pixels) * kMillionthsPerInch - kMillionthsPerThousandthOfAnInch) / dotsPerInch
            : static_cast<std::int64_t>((pixels * static_cast<double>(kMillionthsPerInch) -
                                         static_cast<double>(kMillionthsPerThousandthOfAnInch)) / dotsPerInch);
    char text[48];
    std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(millionths / kMillionthsPerMillimetre),
                  static_cast<long long>(millionths % kMillionthsPerMillimetre));
    std::string value = text;
    value.erase(value.find_last_not_of('0') + 1);
    if (value.back() == '.') value.pop_back();
    out += value;
    out += "mm";
}

void AppendSvgElement(std::string& out, const PictureGeometry& picture) {
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
    AppendMillimetres(out, picture.ExactWidth(), picture.dotsPerInch);
    out += "\" height=\"";
    AppendMillimetres(out, picture.ExactHeight(), picture.dotsPerInch);
    out += "\" viewBox=\"0 0 ";
    AppendNumber(out, picture.ExactWidth());
    out += ' ';
    AppendNumber(out, picture.ExactHeight());
    out += "\" shape-rendering=\"crispEdges\">\n";
}

// The human-readable line, centred in its band in a monospace font (the
// band is sized for Courier's 0.6 em glyphs); XML's special characters
// escaped, its spaces kept.
void AppendText(std::string& out, const PictureGeometry& picture) {
    if (picture.text.empty()) return;
    const double em = picture.textBand;
    out += "<text x=\"";
    AppendNumber(out, picture.ExactWidth() / 2);
    out += "\" y=\"";
    AppendNumber(out, picture.ExactHeight() - em + kHriBaselineEm * em);
    out += "\" font-family=\"Courier, monospace\" font-size=\"";
    AppendNumber(out, em);
    out += "\" text-anchor=\"middle\" xml:space=\"preserve\" fill=\"";
    AppendColour(out, picture.barColour);
    out += "\">";
    for (const char c : picture.text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c;
        }
    }
    out += "</text>\n";
}

// The module size within ModulePixels' clamp (the symbol's extent plus the
// picture within 32 bits), so that every coordinate and CentreSymbol's
// offsets fit; NaN fails every comparison.
bool Representable(const PictureGeometry& picture) {
    const double extent = std::max(picture.width, picture.height);
    const double most = (std::numeric_limits<std::int32_t>::max() - extent) /
                        (std::max(picture.symbol->rows(), picture.symbol->cols()) + 1);
    const double p = picture.exactModulePixels;
    return picture.width >= 1 && picture.height >= 1 && picture.dotsPerInch >= 1 && picture.orientation >= 0 &&
           picture.orientation <= 3 && p >= 0 && p <= most;
}

}  // namespace

Outcome AppendSvgFile(std::string& out, const PictureGeometry& picture) {
    if (!Representable(picture)) return Failed(Failure::PictureTooLarge);
    const std::size_t originalSize = out.size();
    try {
        out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        AppendSvgElement(out, picture);
        AppendBackgroundPath(out, picture);
        AppendModulePath(out, picture);
        AppendFramePath(out, picture);
        AppendText(out, picture);
        out += "</svg>\n";
        return {};
    } catch (const std::bad_alloc&) {
        out.resize(originalSize);
        return Failed(Failure::OutOfMemory);
    }
}

}  // namespace ecc200
