// The seamless WMF and EMF: their records replayed by the GDI rules
// (polygons filled without their right and bottom edges) give exactly the
// pixels DrawSymbol paints, for every turn, frame and cropped picture; the
// WMF's frame is filled rectangles, no line (a client that draws vectors
// centres a pen on the pixel edge GDI addresses), the EMF's frame lines
// have a pen of their own, one pixel wide under GDI and wider as a vector
// client reads it, and lie a quarter pixel into the pixels they paint; no
// polygon reaches outside the picture; their headers agree with their
// records.
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <map>
#include <string>
#include <vector>

#include "driver/render_symbol.h"
#include "encoder/module_matrix.h"
#include "api/nine_adapter.h"
#include "output/seamless_emf.h"
#include "output/seamless_wmf.h"
#include "platform/portable/portable_screen.h"
#include "render/draw_symbol.h"
#include "render/picture_geometry.h"
#include "render/recording_context.h"
#include "support/encoded_symbol.h"
#include "support/nine_settings.h"
#include "support/output_checks.h"

namespace ecc200 {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A little-endian field of 2 or 4 bytes, signed.
std::int32_t Field(const Bytes& b, std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = v << 8 | b.at(at + static_cast<std::size_t>(i));
    if (size == 2) return static_cast<std::int16_t>(v);
    return static_cast<std::int32_t>(static_cast<std::int64_t>(v) - (v >> 31 ? 0x100000000LL : 0));
}

constexpr std::int32_t kNullPen = 5;  // PS_NULL
constexpr std::int32_t kMapModeAnisotropic = 8;

// A logical coordinate as GDI maps it with the origins at 0: scaled by the
// viewport's extent over the window's, rounded to the nearest pixel. The
// remainder, in quarters of a pixel, tells where a vector client centres a
// line.
struct Axis {
    std::int64_t window = 1, viewport = 1;  // MM_TEXT: one unit a pixel
    std::int32_t Pixel(std::int32_t v) const {
        const std::int64_t twice = 2 * std::int64_t{v} * viewport + window;  // 2 (v x viewport / window + 1/2) x window
        return static_cast<std::int32_t>((twice >= 0 ? twice : twice - 2 * window + 1) / (2 * window));
    }
    std::int64_t QuartersPast(std::int32_t v) const { return 4 * (std::int64_t{v} * viewport % window) / window; }
};

// Replays the drawing records onto a RecordingContext, checking as it goes
// that polygons are rectangles inside the picture, filled with a null pen,
// and that nothing draws a line.
struct Replay {
    struct Object {
        bool brush;
        std::int32_t style;
        std::int32_t width;
        std::int32_t colour;
        // A pen's width in quarter pixels in the mapping of its creation,
        // where vector clients fix it.
        std::int64_t createdQuarters = 0;
    };
    std::int32_t width, height;
    test::RecordingContext dc;
    std::map<std::int32_t, Object> objects;
    Object brush{true, 0, 0, 0xFFFFFF};  // the stock white brush
    Object pen{false, 0, 0, 0};          // the default pen, never used
    Axis across, down;
    std::int32_t x = 0, y = 0;  // logical
    int polyPolygons = 0;
    int lines = 0;
    std::string fault;

    void Fault(const std::string& what) {
        if (fault.find(what) == std::string::npos) fault += what + "; ";
    }
    // GDI takes the extents only in MM_ANISOTROPIC (or MM_ISOTROPIC, unused).
    bool anisotropic = false;
    void SetMapMode(std::int32_t mode) {
        anisotropic = mode == kMapModeAnisotropic;
        if (!anisotropic) across = down = Axis{};
    }
    void SetWindowExt(std::int32_t cx, std::int32_t cy) {
        if (anisotropic) across.window = cx, down.window = cy;
    }
    void SetViewportExt(std::int32_t cx, std::int32_t cy) {
        if (anisotropic) across.viewport = cx, down.viewport = cy;
    }

