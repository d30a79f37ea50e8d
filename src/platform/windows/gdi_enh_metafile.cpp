// Enhanced metafiles on Windows: CreateEnhMetaFileA in memory with the
// screen as reference device and the frame left to GDI, closed into a
// metafile whose bits GetEnhMetaFileBits hands out.
#include "platform/windows/gdi_enh_metafile.h"

namespace ecc200::platform {

std::vector<std::uint8_t> EnhMetafileBits(HENHMETAFILE metafile) {
    std::vector<std::uint8_t> bits(::GetEnhMetaFileBits(metafile, 0, nullptr));
    if (!bits.empty()) {
        const UINT copied = ::GetEnhMetaFileBits(metafile, static_cast<UINT>(bits.size()), bits.data());
        bits.resize(copied);
    }
    return bits;
}

GdiEnhMetafile::~GdiEnhMetafile() {
    if (handle_ != nullptr) {
        ::DeleteEnhMetaFile(handle_);
    }
}

HENHMETAFILE GdiEnhMetafile::Release() {
    const HENHMETAFILE handle = handle_;
    handle_ = nullptr;
    return handle;
}

namespace {

class GdiEnhMetafileRecorder final : public GdiDrawing<EnhMetafileRecorder> {
public:
    explicit GdiEnhMetafileRecorder(HDC dc) : GdiDrawing(dc) {}

    // A recording that was never closed is closed and thrown away.
    ~GdiEnhMetafileRecorder() override {
        if (open_) {
            ::DeleteEnhMetaFile(::CloseEnhMetaFile(dc()));
        }
    }

    GdiEnhMetafileRecorder(const GdiEnhMetafileRecorder&) = delete;
    GdiEnhMetafileRecorder& operator=(const GdiEnhMetafileRecorder&) = delete;

    std::unique_ptr<EnhMetafile> Close() override {
        open_ = false;
        const HENHMETAFILE metafile = ::CloseEnhMetaFile(dc());
        if (metafile == nullptr) {
            return nullptr;
        }
        return std::make_unique<GdiEnhMetafile>(metafile);
    }

private:
    bool open_ = true;
};

}  // namespace

std::unique_ptr<EnhMetafileRecorder> CreateEnhMetafileRecorder() {
    const HDC dc = ::CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    if (dc == nullptr) {
        return nullptr;
    }
    return std::make_unique<GdiEnhMetafileRecorder>(dc);
}

}  // namespace ecc200::platform
