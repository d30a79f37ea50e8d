// Third-party readers on what the outputs write: every BMP decodes to the
// exact message, every metafile converts and shows one rectangle per dark
// module plus the background.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "ecc200.h"
#include "output/default_settings_fixture.h"
#include "platform/drawing_surface.h"
#include "platform/portable/portable_screen.h"
#include "support/square_sizes.h"
#include "support/decoders.h"
#include "support/encoded_symbol.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

using test::RunCommand;

struct Picture {
    std::string message;
    int orientation;
    int border;
    int bar[3];
    int background[3];
    double moduleCm;
};

// One picture per size from 10 x 10 to 144 x 144, each message filling its
// size exactly, with the orientations, frames and colours taken in turn.
// Colours keep the bars dark and the background light after the one-bit rule
// (white exactly when r + g + b >= 383), the near-grey ones on each side of it.
std::vector<Picture> Pictures() {
    const int bars[][3] = {{0, 0, 0}, {0, 0, 128}, {127, 127, 128}, {200, 100, 50}};
    const int backgrounds[][3] = {{255, 255, 255}, {255, 255, 0}, {128, 128, 127}, {192, 192, 192}};
    std::vector<Picture> pictures;
    for (int i = 0; i < kSymbolSizeCount; ++i) {
        const int capacity = kSquareSymbolTable[static_cast<std::size_t>(i)].dataCodewords;
        pictures.push_back(Picture{test::ExactFill(capacity, i % 3), i % 4, i % 3, {bars[i % 4][0], bars[i % 4][1], bars[i % 4][2]},
                                   {backgrounds[i % 4][0], backgrounds[i % 4][1], backgrounds[i % 4][2]}, 0.1});
    }
    return pictures;
}

class ReadersTest : public test::DefaultSettingsTest {
protected:
    // Draws the picture with a quiet zone of two modules plus the frame.
    int Apply(const Picture& picture) {
        const test::EncodedSymbol encoded = test::Encode(picture.message);
        EXPECT_TRUE(encoded.built);
        EXPECT_EQ(encoded.state->messageCodewords, encoded.state->attributes.dataCodewords);
        const int side = encoded.state->symbol.side();
        const int pixels = static_cast<int>(96 * picture.moduleCm * 0.39370078740157477);  // 3
        const int extent = (side + 6) * pixels;
        DMSetSize(extent, extent + 8);
        DMSetMessage(picture.message.c_str());
        DMSetInfo(picture.moduleCm, picture.orientation, picture.border);
        DMSetBarColor(picture.bar[0], picture.bar[1], picture.bar[2]);
        DMSetBackColor(picture.background[0], picture.background[1], picture.background[2]);
        return side;
    }
};

TEST_F(ReadersTest, EveryBmpDecodesToTheExactMessage) {
    for (const Picture& picture : Pictures()) {
        const int side = Apply(picture);
        const std::string bmp = dir_.file("symbol.bmp");
        const std::string png = dir_.file("symbol.png");
        ASSERT_EQ(DMSaveAsBMP(bmp.c_str()), 1);
        ASSERT_EQ(RunCommand({"convert", bmp, png}).exitCode, 0);
        EXPECT_EQ(test::ZxingRead(png), picture.message) << side << "x" << side << " orientation " << picture.orientation;
        if (side == 144) continue;  // libdmtx reads only the plain 144 x 144 check order
        EXPECT_EQ(test::DmtxRead(bmp, side), picture.message) << side << "x" << side << " orientation " << picture.orientation;
    }
}

int CountMatches(const std::string& text, const std::regex& pattern) {
    return static_cast<int>(std::distance(std::sregex_iterator(text.begin(), text.end(), pattern), std::sregex_iterator()));
}

// The META_PATBLT records of a placeable WMF file: one per filled rectangle.
int CountPatBlts(const std::string& wmf) {
    const auto u16 = [&](std::size_t at) { return static_cast<unsigned char>(wmf[at]) | static_cast<unsigned char>(wmf[at + 1]) << 8; };
    int count = 0;
    std::size_t at = 22 + 18;  // placeable header, metafile header
    while (at + 6 <= wmf.size()) {
        const std::size_t words = static_cast<std::size_t>(u16(at)) | static_cast<std::size_t>(u16(at + 2)) << 16;
        if (u16(at + 4) == 0x061D) ++count;
        if (words < 3) break;
        at += 2 * words;
    }
    return count;
}

TEST_F(ReadersTest, MetafilesAreReadByThirdPartyConvertersAndShowEveryModule) {
    for (const char* message : {"12", "Hello, world", "0123456789012345678901234567890123456789"}) {
        DMSetDefault();
        DMSetMessage(message);
        const test::EncodedSymbol encoded = test::Encode(message);
        int dark = 0;
        for (int r = 0; r < encoded.state->symbol.side(); ++r)
            for (int c = 0; c < encoded.state->symbol.side(); ++c) dark += encoded.state->symbol.isDark(r, c) ? 1 : 0;

        // libwmf renders the WMF (its SVG writer ignores pattern blits, its
        // raster writer draws them) and the rendering decodes.
        const std::string wmf = dir_.file("symbol.wmf");
        const std::string png = dir_.file("symbol.png");
        ASSERT_EQ(DMSaveAsWMF(wmf.c_str()), 1);
        EXPECT_EQ(CountPatBlts(test::ReadFileBytes(wmf)), dark + 1) << message;
        const test::CommandResult rendered = RunCommand({"wmf2gd", "--maxwidth=500", "--maxheight=300", "--maxsize", "-o", png, wmf});
        ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
        EXPECT_EQ(RunCommand({"ZXingReader", "-bytes", "-format", "DataMatrix", png}).out, message);

        // libemf2svg converts the EMF into one path per filled rectangle.
        ASSERT_EQ(DMCopyToClipboard(), 1);
        const auto bits = platform::GetClipboardEnhMetafileBits();
        ASSERT_TRUE(bits);
        const std::string emf = dir_.file("symbol.emf");
        test::WriteFileBytes(emf, std::string(bits->begin(), bits->end()));
        const std::string svg = dir_.file("symbol.svg");
        const test::CommandResult converted = RunCommand({"emf2svg-conv", "-i", emf, "-o", svg});
        ASSERT_EQ(converted.exitCode, 0) << converted.err;
        const std::string text = test::ReadFileBytes(svg);
        EXPECT_EQ(CountMatches(text, std::regex("<path style=\"fill:#000000\"")), dark) << message;
        EXPECT_EQ(CountMatches(text, std::regex("<path style=\"fill:#ffffff\"")), 1) << message;
    }
}

}  // namespace
}  // namespace ecc200