    void Select(std::int32_t handle) {
        if (objects.count(handle) != 0) (objects[handle].brush ? brush : pen) = objects[handle];
        else Fault("selects a missing object");
    }
    // A polygon of four points (16- or 32-bit coordinates) from `at`.
    void Polygon(const Bytes& b, std::size_t at, int size) {
        std::int32_t p[8];
        for (int i = 0; i < 8; ++i) {
            const std::int32_t v = Field(b, at + static_cast<std::size_t>(i * size), size);
            p[i] = i % 2 == 0 ? across.Pixel(v) : down.Pixel(v);
        }
        const bool rectangle = p[1] == p[3] && p[2] == p[4] && p[5] == p[7] && p[6] == p[0];
        if (!rectangle || pen.style != kNullPen) Fault("a polygon that is no rectangle or has an outline");
        if (p[0] < 0 || p[1] < 0 || p[2] > width || p[5] > height) Fault("a polygon outside the picture");
        dc.FillRect({p[0], p[1], p[2], p[5]}, dc.CreateSolidBrush(static_cast<std::uint32_t>(brush.colour)));
    }
    // GDI fills a polypolygon ALTERNATE: where two of its rectangles
    // overlap, it leaves a hole.
    void CheckDisjoint(std::size_t firstFill) {
        const auto& fills = dc.fills;
        for (std::size_t i = firstFill; i < fills.size(); ++i) {
            for (std::size_t j = i + 1; j < fills.size(); ++j) {
                const auto& a = fills[i].rect;
                const auto& b = fills[j].rect;
                if (a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom) {
                    Fault("overlapping polygons in one polypolygon");
                }
            }
        }
    }
    void CreatePen(std::int32_t handle, std::int32_t style, std::int32_t width, std::int32_t colour) {
        objects[handle] = {false, style, width, colour, 4 * width * across.viewport / across.window};
    }
    // GDI scales the pen's width as a distance when it draws; it must come
    // to one pixel. A vector client centres the line, as wide as the pen was
    // when created, on its points: each a quarter pixel past a pixel edge,
    // and the line must reach over the whole edge pixel inside the picture.
    void LineTo(std::int32_t toX, std::int32_t toY) {
        if (pen.style != 0 || pen.width * across.viewport != across.window || pen.colour != 0) {
            Fault("a line without the frame's one-pixel pen");
        }
        if (1 + pen.createdQuarters / 2 < 4) Fault("a line a vector client draws short of the edge pixel's far side");
        for (const std::int64_t quarters : {across.QuartersPast(x), down.QuartersPast(y), across.QuartersPast(toX),
                                            down.QuartersPast(toY)}) {
            if (quarters != 1) Fault("a line off the quarter pixel");
        }
        dc.MoveToEx(across.Pixel(x), down.Pixel(y));
        dc.LineTo(across.Pixel(toX), down.Pixel(toY));
        x = toX, y = toY;
        ++lines;
    }
};

Replay ReplayEmf(const Bytes& b, std::int32_t width, std::int32_t height) {
    Replay r;
    r.width = width, r.height = height;
    for (std::size_t at = 0; at + 8 <= b.size();) {
        const auto u = [&](std::size_t field) { return Field(b, at + 8 + 4 * field, 4); };
        switch (Field(b, at, 4)) {
            case 39: r.objects[u(0)] = {true, u(1), 0, u(2)}; break;                 // EMR_CREATEBRUSHINDIRECT
            case 38: r.CreatePen(u(0), u(1), u(2), u(4)); break;                     // EMR_CREATEPEN
            case 37:                                                                 // EMR_SELECTOBJECT
                if (u(0) == static_cast<std::int32_t>(0x80000008u)) r.pen = {false, kNullPen, 0, 0};
                else if (u(0) >= 0) r.Select(u(0));
                break;
            case 40: r.objects.erase(u(0)); break;                                   // EMR_DELETEOBJECT
            case 17: r.SetMapMode(u(0)); break;                                      // EMR_SETMAPMODE
            case 9: r.SetWindowExt(u(0), u(1)); break;                               // EMR_SETWINDOWEXTEX
            case 11: r.SetViewportExt(u(0), u(1)); break;                            // EMR_SETVIEWPORTEXTEX
            case 27: r.x = u(0), r.y = u(1); break;                                  // EMR_MOVETOEX
            case 54: r.LineTo(u(0), u(1)); break;                                    // EMR_LINETO
            case 86: r.Polygon(b, at + 28, 2); break;                                // EMR_POLYGON16
            case 3: r.Polygon(b, at + 28, 4); break;                                 // EMR_POLYGON
            case 91: case 8: {                                                       // EMR_POLYPOLYGON16 / 32
                ++r.polyPolygons;
                const std::size_t firstFill = r.dc.fills.size();
                const auto polygons = static_cast<std::size_t>(u(4));
                const int size = Field(b, at, 4) == 91 ? 2 : 4;
                for (std::size_t i = 0; i < polygons; ++i) {
                    if (u(6 + i) != 4) r.Fault("a polygon of other than 4 points");
                    r.Polygon(b, at + 32 + 4 * polygons + i * 8 * static_cast<std::size_t>(size), size);
                }
                r.CheckDisjoint(firstFill);
                break;
            }
            default: break;
        }
        const std::int32_t size = Field(b, at + 4, 4);
        if (size < 8) break;
        at += static_cast<std::size_t>(size);
    }
    return r;
}

// The records after the 22-byte placeable header and the 18-byte METAHEADER.
Replay ReplayWmf(const Bytes& b, std::int32_t width, std::int32_t height) {
    Replay r;
    r.width = width, r.height = height;
    int slots = 0;
    for (std::size_t at = 40; at + 6 <= b.size();) {
        const auto w = [&](std::size_t word) { return Field(b, at + 6 + 2 * word, 2); };
        const auto colour = [&](std::size_t word) { return Field(b, at + 6 + 2 * word, 4); };
        switch (Field(b, at + 4, 2) & 0xFFFF) {
            case 0x02FC: r.objects[slots++] = {true, w(0), 0, colour(1)}; break;      // META_CREATEBRUSHINDIRECT
            case 0x02FA: r.objects[slots++] = {false, w(0), w(1), colour(3)}; break;  // META_CREATEPENINDIRECT
            case 0x012D: r.Select(w(0)); break;                                        // META_SELECTOBJECT
            case 0x0214: r.x = w(1), r.y = w(0); break;                                // META_MOVETO (y, x)
            case 0x0213: r.LineTo(w(1), w(0)); break;                                  // META_LINETO
            case 0x0324: r.Polygon(b, at + 8, 2); break;                               // META_POLYGON
            case 0x0538: {                                                             // META_POLYPOLYGON
                ++r.polyPolygons;
                const std::size_t firstFill = r.dc.fills.size();
                const auto polygons = static_cast<std::size_t>(w(0));
                for (std::size_t i = 0; i < polygons; ++i) r.Polygon(b, at + 8 + 2 * polygons + 16 * i, 2);
                r.CheckDisjoint(firstFill);
                break;
            }
            default: break;
        }
        const std::int32_t words = Field(b, at, 4);
        if (words < 3) break;
        at += 2 * static_cast<std::size_t>(words);
    }
    return r;
}

struct Case {
    std::string message;
    std::int32_t width, height;
    float centimetres;
    std::uint32_t bar, background;
};

class SeamlessTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetPortableScreenDpi(96); }

    // Draws the case with DrawSymbol and writes both seamless metafiles of it.
    void Draw(const Case& c, int orientation, BorderStyle border) {
        symbol_ = test::Encode(c.message);
        ASSERT_TRUE(symbol_.built);
        style_ = test::NineSettings(c.width, c.height, c.centimetres, orientation, border, c.bar, c.background);
        std::int32_t pixels = 0;
        drawn_ = test::RecordingContext{};
        picture_ = test::NinesGeometry(style_, symbol_.state->symbol, pixels);
        DrawSymbol(picture_, drawn_);
        ASSERT_TRUE(WriteSeamlessWmf(picture_, wmf_).ok());
        ASSERT_TRUE(WriteSeamlessEmf(picture_, emf_).ok());
    }

    test::EncodedSymbol symbol_;
    DMSettings style_{};
    PictureGeometry picture_{};
    test::RecordingContext drawn_;
    Bytes wmf_, emf_;
};

