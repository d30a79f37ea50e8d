#include "support/encoded_symbol.h"

#include "encoder/encoder_workspace.h"
#include "support/encoding.h"

namespace ecc200::test {

std::vector<std::uint8_t> Encoding::codewords() const {
    if (!symbol) return {};
    return std::vector<std::uint8_t>(symbol->codewords.begin(), symbol->codewords.begin() + symbol->codewordCount);
}

std::vector<std::uint8_t> Encoding::dataCodewords() const {
    if (!symbol) return {};
    return std::vector<std::uint8_t>(symbol->codewords.begin(), symbol->codewords.begin() + symbol->dataCount);
}

Encoding EncodeWith(const std::vector<Segment>& segments, const EncodeRequest& request) {
    Encoding result;
    const auto workspace = std::make_unique<EncoderWorkspace>();
    auto symbol = std::make_unique<ecc200::EncodedSymbol>();
    result.outcome = EncodeSegments(segments.data(), segments.size(), request, *workspace, *symbol);
    if (result.outcome.ok()) result.symbol = std::move(symbol);
    return result;
}

EncodedSymbol Encode(std::string_view message) {
    const Encoding encoding = EncodeWith({Segment{message, 0}}, LiteralAsciiRequest());
    EncodedSymbol result;
    result.state = std::make_unique<EncodedState>();
    result.built = encoding.outcome.ok();
    if (!result.built) {
        result.state->messageCodewords = encoding.outcome.codewordsNeeded;
        return result;
    }
    result.state->symbol = encoding.symbol->matrix;
    result.state->messageCodewords = encoding.symbol->dataCount;
    result.state->stream = encoding.codewords();
    for (const SymbolSize& size : kSymbolSizes) {
        if (size.rows == encoding.symbol->matrix.rows() && size.cols == encoding.symbol->matrix.cols()) {
            result.state->attributes = size;
            break;
        }
    }
    return result;
}

}  // namespace ecc200::test
