#include "platform/portable/write_pieces.h"

#include <limits.h>
#include <sys/uio.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>

#include "platform/portable/file_descriptor.h"

namespace ecc200::platform {
namespace {

// writev takes at most IOV_MAX pieces; one call writes at most 1 GiB so that
// the total fits ssize_t on every platform.
#ifdef IOV_MAX
constexpr std::size_t kMostPiecesPerWrite = IOV_MAX;
#else
constexpr std::size_t kMostPiecesPerWrite = 16;
#endif
constexpr std::size_t kMostBytesPerWrite = std::size_t{1} << 30;

}  // namespace

// Writes every piece in calls of at most kMostPiecesPerWrite pieces and
// kMostBytesPerWrite bytes.
bool WritePieces(int fd, const std::vector<ByteSpan>& pieces) {
    const std::size_t count = pieces.size();
    std::vector<iovec> batch;
    batch.reserve(std::min(count, kMostPiecesPerWrite));
    std::size_t next = 0;    // the first piece not yet written
    std::size_t offset = 0;  // bytes of it already written
    for (;;) {
        batch.clear();
        std::size_t batchBytes = 0;
        for (std::size_t i = next; i < count && batch.size() < kMostPiecesPerWrite &&
                                   batchBytes < kMostBytesPerWrite; ++i) {
            const std::size_t skip = i == next ? offset : 0;
            const std::size_t length = std::min(pieces[i].size - skip, kMostBytesPerWrite - batchBytes);
            if (length == 0) continue;
            batch.push_back({const_cast<std::uint8_t*>(pieces[i].data) + skip, length});
            batchBytes += length;
        }
        if (batch.empty()) return true;
        const ssize_t written = writev(fd, batch.data(), static_cast<int>(batch.size()));
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) return Fail(EIO);
        for (auto left = static_cast<std::size_t>(written); next < count; ++next, offset = 0) {
            const std::size_t remaining = pieces[next].size - offset;
            if (remaining > left) {
                offset += left;
                break;
            }
            left -= remaining;
        }
    }
}

}  // namespace ecc200::platform