const std::vector<Case> kCases = {
    {"Ab1", 500, 300, 0.2f, 0x000000, 0xFFFFFF},            // P = 7, even free space
    {"Seamless 123456", 501, 301, 0.1f, 0xAA0000, 0x00FFFF},  // odd free space, colours
    {"Ab1", 51, 51, 0.2f, 0, 0xFFFFFF},                      // 70 pixels in 51: cropped on every side
    {"Cropped across", 17, 9, 0.3f, 0, 0xFFFFFF},
    {"Ab1", 60, 40, 0.02f, 0, 0xFFFFFF},                     // P = 0: background and frame only
};

TEST_F(SeamlessTest, PlayBackToTheDrawnPixelsForEveryTurnFrameAndCrop) {
    for (const Case& c : kCases) {
        for (int orientation = 0; orientation < 4; ++orientation) {
            for (const BorderStyle border : {BorderStyle::None, BorderStyle::Dashed, BorderStyle::Solid}) {
                Draw(c, orientation, border);
                const std::string where = c.message + " " + std::to_string(c.width) + "x" + std::to_string(c.height) +
                                          " turn " + std::to_string(orientation) + " frame " +
                                          std::to_string(static_cast<int>(border));
                // The pen's pixels as the black they are, to compare lines with fills.
                const auto raster = [&](const test::RecordingContext& dc) {
                    auto pixels = dc.Rasterise(c.width, c.height);
                    for (std::int64_t& pixel : pixels) {
                        if (pixel == test::RecordingContext::kPen) pixel = 0x000000;
                    }
                    return pixels;
                };
                const auto expected = raster(drawn_);
                const int polyPolygons = picture_.modulePixels > 0 ? 1 : 0;
                const Replay wmf = ReplayWmf(wmf_, c.width, c.height);
                EXPECT_EQ(wmf.lines, 0) << where;
                for (const Replay& replay : {wmf, ReplayEmf(emf_, c.width, c.height)}) {
                    EXPECT_EQ(replay.fault, "") << where;
                    EXPECT_EQ(replay.polyPolygons, polyPolygons) << where;
                    EXPECT_TRUE(raster(replay.dc) == expected) << where;
                }
                EXPECT_EQ(test::CheckPlaceableWmf({reinterpret_cast<const char*>(wmf_.data()), wmf_.size()},
                                                  c.width, c.height), "") << where;
                EXPECT_EQ(test::CheckEnhMetafile({reinterpret_cast<const char*>(emf_.data()), emf_.size()}), "") << where;
            }
        }
    }
}

