#include "support/decoders.h"

#include "support/run_command.h"

namespace ecc200::test {
namespace {

std::string Letters(int codewords) {
    std::string text;
    for (int i = 0; i < codewords; ++i) text.push_back(static_cast<char>('A' + i % 26));
    return text;
}

}  // namespace

std::string ZxingRead(const std::string& imagePath) {
    return RunCommand({"ZXingReader", "-bytes", "-format", "DataMatrix", imagePath}).out;
}

std::string DmtxRead(const std::string& imagePath, int side) {
    const std::string hint = std::to_string(side) + "x" + std::to_string(side);
    return RunCommand({"dmtxread", "-s", hint, imagePath}).out;
}

std::string ExactFill(int codewords, int kind) {
    if (kind == 1 && 2 * codewords <= 1999) return std::string(static_cast<std::size_t>(2 * codewords), '7');
    if (kind == 2) return std::string(static_cast<std::size_t>(codewords / 2), '\xE9') + Letters(codewords % 2);
    return Letters(codewords);
}

}  // namespace ecc200::test
