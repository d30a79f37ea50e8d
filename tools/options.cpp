#include "options.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <string_view>

#include "encoding_options.h"
#include "option_values.h"

namespace ecc200::tool {
namespace {

constexpr const char* kUsageLine = "usage: ecc200 [OPTIONS] [MESSAGE]   (ecc200 --help lists the options)";

constexpr const char* kDescription =
    "Encodes a message as an ECC 200 Data Matrix symbol (ISO/IEC 16022) and writes it as BMP, WMF, EMF, "
    "PNG, SVG, PDF or EPS pictures or ZPL labels, puts it on the clipboard (Windows), or shows it in the terminal.\n\n"
    "The message is MESSAGE, --hex or --message-file; without any of them and with standard input not a "
    "terminal, standard input is read. Every byte is data (zero bytes and a final newline included). An "
    "empty message is an error, and so is no message at all when a picture is asked for; shown in the "
    "terminal without any message, the symbol is a demonstration of \"12\".";

constexpr const char* kFooter =
    "Formats:\n"
    "  The format of -o FILE comes from its extension (.bmp, .wmf, .emf, .png, .svg, .zpl, .pdf, .eps) or from "
    "--format; -o - writes to standard output and needs --format. BMP is a one-bit bitmap byte for byte as Windows GDI "
    "makes it, WMF a placeable Windows metafile, EMF the enhanced metafile the clipboard receives, PNG the "
    "bitmap's pixels in the bar and background colours with the resolution recorded, SVG the symbol as "
    "paths, sized in millimetres, PDF one page and EPS an Encapsulated PostScript file at the exact physical size. "
    "--seamless draws the dark modules of a WMF or EMF as one filled shape. --hri prints the message (a GS1 "
    "element string in round brackets) under the symbol in SVG, PDF and EPS, its em three modules or less "
    "so that it fits the width less a module each side; the picture grows by one em. ZPL "
    "is a label for label printers: the bitmap's pixels as a ^GFA graphic field in the printer's dots (dark "
    "printed); --dpi is the printer's resolution (default 203), --zpl-z64 compresses the field, "
    "--zpl-field-only writes the field without ^XA and ^XZ.\n\n"
    "Picture size:\n"
    "  Without --size the picture is the symbol plus the quiet zone. A --size that cuts the symbol is refused, "
    "naming the size that fits, unless --allow-crop is given.\n\n"
    "Module size:\n"
    "  BMP, WMF, EMF and PNG draw each module as whole pixels at the resolution (--dpi, else the screen's): "
    "--module is rounded down to whole pixels, and a module drawn more than 10 % below the size asked is "
    "reported on standard error. --module-px gives the pixels themselves. SVG draws modules of exactly the "
    "size asked (whole pixels only with --module-px), and so do PDF and EPS. ZPL rounds --module to the nearest "
    "whole dot and reports a module more than 5 % off the size asked.\n\n"
    "Batch mode:\n"
    "  Each line of the batch file (LF or CRLF) is one message, written to every -o PATTERN, where a run "
    "of # becomes the line number padded with zeros to the run's length. Lines are drawn in parallel on all "
    "processors; a failed line is reported by its number and the others go on. An output folder that is "
    "missing or cannot be written stops the batch before anything is drawn. Each file that replaces an "
    "existing one is flushed to storage as it is saved. A PDF output without # is one document of a page per "
    "line, in line order. A ZPL output without # is one file of labels, one a line, in line order, to send to the "
    "printer in one job.\n\n"
    "Exit status:\n"
    "  0 success; 1 failure (no message or an empty one, a message that does not fit or that the encoder "
    "options refuse, a file that cannot be read or written, a picture that cuts the symbol, any failed batch "
    "line); 2 usage error.\n\n"
    "Examples:\n"
    "  ecc200 -o label.png \"Hello, world\"\n\n"
    "  printf 'part 4711' | ecc200 -o - -f svg > label.svg\n\n"
    "  ecc200 --module-px 4 --dpi 300 -o label.png 4711\n\n"
    "  ecc200 --gs1 -o label.svg \"(01)09506000134352(17)201225(10)ABC123\"\n\n"
    "  ecc200 --batch serials.txt -o out/label-####.bmp\n\n"
    "  ecc200 --batch serials.txt --hri -o labels.pdf\n"
    "  ecc200 --batch serials.txt -o labels.zpl && lp -d PRINTER -o raw labels.zpl\n";

constexpr long kMaxModulePixels = 1000000;
constexpr long kMaxDpi = 100000;
constexpr long kMaxQuietZone = 1000;

Rgb ParseColour(const std::string& option, const std::string& text) {
    const bool hex = text.size() == 6 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
    if (!hex) throw UsageError(option + " takes a colour as RRGGBB in hexadecimal");
    const auto component = [&](std::size_t i) {
        return static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16));
    };
    return Rgb{component(0), component(2), component(4)};
}

