// Every EMF describes the picture at its own resolution: the per-call
// interface's EMF asked at 120 or 144 dpi is, byte for byte, the EMF the
// nine record on a screen of that resolution (ECC200_SCREEN_DPI), its
// rclFrame and reference device included, while the screen stays at 96.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "api/nine_adapter.h"
#include "ecc200.h"
#include "platform/portable/portable_screen.h"
#include "support/nine_settings.h"

namespace ecc200 {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes NinesEmf(const std::string& message, const DMSettings& style, int screenDpi) {
    platform::SetPortableScreenDpi(screenDpi);
    std::int32_t pixels = 0;
    const auto metafile = RecordEnhMetafile(test::WithMessage(style, message), pixels);
    platform::SetPortableScreenDpi(platform::kDefaultScreenDpi);
    return metafile ? metafile->GetBits() : Bytes{};
}

Bytes PerCallEmf(const std::string& message, const DMSettings& style, int dpi) {
    ecc200_symbol* symbol = nullptr;
    EXPECT_EQ(ecc200_encode(message.data(), message.size(), nullptr, &symbol, nullptr), ECC200_OK);
    ecc200_picture picture;
    ecc200_picture_init(&picture);
    picture.width = style.width;
    picture.height = style.height;
    picture.module_cm = style.moduleSize;
    picture.dpi = dpi;
    picture.quarter_turns = style.orientation;
    picture.border = style.borderStyle;
    std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    EXPECT_EQ(ecc200_render_alloc(symbol, &picture, ECC200_FORMAT_EMF, &bytes, &size, nullptr), ECC200_OK);
    Bytes emf(bytes, bytes + size);
    ecc200_free(bytes);
    ecc200_symbol_free(symbol);
    return emf;
}

TEST(EmfResolution, PerCallEmfIsTheNinesOnAScreenOfItsResolution) {
    const std::string message = "20240117123456";
    for (const int dpi : {120, 144}) {
        for (const DMSettings& style : {test::NineSettings(300, 200, 0.1f, 0, BorderStyle::None),
                                        test::NineSettings(257, 331, 0.07f, 1, BorderStyle::Dashed)}) {
            const Bytes nines = NinesEmf(message, style, dpi);
            ASSERT_GT(nines.size(), 108u);
            EXPECT_TRUE(PerCallEmf(message, style, dpi) == nines) << dpi << " dpi, " << style.width;
        }
    }
}

}  // namespace
}  // namespace ecc200
