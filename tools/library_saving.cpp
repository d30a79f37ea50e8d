#include "library_saving.h"

#include "output/outputs.h"
#include "platform/drawing_surface.h"

namespace ecc200::tool {

namespace {

// flushOwed given: a replaced file is not flushed on its own, *flushOwed
// is set, and the batch flushes the file systems that owe it once at its
// end.
platform::SaveOptions Deferring(bool* flushOwed) { return platform::SaveOptions{flushOwed != nullptr, flushOwed}; }

}  // namespace

bool SaveBmpFile(const std::string& path, const SymbolJob& job, std::int32_t& modulePixels, bool* flushOwed) {
    return SaveAsBmp(path.c_str(), job, modulePixels, Deferring(flushOwed));
}

bool SaveWmfFile(const std::string& path, const SymbolJob& job, std::int32_t& modulePixels, bool* flushOwed) {
    return SaveAsWmf(path.c_str(), job, modulePixels, Deferring(flushOwed));
}

bool SaveBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, bool* flushOwed) {
    return platform::ReplaceFileWith(path.c_str(), {{bytes.data(), bytes.size()}}, Deferring(flushOwed));
}

bool FlushFilesBeside(const std::string& path) { return platform::FlushFileSystemOf(path.c_str()); }

}  // namespace ecc200::tool
