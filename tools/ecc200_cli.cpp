// ecc200: encodes a message as an ECC 200 Data Matrix symbol and shows it.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include <vector>

#include "api/settings.h"
#include "ecc200.h"
#include "encoder/build_symbol.h"
#include "output/bmp_file.h"
#include "output/placeable_wmf.h"
#include "platform/drawing_surface.h"
#include "platform/portable/portable_screen.h"
#include "terminal_preview.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: ecc200 [--hex HEX | --message-file FILE | MESSAGE] [--print preview|matrix|codewords]\n"
    "              [--size WxH] [--module CM] [--orientation 0-3] [--border none|dashed|solid]\n"
    "              [--bar RRGGBB] [--background RRGGBB] [--dpi N]\n"
    "              [--bmp FILE] [--wmf FILE] [--emf FILE] [--clipboard]\n";

enum class PrintMode { Preview, Matrix, Codewords };
enum class OutputKind { Bmp, Wmf, Emf, Clipboard };

struct Output {
    OutputKind kind;
    std::string path;
};

struct Rgb {
    int red;
    int green;
    int blue;
};

// Unset values keep DMSetDefault's.
struct Options {
    std::optional<std::string> message;
    std::optional<PrintMode> print;
    int width = ecc200::kDefaultWidth;
    int height = ecc200::kDefaultHeight;
    double moduleSize = ecc200::kDefaultModuleSize;
    int orientation = 0;
    int border = 0;
    Rgb bar{0, 0, 0};
    Rgb background{255, 255, 255};
    std::optional<int> dpi;
    std::vector<Output> outputs;
};

struct UsageError {
    std::string what;
};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string DecodeHex(const std::string& hex) {
    if (hex.size() % 2 != 0) throw UsageError{"--hex needs an even number of hexadecimal digits"};
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexValue(hex[i]);
        const int low = HexValue(hex[i + 1]);
        if (high < 0 || low < 0) throw UsageError{"--hex takes only hexadecimal digits"};
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

std::optional<std::string> ReadMessageFile(const std::string& path) {
    if (path == "-") {
        return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    }
    // Read with stdio so that a read error (a directory, say) is seen.
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return std::nullopt;
    std::string content;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return std::nullopt;
    return content;
}

// A whole decimal number from min to max, or a usage error naming the option.
long ParseInteger(const std::string& option, const std::string& text, long min, long max) {
    std::size_t used = 0;
    long value = 0;
    try {
        value = std::stol(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < min || value > max) {
        throw UsageError{option + " takes a whole number from " + std::to_string(min) + " to " + std::to_string(max)};
    }
    return value;
}

std::pair<int, int> ParseSize(const std::string& text) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) throw UsageError{"--size takes WIDTHxHEIGHT, for example 500x300"};
    const long width = ParseInteger("--size", text.substr(0, x), 1, 2147483647);
    const long height = ParseInteger("--size", text.substr(x + 1), 1, 2147483647);
    return {static_cast<int>(width), static_cast<int>(height)};
}

double ParseModuleSize(const std::string& text) {
    std::size_t used = 0;
    double value = 0;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !(value > 0)) throw UsageError{"--module takes a size in centimetres above 0"};
    return value;
}

Rgb ParseColour(const std::string& option, const std::string& text) {
    const bool hex = text.size() == 6 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
    if (!hex) throw UsageError{option + " takes a colour as RRGGBB in hexadecimal"};
    const std::string bytes = DecodeHex(text);
    const auto component = [&](std::size_t i) { return static_cast<int>(static_cast<unsigned char>(bytes[i])); };
    return Rgb{component(0), component(1), component(2)};
}

int ParseBorder(const std::string& text) {
    if (text == "none") return 0;
    if (text == "dashed") return 1;
    if (text == "solid") return 2;
    throw UsageError{"--border takes none, dashed or solid"};
}

void SetMessage(Options& options, std::string message) {
    if (options.message) throw UsageError{"give the message only once"};
    options.message = std::move(message);
}

Options ParseArguments(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw UsageError{arg + " needs a value"};
            return argv[++i];
        };
        if (arg == "--hex") {
            SetMessage(options, DecodeHex(value()));
        } else if (arg == "--message-file") {
            const std::string path = value();
            std::optional<std::string> content = ReadMessageFile(path);
            if (!content) throw UsageError{"cannot read message file " + path};
            SetMessage(options, std::move(*content));
        } else if (arg == "--print") {
            const std::string mode = value();
            if (mode == "preview") options.print = PrintMode::Preview;
            else if (mode == "matrix") options.print = PrintMode::Matrix;
            else if (mode == "codewords") options.print = PrintMode::Codewords;
            else throw UsageError{"--print takes preview, matrix or codewords"};
        } else if (arg == "--size") {
            std::tie(options.width, options.height) = ParseSize(value());
        } else if (arg == "--module") {
            options.moduleSize = ParseModuleSize(value());
        } else if (arg == "--orientation") {
            options.orientation = static_cast<int>(ParseInteger(arg, value(), 0, 3));
        } else if (arg == "--border") {
            options.border = ParseBorder(value());
        } else if (arg == "--bar") {
            options.bar = ParseColour(arg, value());
        } else if (arg == "--background") {
            options.background = ParseColour(arg, value());
        } else if (arg == "--dpi") {
            options.dpi = static_cast<int>(ParseInteger(arg, value(), 1, 100000));
        } else if (arg == "--bmp") {
            options.outputs.push_back({OutputKind::Bmp, value()});
        } else if (arg == "--wmf") {
            options.outputs.push_back({OutputKind::Wmf, value()});
        } else if (arg == "--emf") {
            options.outputs.push_back({OutputKind::Emf, value()});
        } else if (arg == "--clipboard") {
            options.outputs.push_back({OutputKind::Clipboard, ""});
        } else if (arg == "--") {
            if (i + 2 != argc) throw UsageError{"-- must be followed by the message alone"};
            SetMessage(options, argv[++i]);
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError{"unknown option " + arg};
        } else {
            SetMessage(options, arg);
        }
    }
    if (!options.message) options.message = std::string(ecc200::kDefaultMessage);
    return options;
}

