// What a writer of a file in memory reports.
#pragma once

namespace ecc200 {

enum class WriteResult {
    Written,
    // A picture the format cannot hold, or values that describe no picture
    // (each writer says which); nothing was written.
    NotRepresentable,
    // Memory for the output or the writer's state could not be had; nothing
    // was written.
    OutOfMemory,
};

}  // namespace ecc200
