// GetScreenMetrics on Windows: the screen's device context, asked and
// released at once.
#include "platform/windows/gdi_drawing.h"

namespace ecc200::platform {

ScreenMetrics GetScreenMetrics() {
    const HDC screen = ::GetDC(nullptr);
    const ScreenMetrics metrics{
        ::GetDeviceCaps(screen, LOGPIXELSX), ::GetDeviceCaps(screen, LOGPIXELSY),
        ::GetDeviceCaps(screen, HORZRES),    ::GetDeviceCaps(screen, VERTRES),
        ::GetDeviceCaps(screen, HORZSIZE),   ::GetDeviceCaps(screen, VERTSIZE),
    };
    ::ReleaseDC(nullptr, screen);
    return metrics;
}

}  // namespace ecc200::platform
