// An enhanced metafile of the Windows backend, shared by its recorder and
// the clipboard.
#pragma once

#include "platform/windows/gdi_drawing.h"

namespace ecc200::platform {

// GetEnhMetaFileBits: asked for the size first, then for the bits.
std::vector<std::uint8_t> EnhMetafileBits(HENHMETAFILE metafile);

class GdiEnhMetafile final : public EnhMetafile {
public:
    explicit GdiEnhMetafile(HENHMETAFILE handle) : handle_(handle) {}
    ~GdiEnhMetafile() override;
    GdiEnhMetafile(const GdiEnhMetafile&) = delete;
    GdiEnhMetafile& operator=(const GdiEnhMetafile&) = delete;

    std::vector<std::uint8_t> GetBits() const override { return EnhMetafileBits(handle_); }

    // Gives the handle up, to the clipboard: it is no longer deleted here.
    HENHMETAFILE Release();

private:
    HENHMETAFILE handle_;
};

}  // namespace ecc200::platform
