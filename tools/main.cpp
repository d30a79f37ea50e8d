// ecc200: encodes a message as an ECC 200 Data Matrix symbol and writes it
// as pictures, puts it on the clipboard or shows it in the terminal, all
// through the library's public interface (ecc200.hpp).
#include <iostream>
#include <new>
#include <optional>
#include <string>

#include <ecc200.hpp>

#include "batch.h"
#include "message_input.h"
#include "options.h"
#include "picture_outputs.h"
#include "system_io.h"
#include "terminal_preview.h"

namespace ecc200::tool {
namespace {

int Fail(const std::string& cause) {
    std::cerr << "ecc200: " << cause << '\n';
    return kExitFailure;
}

// Draws the one picture into every output.
int WritePictures(const Symbol& symbol, const Options& options) {
    if (!CheckOutputModule(options, symbol)) return kExitFailure;
    const PictureJob job{symbol, options.picture};
    for (const OutputRequest& output : options.outputs) {
        if (const std::optional<std::string> failure = WritePicture(output.format, output.path, job)) return Fail(*failure);
    }
    if (options.clipboard) {
        if (const std::optional<std::string> failure = PutPictureOnClipboard(job)) return Fail(*failure);
    }
    return 0;
}

int PrintSymbol(const Symbol& symbol, PrintMode mode) {
    switch (mode) {
        case PrintMode::Matrix: PrintMatrix(symbol, std::cout); break;
        case PrintMode::Codewords: PrintCodewords(symbol.codewords(), std::cout); break;
        case PrintMode::Data: PrintCodewords(symbol.data_codewords(), std::cout); break;
        case PrintMode::Preview: PrintPreview(symbol, StdoutIsTerminal(), std::cout); break;
    }
    std::cout.flush();
    return std::cout ? 0 : Fail("cannot write standard output");
}

int Run(const Options& options) {
    if (options.batchPath) return RunBatch(options);
    const bool pictures = !options.outputs.empty() || options.clipboard;
    for (const OutputRequest& output : options.outputs) {
        if (output.path == "-" && options.print) return ReportUsageError("-o - and --print both want standard output");
    }
    // Refused before anything is read or written.
    if (options.clipboard && !HasSystemClipboard()) return Fail(*PutPictureOnClipboard(PictureJob{}));

    const MessageOrExit read = ReadMessage(options.source, !pictures);
    if (!read.message) return read.exitCode;
    Symbol symbol;
    try {
        symbol = encode(*read.message, options.encoding);
    } catch (const Error& error) {
        return Fail(FailureLine(error));
    }
    if (pictures) {
        if (const int status = WritePictures(symbol, options)) return status;
    }
    // Without outputs the symbol is shown; with them only when asked.
    const std::optional<PrintMode> print = pictures ? options.print : options.print.value_or(PrintMode::Preview);
    return print ? PrintSymbol(symbol, *print) : 0;
}

}  // namespace
}  // namespace ecc200::tool

int main(int argc, char** argv) {
    using namespace ecc200::tool;
    UseBinaryStandardStreams();
    const ParsedCommandLine parsed = ParseCommandLine(argc, argv);
    if (!parsed.options) return parsed.exitCode;
    try {
        return Run(*parsed.options);
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    }
}