Border ParseBorder(const std::string& text) {
    if (text == "none") return Border::none;
    if (text == "dashed") return Border::dashed;
    if (text == "solid") return Border::solid;
    throw UsageError("--border takes none, dashed or solid");
}

PrintMode ParsePrintMode(const std::string& text) {
    if (text == "preview") return PrintMode::Preview;
    if (text == "matrix") return PrintMode::Matrix;
    if (text == "codewords") return PrintMode::Codewords;
    if (text == "data") return PrintMode::Data;
    throw UsageError("--print takes preview, matrix, codewords or data");
}

// The option values as CLI11 collects them, converted and checked after.
struct RawOptions {
    std::optional<std::string> message, hex, messageFile, batch, print, size, module, modulePixels, orientation, border,
        bar, background, dpi, quietZone, format;
    std::vector<std::string> outputs, bmp, wmf, emf;
    bool allowCrop = false;
    bool seamless = false;
    bool hri = false;
    bool zplZ64 = false;
    bool zplFieldOnly = false;
    bool clipboard = false;
    RawEncoding encoding;
};

void AddMessageOptions(CLI::App& app, RawOptions& raw) {
    app.add_option("MESSAGE", raw.message, "The message to encode (its bytes as given)");
    app.add_option("-x,--hex", raw.hex, "The message as hexadecimal digits, two per byte")->type_name("HEX");
    app.add_option("-i,--message-file", raw.messageFile, "Read the message from FILE (- for standard input)")
        ->type_name("FILE");
    app.add_option("--batch", raw.batch, "One message per line of FILE (- for standard input); see Batch mode")
        ->type_name("FILE");
}

void AddOutputOptions(CLI::App& app, RawOptions& raw) {
    app.add_option("-o,--output", raw.outputs, "Write the picture to FILE (repeatable; - for standard output)")
        ->allow_extra_args(false)
        ->type_name("FILE");
    app.add_option("-f,--format", raw.format, "Format of every -o: bmp, wmf, emf, png, svg, zpl, pdf or eps")->type_name("FORMAT");
    app.add_option("--bmp", raw.bmp, "Write a one-bit BMP file")->allow_extra_args(false)->type_name("FILE");
    app.add_option("--wmf", raw.wmf, "Write a placeable Windows metafile")->allow_extra_args(false)->type_name("FILE");
    app.add_option("--emf", raw.emf, "Write the enhanced metafile")->allow_extra_args(false)->type_name("FILE");
    app.add_flag("--clipboard", raw.clipboard, "Put the enhanced metafile on the clipboard (Windows only)");
    app.add_option("-p,--print", raw.print,
                   "Print preview (the default without outputs), matrix (rows of 0 and 1), codewords (the final "
                   "stream) or data (the data codewords before padding)")
        ->type_name("MODE");
}