// The library stores messages as zero-terminated strings of at most 1999
// bytes; the tool refuses what the library could not hold as given. (A
// message too long for any symbol has been refused before.)
std::optional<std::string> CheckMessage(const std::string& message) {
    if (message.size() > static_cast<std::size_t>(ecc200::kMaxMessageBytes)) {
        return "the message has " + std::to_string(message.size()) + " bytes; at most " +
               std::to_string(ecc200::kMaxMessageBytes) + " can be encoded";
    }
    return std::nullopt;
}

void PrintMatrix(const ecc200::SymbolMatrix& symbol) {
    std::string line;
    for (int row = 0; row < symbol.side(); ++row) {
        line.clear();
        for (int col = 0; col < symbol.side(); ++col) line.push_back(symbol.isDark(row, col) ? '1' : '0');
        std::cout << line << '\n';
    }
}

void PrintCodewords(const ecc200::CodewordStream& stream) {
    for (std::int32_t k = 0; k < stream.count; ++k) {
        if (k > 0) std::cout << ' ';
        std::cout << stream.codewords[static_cast<std::size_t>(k)];
    }
    std::cout << '\n';
}

// Applies the options through the library's own setters.
void ApplySettings(const Options& options) {
    DMSetDefault();
    DMSetSize(options.width, options.height);
    DMSetMessage(options.message->c_str());
    DMSetInfo(options.moduleSize, options.orientation, options.border);
    DMSetBarColor(options.bar.red, options.bar.green, options.bar.blue);
    DMSetBackColor(options.background.red, options.background.green, options.background.blue);
    if (options.dpi) ecc200::platform::SetPortableScreenDpi(*options.dpi);
}

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return ecc200::platform::ReplaceFileWith(path.c_str(), {{bytes.data(), bytes.size()}});
}

// Runs one output; on failure, the reason for the error line.
std::optional<std::string> Deliver(const Output& output, const Options& options) {
    switch (output.kind) {
        case OutputKind::Bmp:
            if (!ecc200::MonochromeGeometryOf(options.width, options.height)) return "the picture is too large for a BMP file";
            if (!DMSaveAsBMP(output.path.c_str())) return "cannot write " + output.path;
            return std::nullopt;
        case OutputKind::Wmf:
            if (options.width > ecc200::kMaxPlaceableExtent || options.height > ecc200::kMaxPlaceableExtent) {
                return "a WMF picture can be at most 32767 pixels wide and high";
            }
            if (!DMSaveAsWMF(output.path.c_str())) return "cannot write " + output.path;
            return std::nullopt;
        case OutputKind::Emf: {
            // The enhanced metafile exactly as the clipboard receives it.
            if (!DMCopyToClipboard()) return "cannot record the enhanced metafile";
            const std::optional<std::vector<std::uint8_t>> bits = ecc200::platform::GetClipboardEnhMetafileBits();
            if (!bits || !WriteWholeFile(output.path, *bits)) return "cannot write " + output.path;
            return std::nullopt;
        }
        case OutputKind::Clipboard:
            if (!DMCopyToClipboard()) return "cannot put the symbol on the clipboard";
            return std::nullopt;
    }
    return "unknown output";
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = ParseArguments(argc, argv);
    } catch (const UsageError& error) {
        std::cerr << "ecc200: " << error.what << '\n' << kUsage;
        return kExitUsage;
    }
    if (options.message->find('\0') != std::string::npos) {
        std::cerr << "ecc200: the message contains a zero byte, which cannot be encoded\n";
        return kExitFailure;
    }
    const auto state = std::make_unique<ecc200::EncoderWorkingState>();
    if (!ecc200::BuildSymbol(*options.message, *state)) {
        std::cerr << "ecc200: the message needs " << state->messageCodewords
                  << " codewords; the largest symbol (144x144) holds " << ecc200::kMaxDataCodewords << '\n';
        return kExitFailure;
    }
    if (const std::optional<std::string> problem = CheckMessage(*options.message)) {
        std::cerr << "ecc200: " << *problem << '\n';
        return kExitFailure;
    }

    ApplySettings(options);
    for (const Output& output : options.outputs) {
        if (const std::optional<std::string> problem = Deliver(output, options)) {
            std::cerr << "ecc200: " << *problem << '\n';
            return kExitFailure;
        }
    }

    // Without outputs the symbol is shown; with them only when asked.
    const std::optional<PrintMode> print = options.outputs.empty() ? options.print.value_or(PrintMode::Preview) : options.print;
    if (print) {
        switch (*print) {
            case PrintMode::Matrix: PrintMatrix(state->symbol); break;
            case PrintMode::Codewords: PrintCodewords(state->stream); break;
            case PrintMode::Preview:
                ecc200::tool::PrintPreview(state->symbol, isatty(STDOUT_FILENO) != 0, std::cout);
                break;
        }
    }
    std::cout.flush();
    return std::cout ? 0 : kExitFailure;
}
