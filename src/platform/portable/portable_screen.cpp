#include "platform/portable/portable_screen.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <mutex>

#include "platform/drawing_surface.h"
#include "platform/emf_records.h"

namespace ecc200::platform {
namespace {

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

}  // namespace

void SetPortableScreenDpi(int dpi) {
    std::lock_guard<std::mutex> lock(dpiMutex);
    chosenDpi = ValidDpiOrDefault(dpi);
}

ScreenMetrics GetScreenMetrics() {
    return ScreenAt(CurrentDpi());
}

}  // namespace ecc200::platform
