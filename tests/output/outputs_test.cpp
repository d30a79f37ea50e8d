// The three outputs through the exported functions: what they write, what
// they refuse, and that a failed save never costs the old file.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "api/nine_adapter.h"
#include "driver/render_symbol.h"
#include "ecc200.h"
#include "output/default_settings_fixture.h"
#include "output/emf_recording_size.h"
#include "support/encoded_symbol.h"
#include "support/nine_settings.h"
#include "platform/drawing_surface.h"
#include "platform/portable/portable_screen.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

std::vector<std::string> Entries(const std::string& directory) {
    std::vector<std::string> names;
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    return names;
}

std::string TooLongMessage() { return std::string(1999, '\xE9'); }  // 3998 codewords

std::string ClipboardBits() {
    const auto bits = platform::GetClipboardEnhMetafileBits();
    return bits ? std::string(bits->begin(), bits->end()) : std::string("<empty>");
}

std::uint32_t U32At(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    return value;
}

using OutputsTest = test::DefaultSettingsTest;

TEST_F(OutputsTest, DefaultBmpIs19262BytesWithTheSymbolWhereTheLayoutPutsIt) {
    const std::string path = dir_.file("default.bmp");
    ASSERT_EQ(DMSaveAsBMP(path.c_str()), 1);
    const std::string bmp = ReadFileBytes(path);
    ASSERT_EQ(bmp.size(), 19262u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(U32At(bmp, 2), 19262u);
    // Colour table black, white.
    EXPECT_EQ(bmp.substr(54, 8), std::string("\0\0\0\0\xFF\xFF\xFF\0", 8));
    // Pixel (x, y): rows bottom-up, 64 bytes each, leftmost pixel in the MSB.
    const auto white = [&](int x, int y) {
        const unsigned char byte = static_cast<unsigned char>(bmp[62 + static_cast<std::size_t>((299 - y) * 64 + x / 8)]);
        return (byte >> (7 - x % 8) & 1) == 1;
    };
    EXPECT_FALSE(white(215, 115));  // module (0, 0): the corner of the finder, dark
    EXPECT_FALSE(white(221, 121));
    EXPECT_TRUE(white(222, 115));   // module (0, 1): clock track, light
    EXPECT_TRUE(white(214, 115));   // quiet zone
    EXPECT_FALSE(white(215, 184));  // bottom left corner of the symbol
    EXPECT_TRUE(white(215, 185));
    EXPECT_TRUE(white(0, 0));
    // Row padding bits are 0: x = 500..511 of every row.
    for (int y = 0; y < 300; ++y) EXPECT_EQ(bmp[62 + static_cast<std::size_t>(y * 64 + 63)] & 0x0F, 0);
}

TEST_F(OutputsTest, DefaultWmfAndEmfHaveTheirRecordedSizes) {
    const std::string wmf = dir_.file("default.wmf");
    ASSERT_EQ(DMSaveAsWMF(wmf.c_str()), 1);
    const std::string bytes = ReadFileBytes(wmf);
    EXPECT_EQ(bytes.size(), 2028u);
    EXPECT_EQ(bytes.substr(0, 4), "\xD7\xCD\xC6\x9A");
    ASSERT_EQ(DMCopyToClipboard(), 1);
    const std::string emf = ClipboardBits();
    ASSERT_EQ(emf.size(), 7188u);
    EXPECT_EQ(U32At(emf, 48), 7188u);          // nBytes
    EXPECT_EQ(emf.substr(40, 4), " EMF");      // dSignature
    EXPECT_EQ(U32At(emf, 8 + 8), 499u);        // rclBounds.right: no frame
}

TEST_F(OutputsTest, TooLongMessageDeliversNothing) {
    const std::string message = TooLongMessage();
    DMSetMessage(message.c_str());
    const std::string fresh = dir_.file("fresh.bmp");
    const std::string old = dir_.file("old.wmf");
    WriteFileBytes(old, "old content");
    DMSetDefault();
    ASSERT_EQ(DMCopyToClipboard(), 1);
    const std::string clipboard = ClipboardBits();
    DMSetMessage(message.c_str());
    EXPECT_EQ(DMSaveAsBMP(fresh.c_str()), 0);
    EXPECT_EQ(DMSaveAsWMF(old.c_str()), 0);
    EXPECT_EQ(DMSaveAsBMP(old.c_str()), 0);
    EXPECT_EQ(DMCopyToClipboard(), 0);
    EXPECT_EQ(ReadFileBytes(old), "old content");
    EXPECT_EQ(Entries(dir_.file("")), std::vector<std::string>{"old.wmf"});
    EXPECT_EQ(ClipboardBits(), clipboard);
}

TEST_F(OutputsTest, UnwritablePathsReturnZeroAndLeaveNothing) {
    EXPECT_EQ(DMSaveAsBMP(nullptr), 0);
    EXPECT_EQ(DMSaveAsWMF(nullptr), 0);
    const std::string missing = dir_.file("no/such/dir/out.bmp");
    EXPECT_EQ(DMSaveAsBMP(missing.c_str()), 0);
    EXPECT_EQ(DMSaveAsWMF(missing.c_str()), 0);
    const std::string directory = dir_.file("a-directory");
    ASSERT_EQ(mkdir(directory.c_str(), 0755), 0);
    EXPECT_EQ(DMSaveAsBMP(directory.c_str()), 0);
    EXPECT_EQ(DMSaveAsWMF(directory.c_str()), 0);
    // A path whose parent is a regular file.
    const std::string file = dir_.file("plain");
    WriteFileBytes(file, "x");
    EXPECT_EQ(DMSaveAsBMP((file + "/out.bmp").c_str()), 0);
    EXPECT_EQ(Entries(directory), std::vector<std::string>{});
    std::vector<std::string> left = Entries(dir_.file(""));
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"a-directory", "plain"}));
}

