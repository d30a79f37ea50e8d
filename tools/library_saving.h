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

// A batch worker's saving: files not flushed one by one, the flush they
// owe noted.
struct BatchSaving {
    bool flushOwed = false;
};

// batch null: a single save, flushed as the library does.
bool SaveBmpFile(const std::string& path, const SymbolJob& job, std::int32_t& modulePixels, BatchSaving* batch);
bool SaveWmfFile(const std::string& path, const SymbolJob& job, std::int32_t& modulePixels, BatchSaving* batch);
bool SaveBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, BatchSaving* batch);

// After a batch with deferred flushes: flushes the file system holding
// `path`. Returns false with errno set.
bool FlushFilesBeside(const std::string& path);

}  // namespace ecc200::tool
