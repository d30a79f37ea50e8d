// The solid brushes a portable device context has created and not yet
// deleted. Handles count up from 1 and are never reused, so a deleted or
// foreign handle is never mistaken for a live brush.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "platform/drawing_surface.h"

namespace ecc200::platform {

class BrushTable {
public:
    Brush Create(ColourRef colour) {
        const Brush brush{next_++};
        colours_.emplace(brush.value, colour);
        return brush;
    }

    std::optional<ColourRef> Find(Brush brush) const {
        const auto it = colours_.find(brush.value);
        if (it == colours_.end()) return std::nullopt;
        return it->second;
    }

    // False when the handle names no live brush (DeleteObject fails).
    bool Remove(Brush brush) { return colours_.erase(brush.value) == 1; }

private:
    std::uintptr_t next_ = 1;
    std::map<std::uintptr_t, ColourRef> colours_;
};

}  // namespace ecc200::platform
