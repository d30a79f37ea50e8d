// The portable clipboard: one enhanced metafile per process, as a desktop
// clipboard holds one item per format. Opening never fails, so putting a
// metafile always replaces what was there.
#include <mutex>

#include "platform/drawing_surface.h"

namespace ecc200::platform {
namespace {

std::mutex clipboardMutex;
std::unique_ptr<EnhMetafile> clipboardMetafile;

}  // namespace

// SetClipboardData with no data fails and leaves the clipboard as it was.
bool PutEnhMetafileOnClipboard(std::unique_ptr<EnhMetafile> metafile) {
    if (!metafile) return false;
    std::lock_guard<std::mutex> lock(clipboardMutex);
    clipboardMetafile = std::move(metafile);
    return true;
}

std::optional<std::vector<std::uint8_t>> GetClipboardEnhMetafileBits() {
    std::lock_guard<std::mutex> lock(clipboardMutex);
    if (!clipboardMetafile) return std::nullopt;
    return clipboardMetafile->GetBits();
}

}  // namespace ecc200::platform
