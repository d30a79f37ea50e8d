// EncodeSegments: the complete encoder's steps in the order of ISO/IEC 16022.
#include <array>
#include <memory>
#include <string>

#include "encoder/encodation_search.h"
#include "encoder/encode_request.h"
#include "encoder/message_header.h"
#include "encoder/symbol_error_correction.h"
#include "encoder/symbol_layout.h"
#include "encoder/symbol_sizes.h"

namespace ecc200 {
namespace {

// No message the interfaces take needs this many codewords: a count this
// large is the search's mark of a state never reached.
constexpr int kNoFinishCodewords = 1 << 20;

std::string SizeName(const SymbolSize& size) { return std::to_string(size.rows) + "x" + std::to_string(size.cols); }

// "the message is 3200 bytes and needs 1612 data codewords; the largest
// allowed symbol (144x144) holds 1558: cut about 96 bytes".
EncodeFailure TooLong(const MessageCodewords& message, int needed, const SymbolSize& largest, bool fixed) {
    const int capacity = largest.dataCodewords;
    const int bytes = message.messageBytes;
    const long long over = static_cast<long long>(needed) - capacity;
    const int cut = needed > 0 ? static_cast<int>((over * bytes + needed - 1) / needed) : 0;
    std::string text = "the message is " + std::to_string(bytes) + " bytes and needs " + std::to_string(needed) +
                       " data codewords; " +
                       (fixed ? "the " + SizeName(largest) + " symbol" : "the largest allowed symbol (" + SizeName(largest) + ")") +
                       " holds " + std::to_string(capacity);
    text += cut <= 1 ? ": cut about 1 byte" : ": cut about " + std::to_string(cut) + " bytes";
    return EncodeFailure{EncodeFailure::Kind::TooLong, text, needed, capacity};
}

}  // namespace

EncodeResult EncodeSegments(const std::vector<Segment>& segments, const EncodeRequest& request) {
    // Header codewords and message items; the options and the data checked.
    MessageCodewords message;
    if (auto failure = BuildMessageCodewords(segments, request, message)) return *failure;
    // The sizes the request admits, smallest first.
    std::array<const SymbolSize*, kSymbolSizeTotal> sizes{};
    const int count = AdmittedSizes(request.shape, request.dmre, request.rows, request.cols, sizes);
    if (count == 0) {
        return EncodeFailure{EncodeFailure::Kind::InvalidOption,
                             "there is no " + std::to_string(request.rows) + "x" + std::to_string(request.cols) + " symbol" +
                                 (request.dmre ? "" : " (DMRE sizes need the DMRE option)"),
                             0, 0};
    }
    // The fewest codewords for each size in turn, until one holds them.
    const int header = static_cast<int>(message.header.size());
    auto search = std::make_unique<EncodationSearch>(message.items, request.encodation, header);
    if (search->UnboundedCodewords() == 0) {
        search = std::make_unique<EncodationSearch>(message.items, request.encodation, header, static_cast<int>(message.items.size()));
    }
    for (int k = 0; k < count; ++k) {
        const SymbolSize& size = *sizes[static_cast<std::size_t>(k)];
        const EncodationFinish finish = search->FinishFor(size.dataCodewords);
        if (finish.rule == EncodationFinish::Rule::None) continue;
        EncodedSymbol symbol;
        symbol.dataCodewords = message.header;
        const std::vector<std::uint8_t> data = search->Codewords(finish);
        symbol.dataCodewords.insert(symbol.dataCodewords.end(), data.begin(), data.end());
        // Pads, then the check codewords of every block, interleaved.
        std::vector<std::uint8_t> padded = symbol.dataCodewords;
        PadDataCodewords(size, padded);
        symbol.codewords = AddCheckCodewords(size, padded, request.iso144);
        // Finder patterns, placement and the regions.
        // The placement map writes every module, so the storage is not zeroed first.
        symbol.matrix = std::unique_ptr<SymbolMatrix>(new SymbolMatrix(SymbolMatrix::Unfilled{}));
        LayOutSymbol(size, symbol.codewords, *symbol.matrix);
        return symbol;
    }
    const bool fixed = request.rows != 0 || request.cols != 0;
    const int needed = search->UnboundedCodewords();
    // No finish at all: the forced encodation cannot end this message (its
    // end-of-data rules leave no way back), whatever the size.
    if (needed >= kNoFinishCodewords) {
        return EncodeFailure{EncodeFailure::Kind::InvalidData,
                             "the message cannot end in the encodation asked for; another encodation or automatic can encode it",
                             0, 0};
    }
    return TooLong(message, needed, *sizes[static_cast<std::size_t>(count - 1)], fixed);
}

}  // namespace ecc200
