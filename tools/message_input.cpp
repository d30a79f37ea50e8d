#include "message_input.h"

#include <cerrno>
#include <cstring>
#include <iostream>

#include "system_io.h"

namespace ecc200::tool {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

MessageOrExit Failure(const std::string& cause) {
    std::cerr << "ecc200: " << cause << '\n';
    return {std::nullopt, kExitFailure};
}

MessageOrExit ReadMessageFile(const std::string& path) {
    std::string content;
    if (!ReadWholeFile(path, content)) {
        const std::string name = path == "-" ? "standard input" : "message file " + path;
        return Failure("cannot read " + name + ": " + std::strerror(errno));
    }
    return {std::move(content), 0};
}

// MESSAGE, --hex or --message-file; nothing when none was given.
std::optional<MessageOrExit> GivenMessage(const MessageSource& source) {
    if (source.text) return MessageOrExit{*source.text, 0};
    if (source.hex) {
        std::optional<std::string> bytes = DecodeHex(*source.hex);
        if (!bytes) return MessageOrExit{std::nullopt, ReportUsageError("--hex takes an even number of hexadecimal digits")};
        return MessageOrExit{std::move(bytes), 0};
    }
    if (source.filePath) return ReadMessageFile(*source.filePath);
    return std::nullopt;
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

MessageOrExit ReadMessage(const MessageSource& source, bool demoAllowed) {
    if (std::optional<MessageOrExit> given = GivenMessage(source)) {
        if (given->message && given->message->empty()) return Failure("the message is empty");
        return std::move(*given);
    }
    // Piped input is the message; a terminal, nothing piped or a closed
    // standard input is no message at all.
    std::string piped;
    if (!StdinIsTerminal()) {
        if (!ReadWholeFile("-", piped) && errno != EBADF) return ReadMessageFile("-");
        if (!piped.empty()) return {std::move(piped), 0};
    }
    if (demoAllowed) return {std::string(kDemoMessage), 0};
    if (!StdinIsTerminal()) return Failure("the message is empty: standard input gave no bytes");
    return Failure("no message: give MESSAGE, --hex or --message-file, or pipe it to standard input");
}

}  // namespace ecc200::tool
