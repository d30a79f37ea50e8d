// The object table of a metafile being recorded: an object takes the lowest
// free index when it is written, and deleting it frees the index for the
// next one. A Windows metafile counts its slots from 0, an enhanced metafile
// its handles from 1 (index 0 stands for the metafile itself). The table
// also remembers which brush of the device context holds which index, so
// that a brush is written once and its deletion frees its index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
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

    // An index for the brush with this handle, written now.
    std::uint32_t AllocateFor(std::uintptr_t brush) {
        const std::uint32_t index = Allocate();
        if (brush >= indexOf_.size()) indexOf_.resize(brush + 1, kNoIndex);
        indexOf_[brush] = index;
        return index;
    }

    // The index of a brush written earlier, if it was.
    std::optional<std::uint32_t> IndexOf(std::uintptr_t brush) const {
        if (brush >= indexOf_.size() || indexOf_[brush] == kNoIndex) return std::nullopt;
        return indexOf_[brush];
    }

    // Frees and returns the index of a written brush; nothing for a brush
    // that was never written, whose deletion leaves no trace.
    std::optional<std::uint32_t> Release(std::uintptr_t brush) {
        const std::optional<std::uint32_t> index = IndexOf(brush);
        if (!index) return std::nullopt;
        used_[*index - first_] = false;
        indexOf_[brush] = kNoIndex;
        return index;
    }

    // One past the highest index ever allocated; `first` when none was:
    // mtNoObjects of a WMF, nHandles of an EMF.
    std::uint32_t End() const { return end_; }

private:
    std::uint32_t first_;
    std::uint32_t end_;
    std::vector<bool> used_;
    // The index of each written brush, by handle: the handles of a context's
    // brushes count up from 1, so the table stays as short as their number.
    static constexpr std::uint32_t kNoIndex = UINT32_MAX;
    std::vector<std::uint32_t> indexOf_;
};

}  // namespace ecc200::platform
