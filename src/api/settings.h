// The process-wide settings record that the exported setters write and the
// outputs read, and the lock that serialises every exported call.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string_view>

namespace ecc200 {

constexpr int kMessageFieldSize = 2000;  // 1999 bytes and the terminator
constexpr int kMaxMessageBytes = kMessageFieldSize - 1;

struct DMSettings {
    std::uint32_t barColour = 0;         // COLORREF: red in the low byte, then green, then blue
    std::uint32_t backgroundColour = 0;
    std::int32_t width = 0;              // picture size in pixels
    std::int32_t height = 0;
    std::int16_t borderStyle = 0;        // 0 none, 1 dashed, 2 solid
    float moduleSize = 0.0f;             // module edge in centimetres
    std::int16_t orientation = 0;        // counter-clockwise quarter turns, 0 to 3
    std::array<char, kMessageFieldSize> message{};  // zero-terminated

    std::string_view messageBytes() const;
};

// The record as the library was loaded: all zero.
DMSettings& Settings();

// Taken by every exported function for its whole duration.
std::mutex& ApiMutex();

// Values that DMSetDefault stores.
constexpr std::int32_t kDefaultWidth = 500;
constexpr std::int32_t kDefaultHeight = 300;
constexpr float kDefaultModuleSize = 0.2f;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::string_view kDefaultMessage = "12";

// The setters' rules, on a record passed in (the exports apply them to
// Settings()).
void ApplyDefaults(DMSettings& settings);
void ApplySize(DMSettings& settings, int width, int height);
void ApplyMessage(DMSettings& settings, const char* text);
void ApplyInfo(DMSettings& settings, double moduleSize, int orientation, int borderStyle);
std::uint32_t ColourFromComponents(int red, int green, int blue);

}  // namespace ecc200
