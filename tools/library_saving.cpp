#include "library_saving.h"

#include "api/job_outputs.h"
#include "platform/drawing_surface.h"

namespace ecc200::tool {

namespace {

// batch given: a replaced file is not flushed on its own, batch->flushOwed
// is set, and the batch flushes the file systems that owe it once at its
// end.
template <typename Saving>
bool SaveFor(BatchSaving* batch, const Saving& save) {
    if (batch == nullptr) return save(platform::SaveOptions{});
    bool replaced = false;
    const bool saved = save(platform::SaveOptions{true, &replaced});
    batch->flushOwed = batch->flushOwed || replaced;
    return saved;
}

}  // namespace

bool SaveBmpFile(const std::string& path, const SymbolJob& job, std::int32_t& modulePixels, BatchSaving* batch) {
    return SaveFor(batch, [&](const platform::SaveOptions& options) {
        return SaveAsBmp(path.c_str(), job, modulePixels, options);
    });
}

bool SaveWmfFile(const std::string& path, const SymbolJob& job, std::int32_t& modulePixels, BatchSaving* batch) {
    return SaveFor(batch, [&](const platform::SaveOptions& options) {
        return SaveAsWmf(path.c_str(), job, modulePixels, options);
    });
}

bool SaveBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, BatchSaving* batch) {
    return SaveFor(batch, [&](const platform::SaveOptions& options) {
        return platform::ReplaceFileWith(path.c_str(), {{bytes.data(), bytes.size()}}, options);
    });
}

bool FlushFilesBeside(const std::string& path) { return platform::FlushFileSystemOf(path.c_str()); }

}  // namespace ecc200::tool
