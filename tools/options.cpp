#include "options.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <stdexcept>

#ifndef ECC200_TOOL_VERSION
#define ECC200_TOOL_VERSION "0"
#endif

namespace ecc200::tool {
namespace {

constexpr const char* kUsageLine = "usage: ecc200 [OPTIONS] [MESSAGE]   (ecc200 --help lists the options)";

constexpr const char* kDescription =
    "Encodes a message as a square ECC 200 Data Matrix symbol (ISO/IEC 16022) and writes it as BMP, WMF, EMF, "
    "PNG or SVG pictures, puts it on the clipboard (Windows), or shows it in the terminal.\n\n"
    "The message is MESSAGE, --hex or --message-file; without any of them and with standard input not a "
    "terminal, standard input is read (its bytes exactly, a final newline included). With no message at all "
    "the message is \"12\".";

constexpr const char* kFooter =
    "Formats:\n"
    "  The format of -o FILE comes from its extension (.bmp, .wmf, .emf, .png, .svg) or from --format; "
    "-o - writes to standard output and needs --format. BMP is a one-bit bitmap byte for byte as Windows GDI "
    "makes it, WMF a placeable Windows metafile, EMF the enhanced metafile the clipboard receives, PNG the "
    "bitmap's pixels in the bar and background colours with the screen's resolution recorded, SVG one path "
    "of module runs sized in millimetres.\n\n"
    "Picture size:\n"
    "  Without --size the picture is the symbol plus the quiet zone. A --size that cuts the symbol is refused, "
    "naming the size that fits, unless --allow-crop is given.\n\n"
    "Batch mode:\n"
    "  Each line of the batch file (LF or CRLF) is one message, written to every -o PATTERN, where a run "
    "of # becomes the line number padded with zeros to the run's length. Lines are drawn in parallel on all "
    "processors; a failed line is reported by its number and the others go on. Files that replace existing "
    "ones are flushed to storage once at the end; new files, as single saves, are not flushed.\n\n"
    "Exit status:\n"
    "  0 success; 1 failure (a message that does not fit, a file that cannot be read or written, a picture "
    "that cuts the symbol, any failed batch line); 2 usage error.\n\n"
    "Examples:\n"
    "  ecc200 -o label.png \"Hello, world\"\n\n"
    "  printf 'part 4711' | ecc200 -o - -f svg > label.svg\n\n"
    "  ecc200 --batch serials.txt -o out/label-####.bmp\n";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The whole of `text` read by `convert` (std::stol, std::stod), or nothing
// when it is not one number.
template <typename Convert>
auto ParseWhole(const std::string& text, Convert convert) -> std::optional<decltype(convert(text, nullptr))> {
    std::size_t used = 0;
    try {
        const auto value = convert(text, &used);
        if (used != 0 && used == text.size()) return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

// A whole decimal number from min to max, or a usage error naming the option.
long ParseInteger(const std::string& option, const std::string& text, long min, long max) {
    const std::optional<long> value =
        ParseWhole(text, [](const std::string& t, std::size_t* used) { return std::stol(t, used); });
    if (!value || *value < min || *value > max) {
        throw UsageError(option + " takes a whole number from " + std::to_string(min) + " to " + std::to_string(max));
    }
    return *value;
}

PictureSize ParseSize(const std::string& text) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) throw UsageError("--size takes WIDTHxHEIGHT, for example 500x300");
    const long width = ParseInteger("--size", text.substr(0, x), 1, 2147483647);
    const long height = ParseInteger("--size", text.substr(x + 1), 1, 2147483647);
    return {static_cast<int>(width), static_cast<int>(height)};
}

double ParseModuleSize(const std::string& text) {
    const std::optional<double> value =
        ParseWhole(text, [](const std::string& t, std::size_t* used) { return std::stod(t, used); });
    if (!value || !(*value > 0)) throw UsageError("--module takes a size in centimetres above 0");
    return *value;
}

Rgb ParseColour(const std::string& option, const std::string& text) {
    const bool hex = text.size() == 6 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
    if (!hex) throw UsageError(option + " takes a colour as RRGGBB in hexadecimal");
    const auto component = [&](std::size_t i) { return static_cast<int>(std::stoi(text.substr(i, 2), nullptr, 16)); };
    return Rgb{component(0), component(2), component(4)};
}

int ParseBorder(const std::string& text) {
    if (text == "none") return 0;
    if (text == "dashed") return 1;
    if (text == "solid") return 2;
    throw UsageError("--border takes none, dashed or solid");
}

PrintMode ParsePrintMode(const std::string& text) {
    if (text == "preview") return PrintMode::Preview;
    if (text == "matrix") return PrintMode::Matrix;
    if (text == "codewords") return PrintMode::Codewords;
    throw UsageError("--print takes preview, matrix or codewords");
}

// The option values as CLI11 collects them, converted and checked after.
struct RawOptions {
    std::optional<std::string> message, hex, messageFile, batch, print, size, module, orientation, border, bar,
        background, dpi, quietZone, format;
    std::vector<std::string> outputs, bmp, wmf, emf;
    bool allowCrop = false;
    bool clipboard = false;
};

void AddOptions(CLI::App& app, RawOptions& raw) {
    app.add_option("MESSAGE", raw.message, "The message to encode (its bytes as given)");
    app.add_option("-x,--hex", raw.hex, "The message as hexadecimal digits, two per byte")->type_name("HEX");
    app.add_option("-i,--message-file", raw.messageFile, "Read the message from FILE (- for standard input)")
        ->type_name("FILE");
    app.add_option("--batch", raw.batch, "One message per line of FILE (- for standard input); see Batch mode")
        ->type_name("FILE");
    app.add_option("-o,--output", raw.outputs, "Write the picture to FILE (repeatable; - for standard output)")
        ->allow_extra_args(false)
        ->type_name("FILE");
    app.add_option("-f,--format", raw.format, "Format of every -o: bmp, wmf, emf, png or svg")->type_name("FORMAT");
    app.add_option("--bmp", raw.bmp, "Write a one-bit BMP file")->allow_extra_args(false)->type_name("FILE");
    app.add_option("--wmf", raw.wmf, "Write a placeable Windows metafile")->allow_extra_args(false)->type_name("FILE");
    app.add_option("--emf", raw.emf, "Write the enhanced metafile")->allow_extra_args(false)->type_name("FILE");
    app.add_flag("--clipboard", raw.clipboard, "Put the enhanced metafile on the clipboard (Windows only)");
    app.add_option("-p,--print", raw.print,
                   "Print preview (the default without outputs), matrix (rows of 0 and 1) or codewords")
        ->type_name("MODE");
    app.add_option("-s,--size", raw.size, "Picture size in pixels (default: the symbol and its quiet zone)")
        ->type_name("WxH");
    app.add_option("-q,--quiet-zone", raw.quietZone, "Light margin in modules around the symbol when --size is not given (default 2)")
        ->type_name("N");
    app.add_flag("--allow-crop", raw.allowCrop, "Draw even when --size cuts the symbol");
    app.add_option("-m,--module", raw.module, "Module size in centimetres (default 0.2)")->type_name("CM");
    app.add_option("-r,--orientation", raw.orientation, "Counter-clockwise quarter turns, 0 to 3 (default 0)")
        ->type_name("0-3");
    app.add_option("--border", raw.border, "Frame around the picture: none, dashed or solid (default none)")
        ->type_name("STYLE");
    app.add_option("--bar", raw.bar, "Bar colour (default 000000)")->type_name("RRGGBB");
    app.add_option("--background", raw.background, "Background colour (default FFFFFF)")->type_name("RRGGBB");
    app.add_option("-d,--dpi", raw.dpi, "Screen resolution the picture is laid out for (default 96, or ECC200_SCREEN_DPI)")
        ->type_name("N");
}

// Every output in the order the kinds are listed; -o takes its format from
// --format or the extension.
std::vector<OutputRequest> OutputsOf(const RawOptions& raw) {
    std::optional<OutputFormat> forced;
    if (raw.format) {
        forced = FormatNamed(*raw.format);
        if (!forced) throw UsageError("--format takes bmp, wmf, emf, png or svg");
    }
    std::vector<OutputRequest> outputs;
    for (const std::string& path : raw.outputs) {
        if (path.empty()) throw UsageError("-o needs a file name");
        std::optional<OutputFormat> format = forced ? forced : FormatOfPath(path);
        if (!format) {
            throw UsageError(path == "-" ? "-o - needs --format" : "cannot tell the format of " + path +
                                                                       ": use .bmp, .wmf, .emf, .png or .svg, or --format");
        }
        outputs.push_back({*format, path});
    }
    for (const std::string& path : raw.bmp) outputs.push_back({OutputFormat::Bmp, path});
    for (const std::string& path : raw.wmf) outputs.push_back({OutputFormat::Wmf, path});
    for (const std::string& path : raw.emf) outputs.push_back({OutputFormat::Emf, path});
    return outputs;
}

Options Convert(const RawOptions& raw) {
    Options options;
    options.source = MessageSource{raw.message, raw.hex, raw.messageFile};
    const int sources = (raw.message ? 1 : 0) + (raw.hex ? 1 : 0) + (raw.messageFile ? 1 : 0) + (raw.batch ? 1 : 0);
    if (sources > 1) throw UsageError("give the message only once: MESSAGE, --hex, --message-file or --batch");
    options.batchPath = raw.batch;
    if (raw.print) options.print = ParsePrintMode(*raw.print);
    if (raw.size) options.size = ParseSize(*raw.size);
    if (raw.quietZone) options.quietZoneModules = static_cast<int>(ParseInteger("--quiet-zone", *raw.quietZone, 0, 1000));
    options.allowCrop = raw.allowCrop;
    if (raw.module) options.moduleCentimetres = ParseModuleSize(*raw.module);
    if (raw.orientation) options.orientation = static_cast<int>(ParseInteger("--orientation", *raw.orientation, 0, 3));
    if (raw.border) options.border = ParseBorder(*raw.border);
    if (raw.bar) options.bar = ParseColour("--bar", *raw.bar);
    if (raw.background) options.background = ParseColour("--background", *raw.background);
    if (raw.dpi) options.dpi = static_cast<int>(ParseInteger("--dpi", *raw.dpi, 1, 100000));
#ifdef _WIN32
    if (options.dpi) throw UsageError("--dpi sets the portable build's screen; on Windows the screen's own resolution counts");
#endif
    options.outputs = OutputsOf(raw);
    options.clipboard = raw.clipboard;
    if (options.batchPath) {
        if (options.outputs.empty()) throw UsageError("--batch needs -o PATTERN");
        if (options.clipboard) throw UsageError("--batch cannot put pictures on the clipboard");
        if (options.print) throw UsageError("--batch cannot print");
        for (const OutputRequest& output : options.outputs) {
            if (output.path == "-") throw UsageError("--batch writes files, not standard output");
            if (output.path.find('#') == std::string::npos) {
                throw UsageError("the batch output " + output.path + " needs a run of # for the line number");
            }
        }
    }
    return options;
}

}  // namespace

int ReportUsageError(const std::string& cause) {
    std::cerr << "ecc200: " << cause << '\n' << kUsageLine << '\n';
    return kExitUsage;
}

ParsedCommandLine ParseCommandLine(int argc, char** argv) {
    CLI::App app{kDescription, "ecc200"};
    app.footer(kFooter);
    app.set_version_flag("-V,--version", std::string("ecc200 ") + ECC200_TOOL_VERSION);
    app.get_formatter()->column_width(34);
    RawOptions raw;
    AddOptions(app, raw);
    try {
        app.parse(argc, argv);
        return {Convert(raw), 0};
    } catch (const CLI::Success& success) {  // --help and --version
        return {std::nullopt, app.exit(success, std::cout, std::cerr)};
    } catch (const CLI::ParseError& error) {
        return {std::nullopt, ReportUsageError(error.what())};
    } catch (const UsageError& error) {
        return {std::nullopt, ReportUsageError(error.what())};
    }
}

}  // namespace ecc200::tool
