// The object table of a metafile being recorded: an object takes the lowest
// free index when it is written, and deleting it frees the index for the
// next one. A Windows metafile counts its slots from 0, an enhanced metafile
// its handles from 1 (index 0 stands for the metafile itself).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ecc200::platform {

class ObjectSlots {
public:
    explicit ObjectSlots(std::uint32_t first) : first_(first), end_(first) {}

    std::uint32_t Allocate() {
        std::size_t i = 0;
        while (i < used_.size() && used_[i]) ++i;
        if (i == used_.size()) used_.push_back(false);
        used_[i] = true;
        const std::uint32_t index = first_ + static_cast<std::uint32_t>(i);
        if (index >= end_) end_ = index + 1;
        return index;
    }

    void Free(std::uint32_t index) { used_[index - first_] = false; }

    // One past the highest index ever allocated; `first` when none was:
    // mtNoObjects of a WMF, nHandles of an EMF.
    std::uint32_t End() const { return end_; }

private:
    std::uint32_t first_;
    std::uint32_t end_;
    std::vector<bool> used_;
};

}  // namespace ecc200::platform
