#include "library_saving.h"

#include "output/outputs.h"
#include "platform/drawing_surface.h"

namespace ecc200::tool {

// deferFlush: a replaced file is not flushed on its own; the batch flushes
// the file systems it wrote to once at its end.
bool SaveBmpFile(const std::string& path, const SymbolJob& job, std::int32_t& modulePixels, bool deferFlush) {
    return SaveAsBmp(path.c_str(), job, modulePixels, platform::SaveOptions{deferFlush});
}

bool SaveWmfFile(const std::string& path, const SymbolJob& job, std::int32_t& modulePixels, bool deferFlush) {
    return SaveAsWmf(path.c_str(), job, modulePixels, platform::SaveOptions{deferFlush});
}

bool SaveBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, bool deferFlush) {
    return platform::ReplaceFileWith(path.c_str(), {{bytes.data(), bytes.size()}}, platform::SaveOptions{deferFlush});
}

bool FlushFilesBeside(const std::string& path) { return platform::FlushFileSystemOf(path.c_str()); }

}  // namespace ecc200::tool