void AddPictureOptions(CLI::App& app, RawOptions& raw) {
    app.add_option("-s,--size", raw.size, "Picture size in pixels (default: the symbol and its quiet zone)")
        ->type_name("WxH");
    app.add_option("-q,--quiet-zone", raw.quietZone, "Light margin in modules around the symbol when --size is not given (default 2)")
        ->type_name("N");
    app.add_flag("--allow-crop", raw.allowCrop, "Draw even when --size cuts the symbol");
    app.add_option("-m,--module", raw.module, "Module size in centimetres (default 0.2); see Module size")->type_name("CM");
    app.add_option("--module-px", raw.modulePixels, "Module size in whole pixels, instead of --module")->type_name("N");
    app.add_option("-r,--orientation", raw.orientation, "Counter-clockwise quarter turns, 0 to 3 (default 0)")
        ->type_name("0-3");
    app.add_option("--border", raw.border, "Frame around the picture: none, dashed or solid (default none)")
        ->type_name("STYLE");
    app.add_option("--bar", raw.bar, "Bar colour (default 000000)")->type_name("RRGGBB");
    app.add_option("--background", raw.background, "Background colour (default FFFFFF)")->type_name("RRGGBB");
    app.add_option("-d,--dpi", raw.dpi, "Resolution the picture is laid out for (default: the screen's; 96, or ECC200_SCREEN_DPI, without one; ZPL: 203)")
        ->type_name("N");
    app.add_flag("--seamless", raw.seamless, "WMF and EMF: the dark modules as one filled shape, without seams");
    app.add_flag("--hri", raw.hri, "SVG, PDF and EPS: the human-readable text under the symbol");
    app.add_flag("--zpl-z64", raw.zplZ64, "ZPL: the graphic field compressed (Z64) instead of ASCII hex");
    app.add_flag("--zpl-field-only", raw.zplFieldOnly, "ZPL: the graphic field alone (^FO..^FS), without ^XA and ^XZ");
}

// Every output in the order the kinds are listed; -o takes its format from
// --format or the extension.
std::vector<OutputRequest> OutputsOf(const RawOptions& raw) {
    std::optional<OutputFormat> forced;
    if (raw.format) {
        forced = FormatNamed(*raw.format);
        if (!forced) throw UsageError("--format takes bmp, wmf, emf, png, svg, zpl, pdf or eps");
    }
    std::vector<OutputRequest> outputs;
    for (const std::string& path : raw.outputs) {
        if (path.empty()) throw UsageError("-o needs a file name");
        std::optional<OutputFormat> format = forced ? forced : FormatOfPath(path);
        if (!format) {
            throw UsageError(path == "-" ? "-o - needs --format" : "cannot tell the format of " + path +
                                                                       ": use .bmp, .wmf, .emf, .png, .svg, .zpl, .pdf or .eps, or --format");
        }
        outputs.push_back({*format, path});
    }
    for (const std::string& path : raw.bmp) outputs.push_back({OutputFormat::Bmp, path});
    for (const std::string& path : raw.wmf) outputs.push_back({OutputFormat::Wmf, path});
    for (const std::string& path : raw.emf) outputs.push_back({OutputFormat::Emf, path});
    return outputs;
}

Picture PictureOf(const RawOptions& raw) {
    Picture picture;
    if (raw.size) {
        const NumberPair size = ParsePair("--size", *raw.size, 'x', 1, 2147483647, "WIDTHxHEIGHT, for example 500x300");
        picture.width = size.first;
        picture.height = size.second;
    }
    if (raw.quietZone) picture.quiet_zone = static_cast<int>(ParseInteger("--quiet-zone", *raw.quietZone, 0, kMaxQuietZone));
    picture.allow_crop = raw.allowCrop;
    if (raw.module && raw.modulePixels) throw UsageError("give the module size once: --module or --module-px");
    if (raw.module) picture.module_cm = ParsePositive("--module", *raw.module, "centimetres");
    if (raw.modulePixels) {
        picture.module_px = static_cast<int>(ParseInteger("--module-px", *raw.modulePixels, 1, kMaxModulePixels));
    }
    if (raw.orientation) picture.quarter_turns = static_cast<int>(ParseInteger("--orientation", *raw.orientation, 0, 3));
    if (raw.border) picture.border = ParseBorder(*raw.border);
    if (raw.bar) picture.bar = ParseColour("--bar", *raw.bar);
    if (raw.background) picture.background = ParseColour("--background", *raw.background);
    if (raw.dpi) picture.dpi = static_cast<int>(ParseInteger("--dpi", *raw.dpi, 1, kMaxDpi));
    picture.seamless = raw.seamless;
    picture.hri = raw.hri;
    picture.zpl_z64 = raw.zplZ64;
    picture.zpl_field_only = raw.zplFieldOnly;
    return picture;
}

