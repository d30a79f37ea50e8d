#include "output/picture_delivery.h"

#include "output/picture_bytes.h"

namespace ecc200 {

Outcome SaveToFile(const char* path, const PictureBytes& picture, const platform::SaveOptions& options) {
    if (path == nullptr) return Failed(Failure::InvalidArgument);
    return platform::ReplaceFileWith(path, picture.pieces, options);
}

Outcome PutOnClipboard(std::unique_ptr<platform::EnhMetafile> metafile) {
    return platform::PutEnhMetafileOnClipboard(std::move(metafile)) ? Outcome{} : Failed(Failure::ClipboardRefused);
}

}  // namespace ecc200
