// Where the message comes from: MESSAGE, --hex, --message-file or standard
// input, and the checks every message passes before it is encoded.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "options.h"

namespace ecc200::tool {

// The message's bytes, or the exit status after the cause was reported: 2
// for bad hexadecimal digits, 1 for a file that cannot be read.
struct MessageOrExit {
    std::optional<std::string> message;
    int exitCode = 0;
};

MessageOrExit ReadMessage(const MessageSource& source);

// Bytes from hexadecimal digits, two per byte; nothing when the text is not
// an even number of hexadecimal digits.
std::optional<std::string> DecodeHex(const std::string& hex);

// Why the library could not take the message as given: a zero byte (the C
// API ends a message at its first zero byte) or more than 1999 bytes; or
// nothing when it can.
std::optional<std::string> MessageProblem(std::string_view message);

}  // namespace ecc200::tool
