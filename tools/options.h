// The command line: what the tool is asked to do, parsed with CLI11 and
// checked. The encoding and the picture are the library's own option records
// (ecc200::EncodeOptions, ecc200::Picture), filled from the options given and
// otherwise left at the library's defaults.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <ecc200.hpp>

#include "output_format.h"

namespace ecc200::tool {

enum class PrintMode { Preview, Matrix, Codewords, Data };

// Where the message comes from; at most one of them.
struct MessageSource {
    std::optional<std::string> text;      // MESSAGE
    std::optional<std::string> hex;       // --hex
    std::optional<std::string> filePath;  // --message-file, "-" for standard input
};

struct Options {
    MessageSource source;
    std::optional<std::string> batchPath;  // --batch, "-" for standard input
    std::optional<PrintMode> print;
    EncodeOptions encoding;
    Picture picture;  // width and height 0 unless --size: the symbol plus the quiet zone
    std::vector<OutputRequest> outputs;
    bool clipboard = false;
};

// What parsing came to: options to run, or an exit status (0 after --help or
// --version, 2 after a usage error, already reported on standard error).
struct ParsedCommandLine {
    std::optional<Options> options;
    int exitCode = 0;
};

ParsedCommandLine ParseCommandLine(int argc, char** argv);

// Reports a usage error found after parsing: one line naming the cause, then
// the short usage line. Returns the exit status for usage errors.
int ReportUsageError(const std::string& cause);

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

}  // namespace ecc200::tool
