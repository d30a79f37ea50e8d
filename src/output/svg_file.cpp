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
#include "platform/drawing_surface.h"
#include "render/border.h"
#include "render/layout.h"

namespace ecc200 {
namespace {

using platform::PixelRect;

constexpr std::uint32_t kPenColour = 0x000000;  // the frame's default pen: solid black
// Coordinates are written to four decimal places: a ten-thousandth of a
// pixel, far below what any renderer resolves.
constexpr double kCoordinateScale = 10000;
constexpr int kCoordinateDecimals = 4;
constexpr std::int64_t kMillionthsPerMillimetre = 1000000;
constexpr std::int64_t kMillionthsPerInch = 25400000;  // of a millimetre
constexpr std::int64_t kMillionthsPerThousandthOfAnInch = 25400;

// Where the symbol's modules lie as the picture shows them: a grid of
// gridRows x gridCols cells of edge p from (x, y), the symbol turned.
struct ModuleGrid {
    double x;
    double y;
    double p;
    int gridRows;
    int gridCols;
};

// The grid of DrawSymbol's ModuleRect in each orientation. Horizontal and
// vertical free space as CentreSymbol divides it: rounded toward zero for
// whole pixels (so the picture is the bitmap's), exactly halved otherwise.
// Turns 1 and 2 measure from the far edge, as DrawSymbol does.
ModuleGrid GridOf(const SymbolMatrix& symbol, const SvgPicture& picture) {
    const double p = picture.modulePixels;
    const bool quarterTurn = picture.orientation == 1 || picture.orientation == 3;
    const int across = quarterTurn ? symbol.rows() : symbol.cols();
    const int down = quarterTurn ? symbol.cols() : symbol.rows();
    double oh = (picture.width - p * across) / 2;
    double ov = (picture.height - p * down) / 2;
    if (p == std::floor(p)) {
        const SymbolLayout layout = CentreSymbol(static_cast<std::int32_t>(p), picture.width, picture.height,
                                                 symbol.rows(), symbol.cols(), picture.orientation);
        oh = layout.horizontalOffset;
        ov = layout.verticalOffset;
    }
    ModuleGrid grid{oh, ov, p, down, across};
    if (picture.orientation == 1) grid.y = picture.height - ov - p * down;
    if (picture.orientation == 2) grid.x = picture.width - oh - p * across;
    return grid;
}

// The symbol's module shown in grid cell (i, j), turned counter-clockwise
// `orientation` quarter turns.
bool GridCellDark(const SymbolMatrix& symbol, int orientation, int i, int j) {
    switch (orientation) {
        case 1: return symbol.isDark(j, symbol.cols() - 1 - i);
        case 2: return symbol.isDark(symbol.rows() - 1 - i, symbol.cols() - 1 - j);
        case 3: return symbol.isDark(symbol.rows() - 1 - j, i);
        default: return symbol.isDark(i, j);
    }
}

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
void AppendModulePath(std::string& out, const SymbolMatrix& symbol, const SvgPicture& picture) {
    if (picture.modulePixels <= 0) return;
    const ModuleGrid grid = GridOf(symbol, picture);
    BeginPath(out, picture.barColour);
    for (int i = 0; i < grid.gridRows; ++i) {
        const double top = grid.y + grid.p * i;
        for (int j = 0; j < grid.gridCols;) {
            if (!GridCellDark(symbol, picture.orientation, i, j)) {
                ++j;
                continue;
            }
            const int runStart = j;
            while (j < grid.gridCols && GridCellDark(symbol, picture.orientation, i, j)) ++j;
            AppendRect(out, grid.x + grid.p * runStart, top, grid.x + grid.p * j, top + grid.p);
        }
    }
    out += "\"/>\n";
}

// Records the frame's pen lines (one pixel wide, end point excluded, as
// LineTo draws them) as rectangles of pixels. DrawBorder draws only lines.
class PenLineRecorder : public platform::DeviceContext {
public:
    platform::Brush CreateSolidBrush(platform::ColourRef) override { return {}; }
    void DeleteBrush(platform::Brush) override {}
    void FillRect(const PixelRect&, platform::Brush) override {}
    void MoveToEx(std::int32_t x, std::int32_t y) override {
        x_ = x;
        y_ = y;
    }
    void LineTo(std::int32_t x, std::int32_t y) override {
        if (y == y_ && x != x_) Add(x > x_ ? PixelRect{x_, y, x, y + 1} : PixelRect{x + 1, y, x_ + 1, y + 1});
        if (x == x_ && y != y_) Add(y > y_ ? PixelRect{x, y_, x + 1, y} : PixelRect{x, y + 1, x + 1, y_ + 1});
        x_ = x;
        y_ = y;
    }
    void SetMapModeText() override {}
    void SetWindowExtEx(std::int32_t, std::int32_t) override {}
    void SetWindowOrgEx(std::int32_t, std::int32_t) override {}

