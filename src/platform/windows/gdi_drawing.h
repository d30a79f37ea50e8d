// The drawing operations shared by every Windows surface (metafile
// recorders and the memory bitmap): each passes straight to GDI on the
// surface's device context.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "platform/drawing_surface.h"

namespace ecc200::platform {

inline HBRUSH BrushHandle(Brush brush) {
    return reinterpret_cast<HBRUSH>(brush.value);
}

// Surface is one of the interfaces of drawing_surface.h; the derived class
// owns the device context and ends its life.
template <class Surface>
class GdiDrawing : public Surface {
public:
    Brush CreateSolidBrush(ColourRef colour) override {
        return Brush{reinterpret_cast<std::uintptr_t>(::CreateSolidBrush(colour))};
    }

    void DeleteBrush(Brush brush) override { ::DeleteObject(BrushHandle(brush)); }

    void FillRect(const PixelRect& rect, Brush brush) override {
        const RECT area{rect.left, rect.top, rect.right, rect.bottom};
        ::FillRect(dc_, &area, BrushHandle(brush));
    }

    void MoveToEx(std::int32_t x, std::int32_t y) override { ::MoveToEx(dc_, x, y, nullptr); }
    void LineTo(std::int32_t x, std::int32_t y) override { ::LineTo(dc_, x, y); }

    void SetMapModeText() override { ::SetMapMode(dc_, MM_TEXT); }

    void SetWindowExtEx(std::int32_t width, std::int32_t height) override {
        ::SetWindowExtEx(dc_, width, height, nullptr);
    }

    void SetWindowOrgEx(std::int32_t x, std::int32_t y) override {
        ::SetWindowOrgEx(dc_, x, y, nullptr);
    }

protected:
    explicit GdiDrawing(HDC dc) : dc_(dc) {}
    HDC dc() const { return dc_; }

private:
    HDC dc_;
};

}  // namespace ecc200::platform
