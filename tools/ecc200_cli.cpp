// ecc200: encodes a message as an ECC 200 Data Matrix symbol and shows it.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "api/settings.h"
#include "encoder/build_symbol.h"
#include "terminal_preview.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: ecc200 [--hex HEX | --message-file FILE | MESSAGE] [--print preview|matrix|codewords]\n";

enum class PrintMode { Preview, Matrix, Codewords };

struct Options {
    std::optional<std::string> message;
    PrintMode print = PrintMode::Preview;
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
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) return std::nullopt;
    return content.str();
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
// bytes; the tool refuses what the library could not hold as given.
std::optional<std::string> CheckMessage(const std::string& message) {
    if (message.find('\0') != std::string::npos) return "the message contains a zero byte, which cannot be encoded";
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

}  // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = ParseArguments(argc, argv);
    } catch (const UsageError& error) {
        std::cerr << "ecc200: " << error.what << '\n' << kUsage;
        return kExitUsage;
    }
    if (const std::optional<std::string> problem = CheckMessage(*options.message)) {
        std::cerr << "ecc200: " << *problem << '\n';
        return kExitFailure;
    }

    const auto state = std::make_unique<ecc200::EncoderWorkingState>();
    if (!ecc200::BuildSymbol(*options.message, *state)) {
        std::cerr << "ecc200: the message needs " << state->messageCodewords
                  << " codewords; the largest symbol (144x144) holds " << ecc200::kMaxDataCodewords << '\n';
        return kExitFailure;
    }
    switch (options.print) {
        case PrintMode::Matrix: PrintMatrix(state->symbol); break;
        case PrintMode::Codewords: PrintCodewords(state->stream); break;
        case PrintMode::Preview: ecc200::tool::PrintPreview(state->symbol, isatty(STDOUT_FILENO) != 0, std::cout); break;
    }
    std::cout.flush();
    return std::cout ? 0 : kExitFailure;
}
