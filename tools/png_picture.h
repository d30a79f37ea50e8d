// PNG pictures: the very pixels of the one-bit bitmap (the same drawing and
// the same conversion as the BMP output), as a two-entry palette image in
// the bar and background colours, its resolution recorded in pHYs so that a
// document places it at its physical size.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace ecc200 {
struct SymbolJob;
}

namespace ecc200::tool {

// The PNG file's bytes, or nothing with errno set: EFBIG for a picture the
// one-bit bitmap cannot hold, ENOMEM when memory cannot be had, EINVAL for a
// message too long for any symbol.
std::optional<std::vector<std::uint8_t>> PngPicture(const SymbolJob& job, std::int32_t& modulePixels);

}  // namespace ecc200::tool
