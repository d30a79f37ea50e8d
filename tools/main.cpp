// ecc200: encodes a message as an ECC 200 Data Matrix symbol and writes it
// as pictures, puts it on the clipboard or shows it in the terminal.
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "batch.h"
#include "driver/render_symbol.h"
#include "encoder/build_symbol.h"
#include "message_input.h"
#include "options.h"
#include "picture_outputs.h"
#include "picture_plan.h"
#include "system_io.h"
#include "terminal_preview.h"

#ifndef _WIN32
#include "platform/portable/portable_screen.h"
#endif

namespace ecc200::tool {
namespace {

int Fail(const std::string& cause) {
    std::cerr << "ecc200: " << cause << '\n';
    return kExitFailure;
}

// Draws the one picture into every output; the symbol is built by each
// output as it draws.
int WritePictures(const std::string& message, const Options& options) {
    const PlanOrProblem planned = PlanPicture(message, options);
    if (!planned.plan) return Fail(planned.problem);
    if (const std::optional<std::string> problem = MessageProblem(message)) return Fail(*problem);
    const SymbolJob job{message, planned.plan->style};
    for (const OutputRequest& output : options.outputs) {
        if (const std::optional<std::string> failure = WritePicture(output.format, output.path, job, nullptr)) {
            return Fail(*failure);
        }
    }
    if (options.clipboard) {
        if (const std::optional<std::string> failure = PutPictureOnClipboard(job)) return Fail(*failure);
    }
    return 0;
}

int PrintSymbol(const std::string& message, PrintMode mode) {
    const auto state = std::make_unique<EncoderWorkingState>();
    if (!BuildSymbol(message, *state)) {
        return Fail("the message needs " + std::to_string(state->messageCodewords) +
                    " codewords; the largest symbol (144x144) holds " + std::to_string(kMaxDataCodewords));
    }
    if (const std::optional<std::string> problem = MessageProblem(message)) return Fail(*problem);
    switch (mode) {
        case PrintMode::Matrix: PrintMatrix(state->symbol, std::cout); break;
        case PrintMode::Codewords: PrintCodewords(state->stream, std::cout); break;
        case PrintMode::Preview: PrintPreview(state->symbol, StdoutIsTerminal(), std::cout); break;
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
    // Refused before anything is written.
    if (options.clipboard && !HasSystemClipboard()) return Fail(*PutPictureOnClipboard(SymbolJob{}));

    const MessageOrExit read = ReadMessage(options.source);
    if (!read.message) return read.exitCode;
    const std::string& message = *read.message;
    if (message.find('\0') != std::string::npos) return Fail(*MessageProblem(message));

    if (pictures) {
        if (const int status = WritePictures(message, options)) return status;
    }
    // Without outputs the symbol is shown; with them only when asked.
    const std::optional<PrintMode> print = pictures ? options.print : options.print.value_or(PrintMode::Preview);
    return print ? PrintSymbol(message, *print) : 0;
}

}  // namespace
}  // namespace ecc200::tool

int main(int argc, char** argv) {
    using namespace ecc200::tool;
    UseBinaryStandardStreams();
    const ParsedCommandLine parsed = ParseCommandLine(argc, argv);
    if (!parsed.options) return parsed.exitCode;
#ifndef _WIN32
    if (parsed.options->dpi) ecc200::platform::SetPortableScreenDpi(*parsed.options->dpi);
#endif
    try {
        return Run(*parsed.options);
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    }
}