TEST_F(OutputsTest, SizesTheFormatsCannotHoldAreRefusedAndTheOldFileKept) {
    const std::string wmf = dir_.file("wide.wmf");
    WriteFileBytes(wmf, "old");
    DMSetSize(32768, 10);
    EXPECT_EQ(DMSaveAsWMF(wmf.c_str()), 0);
    DMSetSize(10, 32768);
    EXPECT_EQ(DMSaveAsWMF(wmf.c_str()), 0);
    EXPECT_EQ(ReadFileBytes(wmf), "old");
    DMSetSize(32767, 1);
    EXPECT_EQ(DMSaveAsWMF(wmf.c_str()), 1);

    const std::string bmp = dir_.file("huge.bmp");
    DMSetSize(200000, 200000);
    EXPECT_EQ(DMSaveAsBMP(bmp.c_str()), 0);
    EXPECT_TRUE(Entries(dir_.file("")).size() == 1u);
}

TEST_F(OutputsTest, SavingTwiceReplacesTheFile) {
    const std::string path = dir_.file("twice.bmp");
    DMSetSize(32, 40);
    ASSERT_EQ(DMSaveAsBMP(path.c_str()), 1);
    const std::string first = ReadFileBytes(path);
    DMSetSize(64, 40);
    ASSERT_EQ(DMSaveAsBMP(path.c_str()), 1);
    const std::string second = ReadFileBytes(path);
    EXPECT_EQ(first.size(), 62u + 4 * 40);
    EXPECT_EQ(second.size(), 62u + 8 * 40);
    EXPECT_EQ(Entries(dir_.file("")), std::vector<std::string>{"twice.bmp"});
}

