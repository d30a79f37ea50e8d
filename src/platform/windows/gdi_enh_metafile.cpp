// Enhanced metafiles on Windows: CreateEnhMetaFileA in memory with the
// screen as reference device and the frame left to GDI, closed into a
// metafile whose bits GetEnhMetaFileBits hands out. A recording asked at
// another resolution than the screen's gets the header GDI would write on
// a screen of that resolution (emf_records.h), made again from its bits.
#include "platform/windows/gdi_enh_metafile.h"

#include "platform/emf_records.h"

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
    GdiEnhMetafileRecorder(HDC dc, std::int32_t referenceDpi) : GdiDrawing(dc), referenceDpi_(referenceDpi) {}

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
        if (referenceDpi_ == 0) {
            return std::make_unique<GdiEnhMetafile>(metafile);
        }
        std::vector<std::uint8_t> bits = EnhMetafileBits(metafile);
        ::DeleteEnhMetaFile(metafile);
        if (bits.size() < emf::kHeaderBytes) {
            return nullptr;
        }
        ReferHeaderTo(bits.data(), ScreenAt(referenceDpi_));
        const HENHMETAFILE referred = ::SetEnhMetaFileBits(static_cast<UINT>(bits.size()), bits.data());
        return referred == nullptr ? nullptr : std::make_unique<GdiEnhMetafile>(referred);
    }

private:
    std::int32_t referenceDpi_;  // 0: the screen's own
    bool open_ = true;
};

}  // namespace

std::unique_ptr<EnhMetafileRecorder> CreateEnhMetafileRecorder(std::int32_t referenceDpi) {
    const HDC dc = ::CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    if (dc == nullptr) {
        return nullptr;
    }
    const bool screens = referenceDpi <= 0 || referenceDpi == GetScreenMetrics().logPixelsX;
    return std::make_unique<GdiEnhMetafileRecorder>(dc, screens ? 0 : referenceDpi);
}

}  // namespace ecc200::platform
