// The ecc200_* interface: the same bytes as the nine DM functions with their
// settings, the statuses of bad input, the limits of a message.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "ecc200.h"
#include "support/encoded_symbol.h"
#include "support/encoding.h"
#include "platform/drawing_surface.h"
#include "platform/portable/portable_screen.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Symbol {
    ecc200_symbol* handle = nullptr;
    ecc200_status status = ECC200_OK;
    ecc200_diagnostic diagnostic{sizeof(ecc200_diagnostic), 0, 0, 0, {}, 0, 0};
    explicit Symbol(const std::string& message, const ecc200_encode_options* options = nullptr) {
        status = ecc200_encode(message.data(), message.size(), options, &handle, &diagnostic);
    }
    ~Symbol() { ecc200_symbol_free(handle); }
};

// The nine encode ASCII only; the interface's default is the fewest codewords.
const ecc200_encode_options& AsciiOptions() {
    static const ecc200_encode_options options = [] {
        ecc200_encode_options o;
        ecc200_encode_options_init(&o);
        o.encodation = ECC200_ENCODATION_ASCII;
        return o;
    }();
    return options;
}

// What ecc200_render gives, sized by a first call with no buffer.
Bytes Render(const ecc200_symbol* symbol, const ecc200_picture& picture, ecc200_format format,
             ecc200_status* status = nullptr) {
    std::size_t size = 0;
    ecc200_status first = ecc200_render(symbol, &picture, format, nullptr, 0, &size, nullptr);
    Bytes bytes(size);
    if (first == ECC200_BUFFER_TOO_SMALL) first = ecc200_render(symbol, &picture, format, bytes.data(), size, &size, nullptr);
    if (status != nullptr) *status = first;
    return first == ECC200_OK ? bytes : Bytes{};
}

Bytes FileBytes(const std::string& path) {
    const std::string text = test::ReadFileBytes(path);
    return Bytes(text.begin(), text.end());
}

// One row of the nine's settings, given to both interfaces.
struct NineCase {
    std::string message;
    int width, height;
    double moduleCm;
    int turns, border;
    std::uint32_t bar, background;  // 0xRRGGBB
};

class CInterfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetPortableScreenDpi(96);
        DMSetDefault();
    }
    void TearDown() override { DMSetDefault(); }
    test::TempDir dir_;
};

TEST_F(CInterfaceTest, RendersByteForByteWhatTheNineWrite) {
    const std::vector<NineCase> cases = {
        {"12", 500, 300, 0.2, 0, 0, 0x000000, 0xFFFFFF},
        {"Hello, world", 500, 300, 0.1, 1, 1, 0x102030, 0xF0E0D0},
        {std::string(200, '7'), 501, 303, 0.05, 2, 2, 0xFF0000, 0x00FF00},
        {"\xE9t\xE9", 123, 77, 1.984375, 3, 1, 0x808080, 0x7F7F7F},  // 74 or 75 pixels: the float's truncation
        {"edge", 64, 64, 0.79375, 0, 2, 0x000000, 0xFFFFFF},          // 30 pixels, exactly at the boundary
        {"tiny", 40, 900, 0.0265, 1, 0, 0x0000FF, 0xFFFFFF},          // 1 pixel
        {"cut", 30, 20, 0.5, 0, 1, 0x000000, 0xFFFFFF},               // cropped: the nine always crop
    };
    for (const NineCase& c : cases) {
        SCOPED_TRACE(c.message + " " + std::to_string(c.width) + "x" + std::to_string(c.height));
        DMSetSize(c.width, c.height);
        DMSetMessage(c.message.c_str());
        DMSetInfo(c.moduleCm, c.turns, c.border);
        DMSetBarColor(c.bar >> 16, c.bar >> 8 & 0xFF, c.bar & 0xFF);
        DMSetBackColor(c.background >> 16, c.background >> 8 & 0xFF, c.background & 0xFF);
        const std::string bmp = dir_.file("nine.bmp");
        const std::string wmf = dir_.file("nine.wmf");
        ASSERT_EQ(DMSaveAsBMP(bmp.c_str()), 1);
        ASSERT_EQ(DMSaveAsWMF(wmf.c_str()), 1);
        ASSERT_EQ(DMCopyToClipboard(), 1);
        const Bytes emf = platform::GetClipboardEnhMetafileBits().value();

        Symbol symbol(c.message, &AsciiOptions());
        ASSERT_EQ(symbol.status, ECC200_OK);
        ecc200_picture picture;
        ecc200_picture_init(&picture);
        picture.width = c.width;
        picture.height = c.height;
        picture.module_cm = c.moduleCm;
        picture.quarter_turns = c.turns;
        picture.border = c.border;
        picture.bar = c.bar;
        picture.background = c.background;
        picture.allow_crop = 1;
        EXPECT_EQ(Render(symbol.handle, picture, ECC200_FORMAT_BMP), FileBytes(bmp));
        EXPECT_EQ(Render(symbol.handle, picture, ECC200_FORMAT_WMF), FileBytes(wmf));
        EXPECT_EQ(Render(symbol.handle, picture, ECC200_FORMAT_EMF), emf);
        // The clipboard call puts the same metafile there.
        ASSERT_EQ(ecc200_copy_to_clipboard(symbol.handle, &picture, nullptr), ECC200_OK);
        EXPECT_EQ(platform::GetClipboardEnhMetafileBits().value(), emf);
        // Saved, written in pieces and allocated: the same bytes again.
        const std::string saved = dir_.file("new.bmp");
        ASSERT_EQ(ecc200_save(symbol.handle, &picture, ECC200_FORMAT_BMP, saved.c_str(), nullptr), ECC200_OK);
        EXPECT_EQ(FileBytes(saved), FileBytes(bmp));
        uint8_t* block = nullptr;
        std::size_t size = 0;
        ASSERT_EQ(ecc200_render_alloc(symbol.handle, &picture, ECC200_FORMAT_WMF, &block, &size, nullptr), ECC200_OK);
        EXPECT_EQ(Bytes(block, block + size), FileBytes(wmf));
        ecc200_free(block);
    }
}