    std::vector<PixelRect>& rects() { return rects_; }

private:
    void Add(const PixelRect& rect) { rects_.push_back(rect); }
    std::vector<PixelRect> rects_;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
};

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

void AppendFramePath(std::string& out, const SvgPicture& picture) {
    if (picture.border == BorderStyle::None) return;
    PenLineRecorder recorder;
    DrawBorder(recorder, 0, 0, picture.width, picture.height, picture.border == BorderStyle::Solid);
    BeginPath(out, kPenColour);
    for (const PixelRect& run : MergedRuns(recorder.rects())) AppendRect(out, run.left, run.top, run.right, run.bottom);
    out += "\"/>\n";
}

// The background reaches one pixel past the picture on every side; the
// root element's viewport clips it. LibreOffice sizes a drawing that stays
// inside its viewport by a hairline outline of the viewport, whose extent
// has half a pixel more on each side (a 126-pixel picture at 96 dpi came
// out 33.60 mm instead of 33.34 mm); a drawing that reaches past the
// viewport it clips and sizes by the viewport itself.
void AppendBackgroundPath(std::string& out, const SvgPicture& picture) {
    BeginPath(out, picture.backgroundColour);
    AppendRect(out, -1, -1, picture.width + 1.0, picture.height + 1.0);
    out += "\"/>\n";
}

// Millimetres to six places for a thousandth of a pixel less than the
// picture: renderers that round the size up to whole pixels (librsvg, in
// single precision) then get exactly the picture's pixels, and so do those
// that round to the nearest.
void AppendMillimetres(std::string& out, std::int32_t pixels, std::int32_t dotsPerInch) {
    // A thousandth of a pixel is a thousandth of an inch over dotsPerInch.
    const std::int64_t millionths = (std::int64_t{pixels} * kMillionthsPerInch - kMillionthsPerThousandthOfAnInch) / dotsPerInch;
    char text[48];
    std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(millionths / kMillionthsPerMillimetre),
                  static_cast<long long>(millionths % kMillionthsPerMillimetre));
    std::string value = text;
    value.erase(value.find_last_not_of('0') + 1);
    if (value.back() == '.') value.pop_back();
    out += value;
    out += "mm";
}

void AppendSvgElement(std::string& out, const SvgPicture& picture) {
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
    AppendMillimetres(out, picture.width, picture.dotsPerInch);
    out += "\" height=\"";
    AppendMillimetres(out, picture.height, picture.dotsPerInch);
    out += "\" viewBox=\"0 0 " + std::to_string(picture.width) + ' ' + std::to_string(picture.height) +
           "\" shape-rendering=\"crispEdges\">\n";
}

// The module size within ModulePixels' clamp (the symbol's extent plus the
// picture within 32 bits), so that every coordinate and CentreSymbol's
// offsets fit; NaN fails every comparison.
bool Representable(const SymbolMatrix& symbol, const SvgPicture& picture) {
    const double extent = std::max(picture.width, picture.height);
    const double most = (std::numeric_limits<std::int32_t>::max() - extent) / (std::max(symbol.rows(), symbol.cols()) + 1);
    return picture.width >= 1 && picture.height >= 1 && picture.dotsPerInch >= 1 && picture.orientation >= 0 &&
           picture.orientation <= 3 && picture.modulePixels >= 0 && picture.modulePixels <= most;
}

}  // namespace

WriteResult AppendSvgFile(std::string& out, const SymbolMatrix& symbol, const SvgPicture& picture) {
    if (!Representable(symbol, picture)) return WriteResult::NotRepresentable;
    const std::size_t originalSize = out.size();
    try {
        out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        AppendSvgElement(out, picture);
        AppendBackgroundPath(out, picture);
        AppendModulePath(out, symbol, picture);
        AppendFramePath(out, picture);
        out += "</svg>\n";
        return WriteResult::Written;
    } catch (const std::bad_alloc&) {
        out.resize(originalSize);
        return WriteResult::OutOfMemory;
    }
}

}  // namespace ecc200
