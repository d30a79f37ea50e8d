#include "encoder/ascii_encodation.h"

#include <cstddef>

namespace ecc200 {
namespace {

bool IsDigit(unsigned char byte) { return byte >= '0' && byte <= '9'; }

void Append(CodewordStream& stream, int codeword) {
    if (stream.count < kMaxSymbolCodewords) {
        stream.codewords[static_cast<std::size_t>(stream.count)] = static_cast<std::uint16_t>(codeword);
    }
    ++stream.count;
}

}  // namespace

void EncodeMessage(std::string_view message, CodewordStream& stream) {
    stream.count = 0;
    std::size_t i = 0;
    while (i < message.size()) {
        const auto byte = static_cast<unsigned char>(message[i]);
        const bool pairFollows = i + 1 < message.size() && IsDigit(static_cast<unsigned char>(message[i + 1]));
        if (IsDigit(byte) && pairFollows) {
            // Two digits share one codeword (5.2.3.1).
            const int second = static_cast<unsigned char>(message[i + 1]) - '0';
            Append(stream, kDigitPairBase + 10 * (byte - '0') + second);
            i += 2;
        } else if (byte < 128) {
            Append(stream, byte + 1);
            ++i;
        } else {
            // Extended ASCII: Upper Shift, then the byte less 128, plus 1 (5.2.3.2).
            Append(stream, kUpperShift);
            Append(stream, byte - 127);
            ++i;
        }
    }
}

}  // namespace ecc200
