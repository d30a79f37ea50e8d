// The encoder's options on the command line (ISO/IEC 16022 encodation
// schemes, symbol sizes, GS1, ECI, reader initialisation, structured append;
// the ISO/IEC 21471 sizes), read into ecc200::EncodeOptions. The library
// checks their combinations; here only each value's own form is checked.
#pragma once

#include <optional>
#include <string>

#include <CLI/CLI.hpp>
#include <ecc200.hpp>

namespace ecc200::tool {

// The values as CLI11 collects them.
struct RawEncoding {
    std::optional<std::string> encodation, shape, symbolSize, eci, structuredAppend, fileId;
    bool dmre = false;
    bool gs1 = false;
    bool readerInit = false;
    bool iso144 = false;
};

void AddEncodingOptions(CLI::App& app, RawEncoding& raw);

// The options read and checked; a usage error (UsageError) otherwise.
EncodeOptions EncodingOf(const RawEncoding& raw);

}  // namespace ecc200::tool