// Where the symbol is not cropped, the seamless EMF's bounds and frame are
// those GDI computes for the default drawing; a cropped symbol leaves the
// picture's own.
TEST_F(SeamlessTest, EmfHeaderBoundsAreTheDefaultDrawings) {
    for (const BorderStyle border : {BorderStyle::None, BorderStyle::Dashed, BorderStyle::Solid}) {
        Draw(kCases[0], 1, border);
        std::int32_t pixels = 0;
        const Bytes standard = RecordEnhMetafile(test::WithMessage(style_, kCases[0].message), pixels)->GetBits();
        EXPECT_EQ(Bytes(emf_.begin() + 8, emf_.begin() + 40), Bytes(standard.begin() + 8, standard.begin() + 40));
        EXPECT_EQ(Bytes(emf_.begin() + 72, emf_.begin() + 108), Bytes(standard.begin() + 72, standard.begin() + 108));
    }
    Draw(kCases[2], 0, BorderStyle::Solid);
    EXPECT_EQ(Field(emf_, 8, 4), 0);
    EXPECT_EQ(Field(emf_, 20, 4), 51);  // lines end on x = 51 and y = 51
    EXPECT_EQ(Field(emf_, 56, 2), 4);   // nHandles: three objects and the reserved index 0
}

TEST_F(SeamlessTest, MergingLeavesFewerPolygonsThanDarkModules) {
    Draw({"A 44-codeword symbol needs more than 40 characters", 400, 400, 0.1f, 0, 0xFFFFFF}, 0, BorderStyle::None);
    const SymbolMatrix& symbol = symbol_.state->symbol;
    std::size_t dark = 0;
    for (int row = 0; row < symbol.rows(); ++row)
        for (int col = 0; col < symbol.cols(); ++col) dark += symbol.isDark(row, col) ? 1 : 0;
    const std::size_t blocks = picture_.ModuleBlocks().size();
    EXPECT_LT(blocks, dark * 2 / 3) << blocks << " blocks of " << dark << " dark modules";
}