void CheckBatch(const Options& options) {
    if (options.outputs.empty()) throw UsageError("--batch needs -o PATTERN");
    if (options.clipboard) throw UsageError("--batch cannot put pictures on the clipboard");
    if (options.print) throw UsageError("--batch cannot print");
    for (const OutputRequest& output : options.outputs) {
        if (IsLabelStream(output)) continue;  // one stream of labels
        if (output.path == "-") throw UsageError("--batch writes files, not standard output");
        if (output.path.find('#') == std::string::npos && output.format != OutputFormat::Pdf) {
            throw UsageError("the batch output " + output.path + " needs a run of # for the line number (or is one PDF)");
        }
    }
}

Options Convert(const RawOptions& raw) {
    Options options;
    options.source = MessageSource{raw.message, raw.hex, raw.messageFile};
    const int sources = (raw.message ? 1 : 0) + (raw.hex ? 1 : 0) + (raw.messageFile ? 1 : 0) + (raw.batch ? 1 : 0);
    if (sources > 1) throw UsageError("give the message only once: MESSAGE, --hex, --message-file or --batch");
    options.batchPath = raw.batch;
    if (raw.print) options.print = ParsePrintMode(*raw.print);
    options.encoding = EncodingOf(raw.encoding);
    options.picture = PictureOf(raw);
    options.outputs = OutputsOf(raw);
    options.clipboard = raw.clipboard;
    if (options.picture.hri) {
        for (const OutputRequest& output : options.outputs) {
            if (!CarriesText(output.format))
                throw UsageError(std::string("--hri: a ") + FormatName(output.format) +
                                 " carries no text; the human-readable text is drawn in SVG, PDF and EPS");
        }
    }
    if (options.batchPath) CheckBatch(options);
    return options;
}

// The usual label command, `ecc200 [-o FILE]... MESSAGE`: every option is
// -o or --output with its file as the next argument, and at most one message;
// no argument but an option's name starts with '-'. Read without CLI11,
// whose set-up of every option would be most of such a run's work; for any
// other command line (another option, "--", a file or message starting with
// '-', a second message) false, and CLI11 reads it.
bool ReadPlainCommandLine(int argc, char** argv, RawOptions& raw) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-o" || argument == "--output") {
            if (i + 1 == argc || argv[i + 1][0] == '-') return false;
            raw.outputs.emplace_back(argv[++i]);
        } else if (argument.empty() || argument[0] != '-') {
            if (raw.message) return false;
            raw.message = std::string(argument);
        } else {
            return false;
        }
    }
    return true;
}

ParsedCommandLine ParseWithCli11(int argc, char** argv) {
    CLI::App app{kDescription, "ecc200"};
    app.footer(kFooter);
    app.set_version_flag("-V,--version", std::string("ecc200 ") + ecc200_version());
    app.get_formatter()->column_width(34);
    RawOptions raw;
    AddMessageOptions(app, raw);
    AddOutputOptions(app, raw);
    AddPictureOptions(app, raw);
    AddEncodingOptions(app, raw.encoding);
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

}  // namespace

int ReportUsageError(const std::string& cause) {
    std::cerr << "ecc200: " << cause << '\n' << kUsageLine << '\n';
    return kExitUsage;
}

ParsedCommandLine ParseCommandLine(int argc, char** argv) {
    RawOptions raw;
    try {
        if (ReadPlainCommandLine(argc, argv, raw)) return {Convert(raw), 0};
    } catch (const UsageError& error) {
        return {std::nullopt, ReportUsageError(error.what())};
    }
    return ParseWithCli11(argc, argv);
}

}  // namespace ecc200::tool
