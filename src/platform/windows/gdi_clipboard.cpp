// The clipboard on Windows: opened without an owner window, emptied and
// given the enhanced metafile as CF_ENHMETAFILE, after which it owns it.
#include "platform/windows/gdi_enh_metafile.h"

namespace ecc200::platform {
namespace {

// Closes the clipboard this thread opened, on every way out.
struct OpenedClipboard {
    OpenedClipboard() = default;
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    ~OpenedClipboard() { ::CloseClipboard(); }
};

}  // namespace

bool PutEnhMetafileOnClipboard(std::unique_ptr<EnhMetafile> metafile) {
    // Fails while another window holds the clipboard open; the metafile is
    // then deleted with `metafile` and the clipboard keeps its content.
    if (metafile == nullptr || !::OpenClipboard(nullptr)) {
        return false;
    }
    const OpenedClipboard opened;
    ::EmptyClipboard();
    // In the Windows build every EnhMetafile comes from this backend's
    // recorder.
    const HENHMETAFILE handle = static_cast<GdiEnhMetafile&>(*metafile).Release();
    if (::SetClipboardData(CF_ENHMETAFILE, handle) == nullptr) {
        // Not taken over: still ours to delete, and not delivered.
        ::DeleteEnhMetaFile(handle);
        return false;
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> GetClipboardEnhMetafileBits() {
    if (!::OpenClipboard(nullptr)) {
        return std::nullopt;
    }
    const OpenedClipboard opened;
    // The handle stays the clipboard's: it is read, never deleted.
    const HANDLE data = ::GetClipboardData(CF_ENHMETAFILE);
    if (data == nullptr) {
        return std::nullopt;
    }
    return EnhMetafileBits(static_cast<HENHMETAFILE>(data));
}

}  // namespace ecc200::platform
