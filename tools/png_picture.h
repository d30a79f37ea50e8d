// PNG pictures, until the library writes them: the very pixels of the
// library's one-bit bitmap, as a two-entry palette image in the bar and
// background colours, the resolution recorded in pHYs so that a document
// places it at its physical size.
#pragma once

#include <cstdint>
#include <vector>

#include <ecc200.hpp>

namespace ecc200::tool {

// The PNG file's bytes at `dpi`; throws ecc200::Error as ecc200::render
// does, and Status::unsupported in a build without libpng.
std::vector<std::uint8_t> PngPicture(const Symbol& symbol, const Picture& picture, int dpi);

}  // namespace ecc200::tool
