// Windows metafiles on Windows: CreateMetaFileA in memory, closed and read
// out with GetMetaFileBitsEx, then deleted.
#include <type_traits>

#include "platform/windows/gdi_drawing.h"

namespace ecc200::platform {
namespace {

using MetafileHandle = std::unique_ptr<std::remove_pointer_t<HMETAFILE>, decltype(&::DeleteMetaFile)>;

class GdiMetafileRecorder final : public GdiDrawing<MetafileRecorder> {
public:
    explicit GdiMetafileRecorder(HDC dc) : GdiDrawing(dc) {}

    // A recording that was never closed is closed and thrown away.
    ~GdiMetafileRecorder() override {
        if (open_) {
            ::DeleteMetaFile(::CloseMetaFile(dc()));
        }
    }

    GdiMetafileRecorder(const GdiMetafileRecorder&) = delete;
    GdiMetafileRecorder& operator=(const GdiMetafileRecorder&) = delete;

    std::optional<std::vector<std::uint8_t>> Close() override {
        open_ = false;
        const MetafileHandle metafile(::CloseMetaFile(dc()), &::DeleteMetaFile);
        if (metafile == nullptr) {
            return std::nullopt;
        }
        const UINT size = ::GetMetaFileBitsEx(metafile.get(), 0, nullptr);
        if (size == 0) {
            return std::nullopt;
        }
        std::vector<std::uint8_t> bits(size);
        if (::GetMetaFileBitsEx(metafile.get(), size, bits.data()) != size) {
            return std::nullopt;
        }
        return bits;
    }

private:
    bool open_ = true;
};

}  // namespace

std::unique_ptr<MetafileRecorder> CreateMetafileRecorder() {
    const HDC dc = ::CreateMetaFileA(nullptr);
    if (dc == nullptr) {
        return nullptr;
    }
    return std::make_unique<GdiMetafileRecorder>(dc);
}

}  // namespace ecc200::platform
