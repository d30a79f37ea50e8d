#include "encoder/human_readable_text.h"


namespace ecc200 {
namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7E;

}  // namespace

std::string HumanReadableText(std::string_view message, bool gs1, std::string& text) {
    text.clear();
    if (message.empty()) return "the message is empty: there is no human-readable text to print";
    for (std::size_t i = 0; i < message.size(); ++i) {
        const auto byte = static_cast<unsigned char>(message[i]);
        if (byte >= kFirstPrintable && byte <= kLastPrintable) continue;
        const char hex[] = "0123456789ABCDEF";
        return std::string("byte 0x") + hex[byte >> 4] + hex[byte & 0xF] + " at " + std::to_string(i) +
               " cannot be printed as human-readable text, which takes printable ASCII only";
    }
    text.assign(message);
    // GS1's character set 82 has no square bracket, so in either form every
    // bracket of a GS1 element string is a delimiter (or, round, data that
    // stays as it is).
    if (gs1) {
        for (char& c : text) {
            if (c == '[') c = '(';
            if (c == ']') c = ')';
        }
    }
    return "";
}

}  // namespace ecc200
