#include "support/encoded_symbol.h"

namespace ecc200::test {

EncodedSymbol Encode(std::string_view message) {
    EncodedSymbol result;
    result.state = std::make_unique<EncoderWorkingState>();
    result.built = BuildSymbol(message, *result.state);
    return result;
}

}  // namespace ecc200::test