TEST_F(OutputsTest, HugeModuleSizesAreClampedNotOverflowed) {
    for (const double cm : {1e30, 1e300, static_cast<double>(INFINITY), 5e6}) {
        DMSetSize(64, 64);
        DMSetInfo(cm, 2, 2);
        const std::string path = dir_.file("huge-module.bmp");
        EXPECT_EQ(DMSaveAsBMP(path.c_str()), 1) << cm;
        EXPECT_EQ(DMSaveAsWMF(dir_.file("huge-module.wmf").c_str()), 1) << cm;
        EXPECT_EQ(DMCopyToClipboard(), 1) << cm;
    }
}

TEST_F(OutputsTest, ModuleSizeZeroReusesThePreviousPixelSize) {
    const std::string a = dir_.file("a.bmp");
    const std::string b = dir_.file("b.bmp");
    DMSetInfo(0.5, 0, 0);  // 18 pixels at 96 dpi
    ASSERT_EQ(DMSaveAsBMP(a.c_str()), 1);
    DMSetInfo(1e-50, 0, 0);  // stored as 0.0
    ASSERT_EQ(DMSaveAsBMP(b.c_str()), 1);
    EXPECT_EQ(ReadFileBytes(a), ReadFileBytes(b));
}

TEST_F(OutputsTest, OnePixelPictureIsAWholeBmp) {
    DMSetSize(1, 1);
    ASSERT_EQ(DMSaveAsBMP(dir_.file("one.bmp").c_str()), 1);
    EXPECT_EQ(ReadFileBytes(dir_.file("one.bmp")).size(), 66u);  // 62 + one padded row of 4 bytes
}

std::uint64_t DarkModules(const std::string& message) {
    const test::EncodedSymbol encoded = test::Encode(message);
    std::uint64_t dark = 0;
    for (int row = 0; row < encoded.state->symbol.side(); ++row) {
        for (int col = 0; col < encoded.state->symbol.side(); ++col) dark += encoded.state->symbol.isDark(row, col);
    }
    return dark;
}

// The sides and frame the recording's size depends on, as a geometry.
PictureGeometry SidesAndFrame(std::int32_t width, std::int32_t height, BorderStyle border) {
    return PictureGeometry{nullptr, width, height, 0, 0, border, 0x000000, 0xFFFFFF, 96, 96, 0.0};
}

DMSettings Style(std::int32_t width, std::int32_t height, BorderStyle border, float centimetres = 0.1f,
                 int orientation = 0) {
    return test::NineSettings(width, height, centimetres, orientation, border);
}

// The size worked out before drawing is the size recorded, record for
// record, over frames, odd sides (the dashed frame's switch), turns and
// modules below one pixel.
TEST_F(OutputsTest, EnhMetafileSizeIsKnownBeforeDrawing) {
    const std::vector<DMSettings> styles = {
        Style(500, 300, BorderStyle::None),       Style(500, 300, BorderStyle::Solid),
        Style(500, 300, BorderStyle::Dashed),     Style(501, 303, BorderStyle::Dashed),
        Style(4, 4, BorderStyle::Dashed),         Style(12, 37, BorderStyle::Dashed, 0.01f, 1),
        Style(1, 1, BorderStyle::Dashed, 1e-6f),  Style(9999, 3, static_cast<BorderStyle>(7), 0.2f, 3)};
    for (const std::string& message : std::vector<std::string>{"A", "ecc200 records every module", std::string(300, '7')}) {
        for (const DMSettings& style : styles) {
            std::int32_t modulePixels = 0;
            const auto metafile = RecordEnhMetafile(test::WithMessage(style, message), modulePixels);
            ASSERT_TRUE(metafile);
            const std::vector<std::uint8_t> bits = metafile->GetBits();
            const std::string bytes(bits.begin(), bits.end());
            const RecordingSize predicted = EnhMetafileRecordingSize(SidesAndFrame(style.width, style.height, static_cast<BorderStyle>(style.borderStyle)), DarkModules(message));
            EXPECT_EQ(predicted.bytes, bits.size()) << style.width << "x" << style.height;
            EXPECT_EQ(predicted.records, U32At(bytes, 52)) << style.width << "x" << style.height;
        }
    }
}

