// The three ways a symbol leaves the library: an enhanced metafile on the
// clipboard, a placeable Windows metafile file and a one-bit BMP file. Each
// draws on a surface of its own, delivers it only when the whole drawing
// succeeded, and never leaves a half-written or emptied file behind.
#pragma once

#include <cstdint>
#include <memory>

namespace ecc200 {

struct SymbolJob;
namespace platform {
class EnhMetafile;
}

// Records the drawing as an enhanced metafile; nothing when the picture is
// empty, the message is too long or the recording fails.
std::unique_ptr<platform::EnhMetafile> RecordEnhMetafile(const SymbolJob& job, std::int32_t& modulePixels);

bool CopyToClipboard(const SymbolJob& job, std::int32_t& modulePixels);
bool SaveAsWmf(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels);
bool SaveAsBmp(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels);

}  // namespace ecc200
