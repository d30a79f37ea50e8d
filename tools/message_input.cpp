#include "message_input.h"

#include <cerrno>
#include <cstring>
#include <iostream>

#include "api/settings.h"
#include "system_io.h"

namespace ecc200::tool {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

MessageOrExit ReadMessageFile(const std::string& path) {
    std::string content;
    if (!ReadWholeFile(path, content)) {
        const std::string name = path == "-" ? "standard input" : "message file " + path;
        std::cerr << "ecc200: cannot read " << name << ": " << std::strerror(errno) << '\n';
        return {std::nullopt, kExitFailure};
    }
    return {std::move(content), 0};
}

}  // namespace

std::optional<std::string> DecodeHex(const std::string& hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexValue(hex[i]);
        const int low = HexValue(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

MessageOrExit ReadMessage(const MessageSource& source) {
    if (source.text) return {*source.text, 0};
    if (source.hex) {
        std::optional<std::string> bytes = DecodeHex(*source.hex);
        if (!bytes) return {std::nullopt, ReportUsageError("--hex takes an even number of hexadecimal digits")};
        return {std::move(bytes), 0};
    }
    if (source.filePath) return ReadMessageFile(*source.filePath);
    // Piped input is the message; a terminal, or nothing piped, gives the
    // library's default message.
    // A closed standard input counts as nothing piped.
    std::string piped;
    if (!StdinIsTerminal()) {
        if (!ReadWholeFile("-", piped) && errno != EBADF) return ReadMessageFile("-");
        if (!piped.empty()) return {std::move(piped), 0};
    }
    return {std::string(kDefaultMessage), 0};
}

std::optional<std::string> MessageProblem(std::string_view message) {
    if (message.find('\0') != std::string_view::npos) {
        return "the message contains a zero byte, which cannot be encoded";
    }
    if (message.size() > static_cast<std::size_t>(kMaxMessageBytes)) {
        return "the message has " + std::to_string(message.size()) + " bytes; at most " +
               std::to_string(kMaxMessageBytes) + " can be encoded";
    }
    return std::nullopt;
}

}  // namespace ecc200::tool
