#include "svg_picture.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <tuple>
#include <vector>

#include "api/job_outputs.h"
#include "platform/drawing_surface.h"

namespace ecc200::tool {
namespace {

using platform::PixelRect;

constexpr platform::ColourRef kPenColour = 0x000000;  // the default pen: solid black
constexpr platform::ColourRef kStockWhite = 0xFFFFFF;  // what a missing brush fills with

// Consecutive fills of one colour, in drawing order: later layers cover
// earlier ones, as on the bitmap.
struct Layer {
    platform::ColourRef colour;
    std::vector<PixelRect> rects;
};

// A device context that keeps every filled rectangle and pen line as
// rectangles of pixels, with the semantics of the bitmap surface.
class RectRecorder : public platform::DeviceContext {
public:
    platform::Brush CreateSolidBrush(platform::ColourRef colour) override {
        brushes_.push_back(colour);
        return platform::Brush{brushes_.size()};
    }
    void DeleteBrush(platform::Brush) override {}

    void FillRect(const PixelRect& rect, platform::Brush brush) override {
        const bool known = brush.value >= 1 && brush.value <= brushes_.size();
        // PatBlt semantics: a reversed axis fills from right + 1 to left + 1.
        PixelRect filled = rect;
        if (filled.right < filled.left) std::tie(filled.left, filled.right) = std::make_pair(rect.right + 1, rect.left + 1);
        if (filled.bottom < filled.top) std::tie(filled.top, filled.bottom) = std::make_pair(rect.bottom + 1, rect.top + 1);
        Add(known ? brushes_[brush.value - 1] : kStockWhite, filled);
    }

    void MoveToEx(std::int32_t x, std::int32_t y) override {
        x_ = x;
        y_ = y;
    }

    // One-pixel lines without their end point; the frame's lines are
    // horizontal or vertical.
    void LineTo(std::int32_t x, std::int32_t y) override {
        if (y == y_ && x != x_) Add(kPenColour, x > x_ ? PixelRect{x_, y, x, y + 1} : PixelRect{x + 1, y, x_ + 1, y + 1});
        if (x == x_ && y != y_) Add(kPenColour, y > y_ ? PixelRect{x, y_, x + 1, y} : PixelRect{x, y + 1, x + 1, y_ + 1});
        x_ = x;
        y_ = y;
    }

    void SetMapModeText() override {}
    void SetWindowExtEx(std::int32_t, std::int32_t) override {}
    void SetWindowOrgEx(std::int32_t, std::int32_t) override {}

    const std::vector<Layer>& layers() const { return layers_; }

private:
    void Add(platform::ColourRef colour, const PixelRect& rect) {
        if (rect.right <= rect.left || rect.bottom <= rect.top) return;
        if (layers_.empty() || layers_.back().colour != colour) layers_.push_back({colour, {}});
        layers_.back().rects.push_back(rect);
    }

    std::vector<platform::ColourRef> brushes_;
    std::vector<Layer> layers_;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
};

// Joins rectangles of the same rows that touch or overlap side by side:
// module by module, a row of the symbol becomes one rectangle per run.
std::vector<PixelRect> MergedRuns(std::vector<PixelRect> rects) {
    std::sort(rects.begin(), rects.end(), [](const PixelRect& a, const PixelRect& b) {
        return std::tie(a.top, a.bottom, a.left) < std::tie(b.top, b.bottom, b.left);
    });
    std::vector<PixelRect> runs;
    for (const PixelRect& rect : rects) {
        PixelRect* last = runs.empty() ? nullptr : &runs.back();
        if (last != nullptr && last->top == rect.top && last->bottom == rect.bottom && rect.left <= last->right) {
            last->right = std::max(last->right, rect.right);
        } else {
            runs.push_back(rect);
        }
    }
    return runs;
}

std::string ColourText(platform::ColourRef colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(colour & 0xFF),
                  static_cast<unsigned>(colour >> 8 & 0xFF), static_cast<unsigned>(colour >> 16 & 0xFF));
    return text;
}

// Millimetres to six places for a thousandth of a pixel less than the
// picture: renderers that round the size up to whole pixels (librsvg, in
// single precision) then get exactly the picture's pixels, and so do those
// that round to the nearest.
std::string MillimetresText(std::int32_t pixels, std::int32_t dpi) {
    const std::int64_t micrometres = (std::int64_t{pixels} * 25400000 - 25400) / dpi;  // millionths of a millimetre
    char text[48];
    std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(micrometres / 1000000),
                  static_cast<long long>(micrometres % 1000000));
    std::string value = text;
    value.erase(value.find_last_not_of('0') + 1);
    if (value.back() == '.') value.pop_back();
    return value + "mm";
}

void AppendPath(std::string& svg, const Layer& layer) {
    svg += "<path fill=\"" + ColourText(layer.colour) + "\" d=\"";
    for (const PixelRect& run : MergedRuns(layer.rects)) {
        svg += 'M' + std::to_string(run.left) + ' ' + std::to_string(run.top) + 'h' + std::to_string(run.right - run.left) +
               'v' + std::to_string(run.bottom - run.top) + 'h' + std::to_string(run.left - run.right) + 'z';
    }
    svg += "\"/>\n";
}

}  // namespace

std::optional<std::string> SvgPicture(const SymbolJob& job, std::int32_t& modulePixels) {
    const PictureStyle& style = job.style;
    RectRecorder recorder;
    if (style.width <= 0 || style.height <= 0 || !RenderSymbol(job, DrawingTarget{recorder, 0, 0}, modulePixels)) {
        errno = EINVAL;
        return std::nullopt;
    }
    const std::int32_t dpi = platform::GetScreenMetrics().logPixelsX;
    const std::string width = std::to_string(style.width);
    const std::string height = std::to_string(style.height);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + MillimetresText(style.width, dpi) +
           "\" height=\"" + MillimetresText(style.height, dpi) + "\" viewBox=\"0 0 " + width + ' ' + height +
           "\" shape-rendering=\"crispEdges\">\n";
    for (const Layer& layer : recorder.layers()) AppendPath(svg, layer);
    svg += "</svg>\n";
    return svg;
}

}  // namespace ecc200::tool
