// GlobalAlloc(GMEM_FIXED) stand-in: a block from the free store, its content
// undefined as a fixed global block's is, or null when it cannot be had.
#include <new>

#include "platform/drawing_surface.h"

namespace ecc200::platform {
namespace {

class HeapBlock final : public FixedBlock {
public:
    HeapBlock(std::unique_ptr<std::uint8_t[]> data, std::size_t size) : data_(std::move(data)), size_(size) {}
    std::uint8_t* data() override { return data_.get(); }
    std::size_t size() const override { return size_; }

private:
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t size_;
};

}  // namespace

std::unique_ptr<FixedBlock> AllocateFixedBlock(std::size_t bytes) {
    std::unique_ptr<std::uint8_t[]> data(new (std::nothrow) std::uint8_t[bytes]);
    if (!data) return nullptr;
    std::unique_ptr<FixedBlock> block(new (std::nothrow) HeapBlock(std::move(data), bytes));
    return block;
}

}  // namespace ecc200::platform
