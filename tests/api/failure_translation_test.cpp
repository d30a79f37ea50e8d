// One failure, each surface's translation of it: the C status and
// diagnostic, the C++ ecc200::Error, the nine's errno. The same cause gives
// the same numbers on every surface.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>

#include <ecc200.hpp>

#include "support/temp_dir.h"

namespace ecc200 {
namespace {

ecc200_diagnostic Diagnostic() {
    ecc200_diagnostic diagnostic{};
    diagnostic.struct_size = sizeof diagnostic;
    return diagnostic;
}

template <typename Call>
Error Thrown(Call call) {
    try {
        call();
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "nothing thrown";
    return Error(Status::ok, "");
}

// The message too long: the codewords it needs against the capacity, the
// same in the diagnostic and the Error; the nine say E2BIG.
TEST(FailureTranslation, AMessageTooLongCarriesItsCodewordsOnEverySurface) {
    const std::string message(2000, '\xFF');
    ecc200_diagnostic diagnostic = Diagnostic();
    ecc200_symbol* symbol = nullptr;
    ASSERT_EQ(ecc200_encode(message.data(), message.size(), nullptr, &symbol, &diagnostic), ECC200_MESSAGE_TOO_LONG);
    EXPECT_GT(diagnostic.codewords_needed, diagnostic.capacity);
    EXPECT_GT(diagnostic.capacity, 0);
    const Error error = Thrown([&] { encode(message); });
    EXPECT_EQ(error.code(), Status::message_too_long);
    EXPECT_EQ(error.codewords_needed(), diagnostic.codewords_needed);
    EXPECT_EQ(error.capacity(), diagnostic.capacity);
    EXPECT_EQ(std::string(error.what()).rfind(diagnostic.message, 0), 0u) << error.what();

    const test::TempDir dir;
    DMSetDefault();
    DMSetMessage(message.c_str());
    errno = 0;
    EXPECT_EQ(DMSaveAsBMP(dir.file("a.bmp").c_str()), 0);
    EXPECT_EQ(errno, E2BIG);
}

// A size that cuts the symbol: the picture that holds it is the one the
// library lays out fitted to it, in the diagnostic and the Error alike.
TEST(FailureTranslation, ACroppedSymbolNamesThePictureThatHoldsIt) {
    const Symbol symbol = encode("cropped");
    for (const Format format : {Format::bmp, Format::svg}) {
        Picture picture;
        picture.module_cm = 0.13;
        picture.quarter_turns = 1;
        picture.quiet_zone = 3;
        const Layout fitted = layout(symbol, picture, format);
        Picture bare = picture;
        bare.quiet_zone = 0;
        picture.width = layout(symbol, bare, format).width - 1;  // one pixel narrower than the symbol
        picture.height = fitted.height;
        const Error error = Thrown([&] { layout(symbol, picture, format); });
        EXPECT_EQ(error.code(), Status::symbol_cropped);
        EXPECT_EQ(error.needed_width(), fitted.width) << static_cast<int>(format);
        EXPECT_EQ(error.needed_height(), fitted.height) << static_cast<int>(format);
    }
}

// A file that cannot be written: errno's own number through the C
// diagnostic, the Error and the nine; a diagnostic of the first release's
// size is written up to its message and no further.
TEST(FailureTranslation, AFileErrorKeepsTheSystemsNumberOnEverySurface) {
    const test::TempDir dir;
    const std::string missing = dir.file("no/such.bmp");
    const Symbol symbol = encode("file");
    const Error error = Thrown([&] { save(symbol, {}, missing, Format::bmp); });
    EXPECT_EQ(error.code(), Status::file_error);
    EXPECT_EQ(error.system_error(), ENOENT);

    ecc200_diagnostic first;
    std::memset(&first, 0x5A, sizeof first);
    first.struct_size = offsetof(ecc200_diagnostic, needed_width);
    EXPECT_EQ(ecc200_save(symbol.handle(), nullptr, ECC200_FORMAT_BMP, missing.c_str(), &first), ECC200_FILE_ERROR);
    EXPECT_EQ(first.system_error, ENOENT);
    EXPECT_NE(std::strstr(first.message, std::strerror(ENOENT)), nullptr) << first.message;
    EXPECT_EQ(first.needed_width, 0x5A5A5A5A);  // past its struct_size: not ours to write

    DMSetDefault();
    errno = 0;
    EXPECT_EQ(DMSaveAsWMF(missing.c_str()), 0);
    EXPECT_EQ(errno, ENOENT);
}

}  // namespace
}  // namespace ecc200
