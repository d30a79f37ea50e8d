#include "api/settings.h"

#include <cstring>
#include <limits>

namespace ecc200 {

std::string_view DMSettings::messageBytes() const {
    // The field is always terminated within its 2000 bytes.
    return std::string_view(message.data(), std::strlen(message.data()));
}

DMSettings& Settings() {
    static DMSettings settings;
    return settings;
}

std::mutex& ApiMutex() {
    static std::mutex mutex;
    return mutex;
}

void ApplyDefaults(DMSettings& settings) {
    settings.borderStyle = 0;
    settings.orientation = 0;
    settings.moduleSize = kDefaultModuleSize;
    settings.backgroundColour = kWhite;
    settings.barColour = 0;
    ApplyMessage(settings, kDefaultMessage.data());
    settings.height = kDefaultHeight;
    settings.width = kDefaultWidth;
}

void ApplySize(DMSettings& settings, int width, int height) {
    settings.height = height > 0 ? height : kDefaultHeight;
    settings.width = width > 0 ? width : kDefaultWidth;
}

void ApplyMessage(DMSettings& settings, const char* text) {
    // NULL stores the empty message; a longer string keeps its first 1999
    // bytes. Never reads past the terminator or past 1999 bytes.
    std::size_t length = 0;
    if (text != nullptr) {
        while (length < static_cast<std::size_t>(kMaxMessageBytes) && text[length] != '\0') ++length;
        std::memcpy(settings.message.data(), text, length);
    }
    settings.message[length] = '\0';
}

void ApplyInfo(DMSettings& settings, double moduleSize, int orientation, int borderStyle) {
    // "moduleSize > 0" is false for NaN too. A size beyond the float range is
    // stored as infinity rather than converted (out-of-range conversion is
    // undefined); a positive size below it rounds, possibly to 0.
    if (moduleSize > 0) {
        const double largest = std::numeric_limits<float>::max();
        settings.moduleSize = moduleSize > largest ? std::numeric_limits<float>::infinity() : static_cast<float>(moduleSize);
    } else {
        settings.moduleSize = kDefaultModuleSize;
    }
    settings.borderStyle = static_cast<std::int16_t>(borderStyle >= 0 && borderStyle <= 2 ? borderStyle : 0);
    settings.orientation = static_cast<std::int16_t>(orientation >= 0 && orientation <= 3 ? orientation : 0);
}

std::uint32_t ColourFromComponents(int red, int green, int blue) {
    const auto component = [](int value) { return static_cast<std::uint32_t>(value >= 0 && value <= 255 ? value : 0); };
    return component(red) | component(green) << 8 | component(blue) << 16;
}

}  // namespace ecc200
