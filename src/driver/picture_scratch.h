// The picture bytes a call draws into, kept per thread so that a warm call
// (another picture of a size drawn before) allocates nothing: the bitmap,
// its rows and the pieces are reused. A call made from inside another on
// the same thread (a write callback that renders) gets bytes of its own,
// and a picture too large to be worth keeping is let go after its call.
#pragma once

#include "output/picture_bytes.h"

namespace ecc200 {

class ScratchPictureBytes {
public:
    ScratchPictureBytes();
    ~ScratchPictureBytes();
    ScratchPictureBytes(const ScratchPictureBytes&) = delete;
    ScratchPictureBytes& operator=(const ScratchPictureBytes&) = delete;

    PictureBytes& get() { return *bytes_; }

private:
    PictureBytes own_;     // used when the thread's bytes are taken
    PictureBytes* bytes_;  // the thread's bytes, or own_
    bool borrowed_;
};

}  // namespace ecc200
