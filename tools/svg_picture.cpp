#include "svg_picture.h"

#include <cstdio>
#include <map>
#include <utility>
#include <vector>

#include "one_bit_picture.h"

namespace ecc200::tool {
namespace {

constexpr std::int64_t kNanometresPerInch = 25400000;

struct Rect {
    std::int32_t left, top, right, bottom;
};

// Rectangles covering every pixel of bit `ink`: each row's runs, a run that
// repeats the one above it extending that rectangle down.
std::vector<Rect> InkRects(const OneBitPicture& pixels, int ink) {
    std::vector<Rect> done;
    std::map<std::pair<std::int32_t, std::int32_t>, std::int32_t> open;  // (left, right) -> top
    for (std::int32_t y = 0; y <= pixels.height; ++y) {
        std::map<std::pair<std::int32_t, std::int32_t>, std::int32_t> next;
        for (std::int32_t x = 0; y < pixels.height && x < pixels.width;) {
            if (pixels.bit(x, y) != ink) {
                ++x;
                continue;
            }
            const std::int32_t left = x;
            while (x < pixels.width && pixels.bit(x, y) == ink) ++x;
            const auto above = open.find({left, x});
            next[{left, x}] = above != open.end() ? above->second : y;
            if (above != open.end()) open.erase(above);
        }
        for (const auto& [run, top] : open) done.push_back({run.first, top, run.second, y});
        open = std::move(next);
    }
    return done;
}

int MajorityBit(const OneBitPicture& pixels) {
    std::int64_t ones = 0;
    for (std::int32_t y = 0; y < pixels.height; ++y) {
        for (std::int32_t x = 0; x < pixels.width; ++x) ones += pixels.bit(x, y);
    }
    return 2 * ones >= std::int64_t{pixels.width} * pixels.height ? 1 : 0;
}

std::string ColourText(Rgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g, colour.b);
    return text;
}

// Millimetres to six places for a thousandth of a pixel less than the
// picture: renderers that round the size up to whole pixels (librsvg, in
// single precision) then get exactly the picture's pixels, and so do those
// that round to the nearest.
std::string MillimetresText(std::int32_t pixels, std::int32_t dpi) {
    const std::int64_t nanometres = (std::int64_t{pixels} * kNanometresPerInch - kNanometresPerInch / 1000) / dpi;
    char text[48];
    std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(nanometres / 1000000),
                  static_cast<long long>(nanometres % 1000000));
    std::string value = text;
    value.erase(value.find_last_not_of('0') + 1);
    if (value.back() == '.') value.pop_back();
    return value + "mm";
}

std::string RectPath(const Rect& rect) {
    return 'M' + std::to_string(rect.left) + ' ' + std::to_string(rect.top) + 'h' + std::to_string(rect.right - rect.left) +
           'v' + std::to_string(rect.bottom - rect.top) + 'h' + std::to_string(rect.left - rect.right) + 'z';
}

}  // namespace

std::string SvgPicture(const Symbol& symbol, const Picture& picture, int dpi) {
    const OneBitPicture pixels = DrawOneBit(symbol, picture);
    const int ground = MajorityBit(pixels);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + MillimetresText(pixels.width, dpi) +
           "\" height=\"" + MillimetresText(pixels.height, dpi) + "\" viewBox=\"0 0 " + std::to_string(pixels.width) +
           ' ' + std::to_string(pixels.height) + "\" shape-rendering=\"crispEdges\">\n";
    svg += "<path fill=\"" + ColourText(pixels.palette[ground]) + "\" d=\"" +
           RectPath({0, 0, pixels.width, pixels.height}) + "\"/>\n";
    svg += "<path fill=\"" + ColourText(pixels.palette[1 - ground]) + "\" d=\"";
    for (const Rect& rect : InkRects(pixels, 1 - ground)) svg += RectPath(rect);
    svg += "\"/>\n</svg>\n";
    return svg;
}

}  // namespace ecc200::tool
