#include "encoder/human_readable_text.h"

namespace ecc200 {
namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7E;

}  // namespace

std::size_t WriteHumanReadableText(std::string_view message, bool gs1, char* text) {
    std::size_t unprintable = message.size();
    for (std::size_t i = 0; i < message.size(); ++i) {
        char c = message[i];
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < kFirstPrintable || byte > kLastPrintable) && unprintable == message.size()) unprintable = i;
        // GS1's character set 82 has no square bracket, so in either form
        // every bracket of a GS1 element string is a delimiter (or, round,
        // data that stays as it is).
        if (gs1 && c == '[') c = '(';
        if (gs1 && c == ']') c = ')';
        text[i] = c;
    }
    return unprintable;
}

}  // namespace ecc200