int32_t ECC200_CALL AppendPiece(void* context, const uint8_t* bytes, size_t size) {
    auto* out = static_cast<std::vector<Bytes>*>(context);
    out->emplace_back(bytes, bytes + size);
    return 1;
}

int32_t ECC200_CALL Refuse(void*, const uint8_t*, size_t) { return 0; }

TEST_F(CInterfaceTest, WritesALargeBmpInPiecesAndStopsWhenTheWriterRefuses) {
    Symbol symbol("pieces", &AsciiOptions());
    ecc200_picture picture;
    ecc200_picture_init(&picture);
    picture.module_px = 40;
    std::vector<Bytes> pieces;
    ASSERT_EQ(ecc200_render_to(symbol.handle, &picture, ECC200_FORMAT_BMP, &AppendPiece, &pieces, nullptr), ECC200_OK);
    Bytes joined;
    for (const Bytes& piece : pieces) joined.insert(joined.end(), piece.begin(), piece.end());
    EXPECT_GT(pieces.size(), 2u);
    EXPECT_EQ(joined, Render(symbol.handle, picture, ECC200_FORMAT_BMP));
    EXPECT_EQ(ecc200_render_to(symbol.handle, &picture, ECC200_FORMAT_BMP, &Refuse, nullptr, nullptr),
              ECC200_WRITE_REFUSED);
}

TEST_F(CInterfaceTest, FitsTheSymbolAndRefusesToCutIt) {
    Symbol symbol("12");  // 10 x 10
    ecc200_picture picture;
    ecc200_picture_init(&picture);
    picture.module_px = 3;
    picture.quiet_zone = 1;
    const Bytes bmp = Render(symbol.handle, picture, ECC200_FORMAT_BMP);
    ASSERT_GT(bmp.size(), 26u);
    EXPECT_EQ(bmp[18], 36);  // biWidth: (10 + 2) modules of 3 pixels
    EXPECT_EQ(bmp[22], 36);
    picture.width = 29;
    picture.height = 40;
    ecc200_diagnostic diagnostic{sizeof diagnostic, 0, 0, 0, {}, 0, 0};
    std::size_t size = 0;
    EXPECT_EQ(ecc200_render(symbol.handle, &picture, ECC200_FORMAT_BMP, nullptr, 0, &size, &diagnostic),
              ECC200_SYMBOL_CROPPED);
    EXPECT_NE(std::string(diagnostic.message).find("36 x 36"), std::string::npos) << diagnostic.message;
}

