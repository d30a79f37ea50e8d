// The solid brushes a portable device context has created and not yet
// deleted. Handles count up from 1 and are never reused, so a deleted or
// foreign handle is never mistaken for a live brush. A handle is the index
// of its brush plus 1, so a look-up is one bounds check and one read (the
// drawing looks its brush up once per module).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/drawing_surface.h"

namespace ecc200::platform {

class BrushTable {
public:
    Brush Create(ColourRef colour) {
        brushes_.push_back({colour, true});
        return Brush{brushes_.size()};
    }

    std::optional<ColourRef> Find(Brush brush) const {
        if (brush.value == 0 || brush.value > brushes_.size() || !brushes_[brush.value - 1].live) return std::nullopt;
        return brushes_[brush.value - 1].colour;
    }

    // False when the handle names no live brush (DeleteObject fails).
    bool Remove(Brush brush) {
        if (!Find(brush)) return false;
        brushes_[brush.value - 1].live = false;
        return true;
    }

    // Every brush gone, as in a new context.
    void Clear() { brushes_.clear(); }

private:
    struct Entry {
        ColourRef colour;
        bool live;
    };
    std::vector<Entry> brushes_;  // handle h at h - 1, deleted ones kept as dead entries
};

}  // namespace ecc200::platform
