// The library's saving as the tool uses it, in one place: the BMP and WMF
// outputs and ReplaceFileWith, each told whether the flush to storage may
// wait for one flush of the whole file system at the end of a batch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ecc200 {
struct SymbolJob;
}

namespace ecc200::tool {

bool SaveBmpFile(const std::string& path, const SymbolJob& job, std::int32_t& modulePixels, bool* flushOwed);
bool SaveWmfFile(const std::string& path, const SymbolJob& job, std::int32_t& modulePixels, bool* flushOwed);
bool SaveBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, bool* flushOwed);

// After a batch with deferred flushes: flushes the file system holding
// `path`. Returns false with errno set.
bool FlushFilesBeside(const std::string& path);

}  // namespace ecc200::tool