TEST_F(CInterfaceTest, BadInputGetsAStatusAndWritesNothing) {
    Symbol symbol("bad");
    const auto status = [&](void (*change)(ecc200_picture&), ecc200_format format = ECC200_FORMAT_BMP) {
        ecc200_picture picture;
        ecc200_picture_init(&picture);
        change(picture);
        ecc200_status result = ECC200_OK;
        EXPECT_TRUE(Render(symbol.handle, picture, format, &result).empty());
        return result;
    };
    EXPECT_EQ(status([](ecc200_picture& p) { p.struct_size = 8; }), ECC200_INVALID_ARGUMENT);
    EXPECT_EQ(status([](ecc200_picture& p) { p.width = -1; p.height = 5; }), ECC200_INVALID_ARGUMENT);
    EXPECT_EQ(status([](ecc200_picture& p) { p.quarter_turns = 4; }), ECC200_INVALID_ARGUMENT);
    EXPECT_EQ(status([](ecc200_picture& p) { p.border = 3; }), ECC200_INVALID_ARGUMENT);
    EXPECT_EQ(status([](ecc200_picture& p) { p.quiet_zone = -1; }), ECC200_INVALID_ARGUMENT);
    EXPECT_EQ(status([](ecc200_picture& p) { p.module_cm = std::nan(""); }), ECC200_INVALID_ARGUMENT);
    EXPECT_EQ(status([](ecc200_picture& p) { p.module_cm = 0; }), ECC200_INVALID_ARGUMENT);
    EXPECT_EQ(status([](ecc200_picture& p) { p.module_px = -2; }), ECC200_INVALID_ARGUMENT);
    EXPECT_EQ(status([](ecc200_picture& p) { p.dpi = -96; }), ECC200_INVALID_ARGUMENT);
    EXPECT_EQ(status([](ecc200_picture&) {}, 0), ECC200_INVALID_ARGUMENT);
    EXPECT_EQ(status([](ecc200_picture&) {}, 99), ECC200_INVALID_ARGUMENT);  // no such format
    // A ZPL field past ^GF's 99999 bytes: 1400 x 1400 dots.
    EXPECT_EQ(status([](ecc200_picture& p) { p.module_px = 100; }, ECC200_FORMAT_ZPL), ECC200_PICTURE_TOO_LARGE);
    EXPECT_EQ(status([](ecc200_picture& p) { p.width = 32768; p.height = 10; p.allow_crop = 1; }, ECC200_FORMAT_WMF),
              ECC200_PICTURE_TOO_LARGE);
    EXPECT_EQ(status([](ecc200_picture& p) { p.module_px = 20000000; }), ECC200_PICTURE_TOO_LARGE);
    EXPECT_EQ(status([](ecc200_picture& p) { p.module_cm = 1e30; }), ECC200_PICTURE_TOO_LARGE);
    EXPECT_EQ(status([](ecc200_picture& p) { p.quiet_zone = std::numeric_limits<int32_t>::max(); }),
              ECC200_PICTURE_TOO_LARGE);
    // A later release's larger struct is read up to what this one knows.
    struct Later {
        ecc200_picture picture;
        int32_t newField;
    } later{};
    ecc200_picture_init(&later.picture);
    later.picture.struct_size = sizeof later;
    EXPECT_FALSE(Render(symbol.handle, later.picture, ECC200_FORMAT_BMP).empty());
    // NULLs.
    std::size_t size = 0;
    EXPECT_EQ(ecc200_render(nullptr, nullptr, ECC200_FORMAT_BMP, nullptr, 0, &size, nullptr), ECC200_INVALID_ARGUMENT);
    EXPECT_EQ(ecc200_render(symbol.handle, nullptr, ECC200_FORMAT_BMP, nullptr, 0, nullptr, nullptr),
              ECC200_INVALID_ARGUMENT);
    EXPECT_EQ(ecc200_save(symbol.handle, nullptr, ECC200_FORMAT_BMP, nullptr, nullptr), ECC200_INVALID_ARGUMENT);
    ecc200_symbol* none = symbol.handle;
    EXPECT_EQ(ecc200_encode(nullptr, 3, nullptr, &none, nullptr), ECC200_INVALID_ARGUMENT);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(ecc200_symbol_rows(nullptr), 0);
    EXPECT_EQ(ecc200_symbol_modules(nullptr), nullptr);
    EXPECT_STREQ(ecc200_status_text(ECC200_SYMBOL_CROPPED), "symbol cropped");
    EXPECT_STREQ(ecc200_status_text(99), "unknown status");
}

TEST_F(CInterfaceTest, AFailedSaveKeepsTheOldFileAndNamesTheCause) {
    Symbol symbol("kept");
    const std::string path = dir_.file("old.bmp");
    test::WriteFileBytes(path, "old");
    ecc200_diagnostic diagnostic{sizeof diagnostic, 0, 0, 0, {}, 0, 0};
    EXPECT_EQ(ecc200_save(symbol.handle, nullptr, 0, path.c_str(), &diagnostic), ECC200_INVALID_ARGUMENT);
    const std::string missing = dir_.file("no/such.bmp");
    EXPECT_EQ(ecc200_save(symbol.handle, nullptr, ECC200_FORMAT_BMP, missing.c_str(), &diagnostic), ECC200_FILE_ERROR);
    EXPECT_EQ(diagnostic.system_error, ENOENT);
    EXPECT_EQ(test::ReadFileBytes(path), "old");
}

