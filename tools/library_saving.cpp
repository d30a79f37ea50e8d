#include "library_saving.h"

#include "output/outputs.h"
#include "platform/drawing_surface.h"
#include "system_io.h"

namespace ecc200::tool {

// Every save flushes its own file in this version of the library, so
// deferFlush only makes the final flush; with platform::SaveOptions it is
// passed on as SaveOptions{deferFlush} to each call below.
bool SaveBmpFile(const std::string& path, const SymbolJob& job, std::int32_t& modulePixels, bool deferFlush) {
    (void)deferFlush;
    return SaveAsBmp(path.c_str(), job, modulePixels);
}

bool SaveWmfFile(const std::string& path, const SymbolJob& job, std::int32_t& modulePixels, bool deferFlush) {
    (void)deferFlush;
    return SaveAsWmf(path.c_str(), job, modulePixels);
}

bool SaveBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, bool deferFlush) {
    (void)deferFlush;
    return platform::ReplaceFileWith(path.c_str(), {{bytes.data(), bytes.size()}});
}

// platform::FlushFileSystemOf(path) once the library has it.
bool FlushFilesBeside(const std::string& path) { return FlushFileSystemHolding(DirectoryOf(path)); }

}  // namespace ecc200::tool
