#include "support/decoders.h"

#include <optional>
#include <sstream>

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

namespace {

std::string HexBytes(const std::string& hex) {
    std::string bytes;
    for (std::size_t at = 0; at + 1 < hex.size(); at += 3) bytes.push_back(static_cast<char>(std::stoi(hex.substr(at, 2), nullptr, 16)));
    return bytes;
}

// The value of a "Name:   value" line, or nothing when the line is another.
std::optional<std::string> Field(const std::string& line, const std::string& name) {
    if (line.compare(0, name.size(), name) != 0) return std::nullopt;
    const std::size_t at = line.find_first_not_of(' ', name.size());
    return at == std::string::npos ? std::string() : line.substr(at);
}

}  // namespace

std::map<std::string, ZxingReport> ZxingReadAll(const std::vector<std::string>& imagePaths) {
    std::vector<std::string> args = {"ZXingReader", "-format", "DataMatrix"};
    args.insert(args.end(), imagePaths.begin(), imagePaths.end());
    std::istringstream out(RunCommand(args).out);
    std::map<std::string, ZxingReport> reports;
    std::string line, file = imagePaths.size() == 1 ? imagePaths[0] : "";
    // Several pictures: each report starts with "File:"; one picture: no such line.
    while (std::getline(out, line)) {
        if (const auto v = Field(line, "File:")) file = *v;
        if (const auto v = Field(line, "Bytes:")) reports[file].bytes = HexBytes(*v + " ");
        if (const auto v = Field(line, "Identifier:")) reports[file].identifier = *v;
        if (const auto v = Field(line, "HasECI:")) reports[file].hasEci = *v == "true";
    }
    return reports;
}

std::string DmtxReadExact(const std::string& imagePath, int rows, int cols) {
    const std::string hint = std::to_string(rows) + "x" + std::to_string(cols);
    return RunCommand({"dmtxread", "-C", "0", "-s", hint, imagePath}).out;
}

std::string ExactFill(int codewords, int kind) {
    if (kind == 1 && 2 * codewords <= 1999) return std::string(static_cast<std::size_t>(2 * codewords), '7');
    if (kind == 2) return std::string(static_cast<std::size_t>(codewords / 2), '\xE9') + Letters(codewords % 2);
    return Letters(codewords);
}

}  // namespace ecc200::test
