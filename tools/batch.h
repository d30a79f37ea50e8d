// Batch mode: one message per line, each encoded and drawn into every output
// pattern, in parallel on all processors through the library's public
// interface (every call independent of the others).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "options.h"

namespace ecc200::tool {

// The lines of a batch file: split at LF, a CR before it dropped, no line
// after a final LF.
std::vector<std::string> BatchLines(const std::string& content);

// `pattern` with every run of # replaced by `number`, zero-padded to the
// run's length (more digits when the number needs them).
std::string ExpandPattern(const std::string& pattern, std::size_t number);

// Runs the batch the options describe; returns the exit status (1 when any
// line failed, or when an output folder cannot be written, found before
// anything is drawn).
int RunBatch(const Options& options);

}  // namespace ecc200::tool
