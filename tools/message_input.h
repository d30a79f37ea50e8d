// Where the message comes from: MESSAGE, --hex, --message-file or standard
// input. Messages are bytes with a length: every byte, a zero byte too, is
// data, and the library alone decides what fits.
#pragma once

#include <optional>
#include <string>

#include "options.h"

namespace ecc200::tool {

// The message's bytes, or the exit status after the cause was reported: 2
// for bad hexadecimal digits, 1 for a file that cannot be read or a message
// that is empty or missing.
struct MessageOrExit {
    std::optional<std::string> message;
    int exitCode = 0;
};

// demoAllowed: no picture is asked for, so that with no message at all (a
// terminal on standard input, or nothing piped) the symbol shown is the
// demonstration message. A picture never gets it: an empty or missing
// message is then an error, and nothing is written.
MessageOrExit ReadMessage(const MessageSource& source, bool demoAllowed);

// Bytes from hexadecimal digits, two per byte; nothing when the text is not
// an even number of hexadecimal digits.
std::optional<std::string> DecodeHex(const std::string& hex);

// The message the preview shows when none is given: the library's first
// release's default.
constexpr const char* kDemoMessage = "12";

}  // namespace ecc200::tool