// A dashed frame grows the recording by 8 bytes per pixel of each side: a
// picture whose recording passes the 32-bit nBytes is refused before any
// drawing (EFBIG), also just past the limit where the symbol's own modules
// decide, and the clipboard keeps what it held.
TEST_F(OutputsTest, EnhMetafilePastItsSizeIsRefusedAtOnce) {
    ASSERT_EQ(DMCopyToClipboard(), 1);
    const std::string clipboard = ClipboardBits();
    const std::string message = "wide frame";
    const std::uint64_t dark = DarkModules(message);
    std::int32_t justPast = 536870000;  // about 2^32 / 8 pixels
    while (EnhMetafileRecordingSize(SidesAndFrame(justPast, 8, BorderStyle::Dashed), dark).bytes <= UINT32_MAX) justPast += 8;
    ASSERT_LE(EnhMetafileRecordingSize(SidesAndFrame(justPast, 8, BorderStyle::Dashed), 0).bytes, UINT32_MAX);
    for (const DMSettings& style : {Style(2147483647, 2147483647, BorderStyle::Dashed),
                                      Style(10, 2147483647, BorderStyle::Dashed), Style(justPast, 8, BorderStyle::Dashed)}) {
        std::int32_t modulePixels = 0;
        errno = 0;
        EXPECT_FALSE(RecordEnhMetafile(test::WithMessage(style, message), modulePixels)) << style.width;
        EXPECT_EQ(errno, EFBIG);
    }
    DMSetSize(2147483647, 300);
    DMSetInfo(0.5, 0, 1);  // dashed frame
    EXPECT_EQ(DMCopyToClipboard(), 0);
    EXPECT_EQ(ClipboardBits(), clipboard);
}

// Each failure of an output names its cause in errno.
TEST_F(OutputsTest, FailuresSetErrnoToTheirCause) {
    const std::string tooLong = TooLongMessage();
    const std::string fine = "errno";
    const std::string directory = dir_.file("");
    const std::string inFolder = dir_.file("out");
    struct Case {
        const char* path;
        std::string_view message;
        std::int32_t width;
        std::int32_t height;
        int wmfCause;
        int bmpCause;
    };
    const std::vector<Case> cases = {
        {nullptr, fine, 100, 100, EINVAL, EINVAL},
        {inFolder.c_str(), fine, 0, 100, EINVAL, EINVAL},
        {inFolder.c_str(), tooLong, 100, 100, E2BIG, E2BIG},
        {inFolder.c_str(), fine, 32768, 10, EFBIG, 0},
        {inFolder.c_str(), fine, 200000, 200000, EFBIG, EFBIG},
        {directory.c_str(), fine, 100, 100, EISDIR, EISDIR},
        {"/no/such/dir/out", fine, 100, 100, ENOENT, ENOENT},
    };
    for (const Case& c : cases) {
        const DMSettings job = test::WithMessage(Style(c.width, c.height, BorderStyle::None), std::string(c.message));
        std::int32_t modulePixels = 0;
        errno = 0;
        EXPECT_EQ(SaveAsWmf(c.path, job, modulePixels), c.wmfCause == 0) << c.width;
        EXPECT_EQ(errno, c.wmfCause) << c.width;
        errno = 0;
        EXPECT_EQ(SaveAsBmp(c.path, job, modulePixels), c.bmpCause == 0) << c.width;
        EXPECT_TRUE(c.bmpCause == 0 || errno == c.bmpCause) << c.width << ": " << errno;
    }
    std::int32_t modulePixels = 0;
    errno = 0;
    EXPECT_FALSE(CopyToClipboard(test::WithMessage(Style(100, 100, BorderStyle::None), tooLong), modulePixels));
    EXPECT_EQ(errno, E2BIG);
}

}  // namespace
}  // namespace ecc200
