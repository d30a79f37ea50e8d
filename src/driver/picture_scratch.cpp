#include "driver/picture_scratch.h"

namespace ecc200 {
namespace {

// Past this many pieces (a BMP's rows) or bytes of metafile records, the
// thread's bytes are let go after the call rather than kept.
constexpr std::size_t kMostPiecesKept = 4096;
constexpr std::size_t kMostRecordBytesKept = 1 << 20;

struct ThreadPictureBytes {
    PictureBytes bytes;
    bool inUse = false;
};

ThreadPictureBytes& ThreadBytes() {
    thread_local ThreadPictureBytes state;
    return state;
}

}  // namespace

ScratchPictureBytes::ScratchPictureBytes() : bytes_(&own_), borrowed_(false) {
    ThreadPictureBytes& thread = ThreadBytes();
    if (thread.inUse) return;
    thread.inUse = true;
    bytes_ = &thread.bytes;
    borrowed_ = true;
}

ScratchPictureBytes::~ScratchPictureBytes() {
    if (!borrowed_) return;
    ThreadPictureBytes& thread = ThreadBytes();
    if (bytes_->pieces.capacity() > kMostPiecesKept || bytes_->body.capacity() > kMostRecordBytesKept) {
        thread.bytes = PictureBytes();
    }
    thread.inUse = false;
}

}  // namespace ecc200
