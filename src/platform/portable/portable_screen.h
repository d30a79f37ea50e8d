// The resolution of the screen that the portable backend stands in for.
//
// Real GDI reports the dots per inch the user configured (96 by default, 120
// or 144 at larger text sizes), and a process keeps the value it started
// with. The portable screen does the same, its dots per inch chosen in one of
// two ways, the first that applies:
//
//   1. SetPortableScreenDpi(dpi), for tests and the tool's --dpi option;
//   2. the environment variable ECC200_SCREEN_DPI, a decimal number read
//      once, at the first use of the screen's metrics
//      (e.g. `ECC200_SCREEN_DPI=120 ecc200 --bmp out.bmp`);
//
// and 96 otherwise. A value that is not a positive whole number selects 96.
// Both axes share the value; the screen is always 1024 x 768 pixels, and its
// size in millimetres is round(pixels x 25.4 / dpi) as GDI reports it (271 x
// 203 at 96 dpi, 217 x 163 at 120).
#pragma once

namespace ecc200::platform {

constexpr int kDefaultScreenDpi = 96;

void SetPortableScreenDpi(int dpi);

}  // namespace ecc200::platform
