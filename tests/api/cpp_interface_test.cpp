// The header-only C++ interface (ecc200.hpp) on the C functions: values,
// rendering into a reused vector, saving, and both ways of reporting errors.
#include "ecc200.hpp"

#include <gtest/gtest.h>

#include <string>
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
    ecc200::EncodeOptions rectangle;
    rectangle.shape = ecc200::Shape::rectangle;
    EXPECT_EQ(ecc200::encode("abc", rectangle, ec).rows(), 0);
    EXPECT_EQ(ec, ecc200::Status::unsupported);
    ecc200::render(symbol, {}, ecc200::Format::bmp, ec);
    EXPECT_FALSE(ec);
}

}  // namespace
