#include "platform/portable/portable_screen.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <mutex>

#include "platform/drawing_surface.h"

namespace ecc200::platform {
namespace {

constexpr std::int32_t kScreenWidthPixels = 1024;
constexpr std::int32_t kScreenHeightPixels = 768;
constexpr char kDpiVariable[] = "ECC200_SCREEN_DPI";

std::mutex dpiMutex;
int chosenDpi = 0;  // 0 until set or read from the environment

int ValidDpiOrDefault(long dpi) {
    return dpi > 0 && dpi <= std::numeric_limits<int>::max() ? static_cast<int>(dpi) : kDefaultScreenDpi;
}

int DpiFromEnvironment() {
    const char* text = std::getenv(kDpiVariable);
    if (text == nullptr || *text == '\0') return kDefaultScreenDpi;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0') return kDefaultScreenDpi;
    return ValidDpiOrDefault(value);
}

int CurrentDpi() {
    std::lock_guard<std::mutex> lock(dpiMutex);
    if (chosenDpi == 0) chosenDpi = DpiFromEnvironment();
    return chosenDpi;
}

// round(pixels x 25.4 / dpi), halves rounded up, in exact integers:
// pixels x 254 / (10 x dpi).
std::int32_t Millimetres(std::int32_t pixels, int dpi) {
    const std::int64_t tenthsDpi = 10 * static_cast<std::int64_t>(dpi);
    return static_cast<std::int32_t>((static_cast<std::int64_t>(pixels) * 254 + tenthsDpi / 2) / tenthsDpi);
}

}  // namespace

void SetPortableScreenDpi(int dpi) {
    std::lock_guard<std::mutex> lock(dpiMutex);
    chosenDpi = ValidDpiOrDefault(dpi);
}

ScreenMetrics GetScreenMetrics() {
    const int dpi = CurrentDpi();
    return ScreenMetrics{dpi,
                         dpi,
                         kScreenWidthPixels,
                         kScreenHeightPixels,
                         Millimetres(kScreenWidthPixels, dpi),
                         Millimetres(kScreenHeightPixels, dpi)};
}

}  // namespace ecc200::platform
