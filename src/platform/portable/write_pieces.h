// Writing a save's pieces to an open file with as few calls as the kernel
// allows (writev), resuming after short writes.
#pragma once

#include <vector>

#include "platform/drawing_surface.h"

namespace ecc200::platform {

// True when every piece was written in order; false with errno the cause
// (EIO for a write that wrote nothing).
bool WritePieces(int fd, const std::vector<ByteSpan>& pieces);

}  // namespace ecc200::platform
