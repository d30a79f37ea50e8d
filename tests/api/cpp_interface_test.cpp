// The header-only C++ interface (ecc200.hpp) on the C functions: values,
// rendering into a reused vector, saving, and both ways of reporting errors.
#include "ecc200.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/portable/portable_screen.h"
#include "support/temp_dir.h"

namespace {

TEST(CppInterface, EncodesRendersAndSavesTheCInterfacesBytes) {
    ecc200::platform::SetPortableScreenDpi(96);
    const ecc200::Symbol symbol = ecc200::encode(std::string("C++\0!", 5));
    ASSERT_EQ(symbol.rows(), 12);
    EXPECT_TRUE(symbol.dark(11, 0));   // the finder's corner
    EXPECT_FALSE(symbol.dark(0, 11));  // the clock track's last module
    EXPECT_FALSE(symbol.dark(-1, 0));
    EXPECT_EQ(symbol.data_codewords(), (std::vector<std::uint8_t>{68, 44, 44, 1, 34}));

    ecc200::Picture picture;
    picture.module_px = 3;
    picture.quarter_turns = 1;
    picture.bar = {0, 0, 128};
    std::vector<std::uint8_t> out(5, 0xAA);  // overwritten, capacity reused
    ecc200::render(symbol, picture, ecc200::Format::emf, out);
    ecc200_picture c;
    ecc200_picture_init(&c);
    c.module_px = 3;
    c.quarter_turns = 1;
    c.bar = 0x000080;
    std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    ASSERT_EQ(ecc200_render_alloc(symbol.handle(), &c, ECC200_FORMAT_EMF, &bytes, &size, nullptr), ECC200_OK);
    EXPECT_EQ(out, std::vector<std::uint8_t>(bytes, bytes + size));
    ecc200_free(bytes);

    ecc200::test::TempDir dir;
    ecc200::save(symbol, picture, dir.file("label.wmf"), ecc200::Format::wmf);
    EXPECT_EQ(ecc200::test::ReadFileBytes(dir.file("label.wmf")).substr(0, 4), "\xD7\xCD\xC6\x9A");

    // Modules of 0.05 cm at 96 dpi: one whole pixel in a raster, exactly
    // 1.89 pixels in SVG, each picture fitted to its own modules.
    ecc200::Picture small;
    small.module_cm = 0.05;
    const ecc200::Layout raster = ecc200::layout(symbol, small, ecc200::Format::png);
    EXPECT_EQ(raster.module_px, 1);
    EXPECT_EQ(raster.width, 12 + 4);
    const ecc200::Layout svg = ecc200::layout(symbol, small, ecc200::Format::svg);
    EXPECT_NEAR(svg.svg_module_px, 96 * 0.05 / 2.54, 1e-9);
    EXPECT_EQ(svg.width, 31);  // 16 modules of 1.89 pixels, rounded up
    EXPECT_EQ(svg.dpi, 96);
}

TEST(CppInterface, ErrorsThrowWithTheStatusOrSetTheErrorCode) {
    const ecc200::Symbol symbol = ecc200::encode("errors");
    try {
        ecc200::encode(std::string(3117, '9'));
        FAIL() << "no exception";
    } catch (const ecc200::Error& error) {
        EXPECT_EQ(error.code(), ecc200::Status::message_too_long);
        EXPECT_NE(std::string(error.what()).find("1559"), std::string::npos) << error.what();
    }
    try {
        ecc200::save(symbol, {}, "/no/such/dir/x.bmp", ecc200::Format::bmp);
        FAIL() << "no exception";
    } catch (const ecc200::Error& error) {
        EXPECT_EQ(error.code(), ecc200::Status::file_error);
        EXPECT_EQ(error.system_error(), ENOENT);
    }
    std::error_code ec;
    ecc200::Picture cut;
    cut.width = 10;
    cut.height = 10;
    EXPECT_TRUE(ecc200::render(symbol, cut, ecc200::Format::bmp, ec).empty());
    EXPECT_EQ(ec, ecc200::Status::symbol_cropped);
    EXPECT_EQ(ec.message(), "symbol cropped");
    ecc200::EncodeOptions x12;
    x12.encodation = ecc200::Encodation::x12;
    EXPECT_EQ(ecc200::encode("abc", x12, ec).rows(), 0);  // X12 holds no lowercase
    EXPECT_EQ(ec, ecc200::Status::invalid_data);
    ecc200::render(symbol, {}, ecc200::Format::bmp, ec);
    EXPECT_FALSE(ec);
}

TEST(CppInterface, SaveTakesTheFormatFromTheExtension) {
    const ecc200::Symbol symbol = ecc200::encode("extension");
    ecc200::test::TempDir dir;
    for (const auto& [name, format] : {std::pair{"a.PNG", ecc200::Format::png}, std::pair{"b.svg", ecc200::Format::svg},
                                       std::pair{"c.Emf", ecc200::Format::emf}}) {
        ecc200::save(symbol, {}, dir.file(name));
        const std::vector<std::uint8_t> expected = ecc200::render(symbol, {}, format);
        EXPECT_EQ(ecc200::test::ReadFileBytes(dir.file(name)), std::string(expected.begin(), expected.end())) << name;
    }
    for (const char* name : {"d.gif", "e", "f.png.txt"}) {
        EXPECT_THROW(ecc200::save(symbol, {}, dir.file(name)), ecc200::Error) << name;
        std::error_code ec;
        ecc200::save(symbol, {}, dir.file(name), ec);
        EXPECT_EQ(ec, ecc200::Status::invalid_argument) << name;
        EXPECT_FALSE(std::filesystem::exists(dir.file(name))) << name;
    }
}

// The Diagnostic overloads report what the exception says, with its numbers,
// and clear what a failure before left.
TEST(CppInterface, DiagnosticCarriesTheExceptionsWordsAndNumbers) {
    const std::string tooLong(3200, 'x');
    ecc200::Diagnostic diagnostic;
    EXPECT_EQ(ecc200::encode(tooLong, {}, diagnostic).rows(), 0);
    EXPECT_EQ(diagnostic.code, ecc200::Status::message_too_long);
    EXPECT_EQ(diagnostic.capacity, 1558);
    EXPECT_GT(diagnostic.codewords_needed, 1558);
    try {
        ecc200::encode(tooLong);
        FAIL() << "no exception";
    } catch (const ecc200::Error& error) {
        // what() is the words, then (as std::system_error has it) the code's message.
        EXPECT_EQ(error.what(), diagnostic.message + ": message too long");
        EXPECT_EQ(error.codewords_needed(), diagnostic.codewords_needed);
        EXPECT_EQ(error.capacity(), 1558);
        EXPECT_NE(diagnostic.message.find(std::to_string(diagnostic.codewords_needed)), std::string::npos);
    }
    std::error_code ec;
    ecc200::encode_segments({{tooLong, 0}}, {}, ec);
    EXPECT_EQ(ec, ecc200::Status::message_too_long);

    const ecc200::Symbol symbol = ecc200::encode_segments({{"ab", 0}, {"\xCE\xA9", 26}}, {}, diagnostic);
    EXPECT_GT(symbol.rows(), 0);
    EXPECT_FALSE(diagnostic.code);
    EXPECT_EQ(diagnostic.message, "");
    EXPECT_EQ(diagnostic.codewords_needed, 0);

    ecc200::save(symbol, {}, "/no/such/dir/x.png", diagnostic);
    EXPECT_EQ(diagnostic.code, ecc200::Status::file_error);
    EXPECT_EQ(diagnostic.system_error, ENOENT);
    EXPECT_NE(diagnostic.message.find("/no/such/dir/x.png"), std::string::npos) << diagnostic.message;
    ecc200::save(symbol, {}, "x.gif", diagnostic);
    EXPECT_EQ(diagnostic.code, ecc200::Status::invalid_argument);
    EXPECT_NE(diagnostic.message.find(".png"), std::string::npos) << diagnostic.message;
    ecc200::Picture cut;
    cut.width = 10;
    cut.height = 10;
    EXPECT_TRUE(ecc200::render(symbol, cut, ecc200::Format::png, diagnostic).empty());
    EXPECT_EQ(diagnostic.code, ecc200::Status::symbol_cropped);
    ecc200::layout(symbol, cut, ecc200::Format::bmp, diagnostic);
    EXPECT_EQ(diagnostic.code, ecc200::Status::symbol_cropped);
}

}  // namespace
