// The command line: what the tool is asked to do, parsed with CLI11 and
// checked. Values not given keep DMSetDefault's, except the picture size,
// which by default fits the symbol and its quiet zone.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "output_format.h"

namespace ecc200::tool {

enum class PrintMode { Preview, Matrix, Codewords };

struct Rgb {
    int red;
    int green;
    int blue;
};

struct PictureSize {
    int width;
    int height;
};

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
    std::optional<PictureSize> size;  // --size; unset: the symbol plus the quiet zone
    int quietZoneModules = 2;
    bool allowCrop = false;
    double moduleCentimetres = 0.2;
    int orientation = 0;
    int border = 0;
    Rgb bar{0, 0, 0};
    Rgb background{255, 255, 255};
    std::optional<int> dpi;
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