TEST_F(SeamlessTest, PicturesTheFormatsCannotHoldAreRefused) {
    const test::EncodedSymbol encoded = test::Encode("12");
    const SymbolMatrix& symbol = encoded.state->symbol;
    PictureGeometry picture{&symbol, 32768, 9, 2, 0, BorderStyle::Dashed, 0, 0xFFFFFF, 96, 96, 2.0};
    Bytes wmf;
    EXPECT_EQ(WriteSeamlessWmf(picture, wmf).failure, Failure::PictureTooLarge);
    // The EMF holds it, with 32-bit points.
    Bytes emf;
    ASSERT_TRUE(WriteSeamlessEmf(picture, emf).ok());
    Replay replay = ReplayEmf(emf, 32768, 9);
    EXPECT_EQ(replay.fault, "");
    EXPECT_EQ(replay.polyPolygons, 1);
    const auto sized = [&picture](std::int32_t width, std::int32_t height, std::int32_t modulePixels, int turns) {
        picture.width = width;
        picture.height = height;
        picture.modulePixels = modulePixels;
        picture.orientation = turns;
    };
    // A dashed frame around 2^31 - 1 pixels needs more than 32-bit nBytes.
    sized(0x7FFFFFFF, 0x7FFFFFFF, 2, 0);
    EXPECT_EQ(WriteSeamlessEmf(picture, emf).failure, Failure::PictureTooLarge);
    // A frame's quarter pixels, 4 x side + 1, fit 32 bits up to 2^29 - 1 pixels.
    picture.border = BorderStyle::Solid;
    sized(536870911, 9, 2, 0);
    ASSERT_TRUE(WriteSeamlessEmf(picture, emf).ok());
    replay = ReplayEmf(emf, 536870911, 9);
    EXPECT_EQ(replay.fault, "");
    EXPECT_EQ(replay.lines, 4);
    sized(9, 536870912, 2, 0);
    EXPECT_EQ(WriteSeamlessEmf(picture, emf).failure, Failure::PictureTooLarge);
    for (const auto& [width, height, modulePixels, turns] : {std::array<int, 4>{0, 5, 2, 0}, {5, 5, -1, 0}, {5, 5, 2, 4}}) {
        sized(width, height, modulePixels, turns);
        EXPECT_EQ(WriteSeamlessWmf(picture, wmf).failure, Failure::InvalidArgument);
        EXPECT_EQ(WriteSeamlessEmf(picture, emf).failure, Failure::InvalidArgument);
    }
}

}  // namespace
}  // namespace ecc200
