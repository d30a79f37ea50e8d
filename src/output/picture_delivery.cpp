#include "output/picture_delivery.h"

#include <cerrno>

#include "output/picture_bytes.h"

namespace ecc200 {

Outcome SaveToFile(const char* path, const PictureBytes& picture, const platform::SaveOptions& options) {
    if (path == nullptr) return Failed(Failure::InvalidArgument);
    return platform::ReplaceFileWith(path, picture.pieces, options);
}

Outcome PutOnClipboard(std::unique_ptr<platform::EnhMetafile> metafile) {
    // The clipboard names no cause of its own: EBUSY, the one errno can give.
    if (platform::PutEnhMetafileOnClipboard(std::move(metafile))) return {};
    return Failed(Failure::ClipboardRefused, EBUSY);
}

}  // namespace ecc200