TEST_F(CInterfaceTest, MessagesUpToTheLargestSymbolWithZeroBytesAndPast1999Bytes) {
    Symbol largest(std::string(3116, '1'));
    ASSERT_EQ(largest.status, ECC200_OK);
    EXPECT_EQ(ecc200_symbol_rows(largest.handle), 144);
    std::size_t count = 0;
    ecc200_symbol_data_codewords(largest.handle, &count);
    EXPECT_EQ(count, 1558u);
    ecc200_symbol_codewords(largest.handle, &count);
    EXPECT_EQ(count, 2178u);

    Symbol tooLong(std::string(3117, '1'));
    EXPECT_EQ(tooLong.status, ECC200_MESSAGE_TOO_LONG);
    EXPECT_EQ(tooLong.handle, nullptr);
    EXPECT_EQ(tooLong.diagnostic.codewords_needed, 1559);
    EXPECT_EQ(tooLong.diagnostic.capacity, 1558);

    // Zero bytes are data, and a message of 2500 bytes is not cut.
    const std::string zeros("a\0b\0", 4);
    Symbol withZeros(zeros);
    const uint8_t* data = ecc200_symbol_data_codewords(withZeros.handle, &count);
    EXPECT_EQ(Bytes(data, data + count), (Bytes{98, 1, 99, 1}));
    std::string long2500(2500, '5');
    long2500[7] = 'x';
    Symbol past1999(long2500);
    const std::vector<std::uint8_t> expected = test::EncodeWith({{long2500}}, LiteralAsciiRequest()).dataCodewords();
    data = ecc200_symbol_data_codewords(past1999.handle, &count);
    ASSERT_EQ(count, expected.size());
    EXPECT_TRUE(std::equal(data, data + count, expected.begin()));
}

// The options reach the complete encoder; what it cannot do as asked is
// refused with its reason, and small structs are refused.
TEST_F(CInterfaceTest, EncodingOptionsAndTheirRefusals) {
    ecc200_encode_options options;
    ecc200_encode_options_init(&options);
    options.shape = ECC200_SHAPE_RECTANGLE;
    Symbol rectangle("abc", &options);
    ASSERT_EQ(rectangle.status, ECC200_OK);
    EXPECT_LT(ecc200_symbol_rows(rectangle.handle), ecc200_symbol_columns(rectangle.handle));
    ecc200_encode_options_init(&options);
    options.encodation = ECC200_ENCODATION_X12;
    Symbol x12("AB1a", &options);
    EXPECT_EQ(x12.status, ECC200_INVALID_DATA);
    EXPECT_NE(std::string(x12.diagnostic.message).find("X12"), std::string::npos) << x12.diagnostic.message;
    ecc200_encode_options_init(&options);
    options.gs1 = 1;
    Symbol gs1("(01)09506000134353", &options);  // the check digit is 2
    EXPECT_EQ(gs1.status, ECC200_INVALID_DATA);
    EXPECT_NE(std::string(gs1.diagnostic.message).find("01"), std::string::npos) << gs1.diagnostic.message;
    options.reader_init = 1;
    EXPECT_NE(Symbol("(01)09506000134352", &options).status, ECC200_OK);
    options.struct_size = 4;
    EXPECT_EQ(Symbol("abc", &options).status, ECC200_INVALID_ARGUMENT);
    // Segments under their own ECIs; without ECIs, the message end to end.
    const ecc200_segment withEcis[] = {{"ab", 2, 3}, {"\xCE\xB1", 2, 26}};
    ecc200_symbol* mixed = nullptr;
    ASSERT_EQ(ecc200_encode_segments(withEcis, 2, nullptr, &mixed, nullptr), ECC200_OK);
    ecc200_symbol_free(mixed);
    const ecc200_segment segments[] = {{"ab", 2, 0}, {"cd", 2, 0}};
    ecc200_symbol* joined = nullptr;
    ASSERT_EQ(ecc200_encode_segments(segments, 2, nullptr, &joined, nullptr), ECC200_OK);
    Symbol whole("abcd");
    EXPECT_EQ(std::memcmp(ecc200_symbol_modules(joined), ecc200_symbol_modules(whole.handle), 100), 0);
    ecc200_symbol_free(joined);
}

}  // namespace
}  // namespace ecc200
