// Fixed global memory on Windows: GlobalAlloc(GMEM_FIXED), whose handle is
// the block's address, released with GlobalFree.
#include "platform/windows/gdi_drawing.h"

namespace ecc200::platform {
namespace {

class GlobalFixedBlock final : public FixedBlock {
public:
    GlobalFixedBlock(HGLOBAL memory, std::size_t bytes) : memory_(memory), bytes_(bytes) {}
    ~GlobalFixedBlock() override { ::GlobalFree(memory_); }

    GlobalFixedBlock(const GlobalFixedBlock&) = delete;
    GlobalFixedBlock& operator=(const GlobalFixedBlock&) = delete;

    std::uint8_t* data() override { return static_cast<std::uint8_t*>(memory_); }
    std::size_t size() const override { return bytes_; }

private:
    HGLOBAL memory_;
    std::size_t bytes_;
};

}  // namespace

std::unique_ptr<FixedBlock> AllocateFixedBlock(std::size_t bytes) {
    const HGLOBAL memory = ::GlobalAlloc(GMEM_FIXED, bytes);
    if (memory == nullptr) {
        return nullptr;
    }
    return std::make_unique<GlobalFixedBlock>(memory, bytes);
}

}  // namespace ecc200::platform
