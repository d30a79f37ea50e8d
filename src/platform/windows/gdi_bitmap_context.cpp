// The memory bitmap on Windows: a memory context compatible with the screen
// with a screen-compatible bitmap selected into it, converted to one bit per
// pixel by GetDIBits.
#include "platform/windows/gdi_drawing.h"

namespace ecc200::platform {
namespace {

// Where GetMonochromeDIBits finds the header and puts the rows: the 40-byte
// BITMAPINFOHEADER, then the two RGBQUADs of the colour table.
constexpr std::size_t kColourTableOffset = 40;
constexpr std::size_t kRowsOffset = kColourTableOffset + 2 * 4;

class GdiBitmapContext final : public GdiDrawing<BitmapContext> {
public:
    GdiBitmapContext(HDC screen, HDC memory, HBITMAP bitmap, std::int32_t height)
        : GdiDrawing(memory), screen_(screen), bitmap_(bitmap), height_(height) {}

    ~GdiBitmapContext() override {
        ::DeleteDC(dc());
        ::ReleaseDC(nullptr, screen_);
        ::DeleteObject(bitmap_);
    }

    GdiBitmapContext(const GdiBitmapContext&) = delete;
    GdiBitmapContext& operator=(const GdiBitmapContext&) = delete;

    // Converted through a second screen context; the bitmap stays selected
    // into the memory context, which GDI accepts for reading.
    void GetMonochromeDIBits(std::uint8_t* block) override {
        const HDC conversion = ::GetDC(nullptr);
        ::GetDIBits(conversion, bitmap_, 0, static_cast<UINT>(height_), block + kRowsOffset,
                    reinterpret_cast<BITMAPINFO*>(block), DIB_RGB_COLORS);
        ::ReleaseDC(nullptr, conversion);
    }

private:
    HDC screen_;
    HBITMAP bitmap_;
    std::int32_t height_;
};

}  // namespace

std::unique_ptr<BitmapContext> CreateBitmapContext(std::int32_t width, std::int32_t height) {
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    if (memory == nullptr || bitmap == nullptr) {
        if (bitmap != nullptr) {
            ::DeleteObject(bitmap);
        }
        if (memory != nullptr) {
            ::DeleteDC(memory);
        }
        ::ReleaseDC(nullptr, screen);
        return nullptr;
    }
    ::SelectObject(memory, bitmap);
    return std::make_unique<GdiBitmapContext>(screen, memory, bitmap, height);
}

}  // namespace ecc200::platform
