#include "output/print_geometry.h"

#include <cmath>
#include <new>
#include <string>
#include <vector>

#include "output/print_picture.h"
#include "render/human_readable_band.h"
#include "render/picture_geometry.h"

namespace ecc200 {
namespace {

constexpr double kPointsPerInch = 72;
constexpr std::uint32_t kFrameColour = 0x000000;  // the frame's default pen: solid black

std::uint32_t RgbOf(std::uint32_t colourRef) {
    return (colourRef & 0xFF) << 16 | (colourRef & 0xFF00) | (colourRef >> 16 & 0xFF);
}


// The frame's pixels on the whole-pixel picture, stretched onto the exact
// one so that the frame ends on its edges.
void StretchFrame(const PictureGeometry& geometry, PrintPicture& picture) {
    const double sx = picture.width / geometry.width;
    const double sy = picture.height / geometry.height;
    for (const PixelRect& r : geometry.FrameRects())
        picture.frame.push_back({r.left * sx, r.top * sy, r.right * sx, r.bottom * sy});
}

}  // namespace

Outcome PrintPictureOf(const PictureGeometry& geometry, PrintPicture& picture) {
    picture = PrintPicture{};
    if (!geometry.Drawable() || !(geometry.exactModulePixels > 0))
        return Refused(Failure::PictureTooLarge, "the picture has no print page");
    try {
        const ModuleGrid grid = geometry.ExactGrid();
        picture.width = geometry.ExactWidth();
        picture.height = geometry.ExactHeight();
        picture.pointsPerUnit = kPointsPerInch / geometry.dotsPerInch;
        picture.background = RgbOf(geometry.backgroundColour);
        picture.bar = RgbOf(geometry.barColour);
        picture.frameColour = kFrameColour;
        picture.gridX = grid.x - geometry.originX;
        picture.gridY = grid.y - geometry.originY;
        picture.cellEdge = grid.p;
        MergeDarkCells(grid.rows, grid.cols,
                       [&](std::int32_t row, std::int32_t col) { return geometry.GridCellDark(row, col); }, picture.dark);
        StretchFrame(geometry, picture);
        if (!geometry.text.empty()) {
            const double em = geometry.textBand;
            picture.text.push_back({std::string(geometry.text), picture.width / 2,
                                    picture.height - em + kHriBaselineEm * em, em});
        }
        return {};
    } catch (const std::bad_alloc&) {
        picture = PrintPicture{};
        return Failed(Failure::OutOfMemory);
    }
}

}  // namespace ecc200
