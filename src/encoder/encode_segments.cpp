// EncodeSegments: the encoder's steps in the order of ISO/IEC 16022.
#include "encoder/encode_segments.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "encoder/encodation_search.h"
#include "encoder/encoder_workspace.h"
#include "encoder/symbol_error_correction.h"
#include "encoder/symbol_layout.h"

namespace ecc200 {
namespace {

// No message the interfaces take needs this many codewords: a count this
// large is the search's mark of a state never reached.
constexpr int kNoFinishCodewords = 1 << 20;

// No message of more bytes fits the largest symbol whatever its encodation:
// the densest packs two digits into a codeword (5.2.3), and the bytes that
// take no codeword (GS1 brackets, a Macro 05/06 envelope) stay far below as
// many again. Such a message is refused before the encodation, whose work
// grows with the message.
constexpr std::size_t kMostEncodableBytes = 4 * std::size_t{kMaxDataCodewords};


// "the message is 3200 bytes and needs 1612 data codewords; the largest
// allowed symbol (144x144) holds 1558: cut about 96 bytes".
Outcome TooLong(int bytes, int needed, const SymbolSize& largest, bool fixed) {
    const int capacity = largest.dataCodewords;
    const long long over = static_cast<long long>(needed) - capacity;
    const long long cut = needed > 0 ? std::max(1LL, (over * bytes + needed - 1) / needed) : 1;
    Outcome outcome = Refused(Failure::MessageTooLong,
                              "the message is %d bytes and needs %d data codewords; %s%dx%d%s holds %d: cut about %lld byte%s",
                              bytes, needed, fixed ? "the " : "the largest allowed symbol (", largest.rows, largest.cols,
                              fixed ? " symbol" : ")", capacity, cut, cut == 1 ? "" : "s");
    outcome.codewordsNeeded = needed;
    outcome.capacity = capacity;
    return outcome;
}

Outcome TooManyBytes(std::size_t bytes) {
    Outcome outcome = Refused(Failure::MessageTooLong,
                              "the message is %zu bytes; the largest symbol (144x144) holds at most %d digits or %d other bytes",
                              bytes, 2 * kMaxDataCodewords, kMaxDataCodewords - 2);
    outcome.codewordsNeeded = static_cast<std::int32_t>(std::min<std::size_t>(bytes / 2, 0x7FFFFFFF));
    outcome.capacity = kMaxDataCodewords;
    return outcome;
}

// A message forced into ASCII has one encodation (5.2.3): the smallest size
// that holds its codewords.
const SymbolSize* EncodeAscii(const AdmittedSizeList& sizes, EncoderWorkspace& work, int& needed) {
    AppendAsciiCodewords(work.message.items, work.data);
    needed = static_cast<int>(work.data.size());
    for (int k = 0; k < sizes.count; ++k) {
        if (sizes[k].dataCodewords >= needed) return &sizes[k];
    }
    return nullptr;
}

// The fewest codewords for each size in turn, until one holds them. A
// forced scheme whose end-of-data rules cannot close the message with the
// last two bytes in ASCII may take more of them in ASCII.
const SymbolSize* SearchEncodation(const AdmittedSizeList& sizes, Encodation scheme, EncoderWorkspace& work, int& needed) {
    const MessageCodewords& message = work.message;
    const int header = static_cast<int>(message.header.size());
    std::optional<EncodationSearch> search;
    search.emplace(message.items, scheme, header, work.search);
    if (search->UnboundedCodewords() == 0) {
        search.emplace(message.items, scheme, header, work.search, static_cast<int>(message.items.size()));
    }
    for (int k = 0; k < sizes.count; ++k) {
        const SymbolSize* size = &sizes[k];
        const EncodationFinish finish = search->FinishFor(size->dataCodewords);
        if (finish.rule == EncodationFinish::Rule::None) continue;
        search->Codewords(finish, work.data);
        return size;
    }
    needed = search->UnboundedCodewords();
    return nullptr;
}

}  // namespace

EncodeRequest LiteralAsciiRequest() {
    EncodeRequest request;
    request.encodation = Encodation::Ascii;
    request.macroEnvelope = false;
    return request;
}

Outcome EncodeSegments(const Segment* segments, std::size_t count, const EncodeRequest& request,
                       EncoderWorkspace& work, EncodedSymbol& out) {
    // The options, a message far too long, then the header codewords and
    // the message items with the data checked.
    if (Outcome checked = CheckRequest(segments, count, request); !checked.ok()) return checked;
    std::size_t bytes = 0;
    for (std::size_t k = 0; k < count; ++k) bytes += segments[k].bytes.size();
    if (bytes > kMostEncodableBytes) return TooManyBytes(bytes);
    if (Outcome built = BuildMessageCodewords(segments, count, request, work.message); !built.ok()) return built;
    // The sizes the request admits, smallest first.
    const AdmittedSizeList sizes = AdmittedSizes(request.shape, request.dmre, request.rows, request.cols);
    if (sizes.count == 0) {
        return Refused(Failure::InvalidArgument, "there is no %dx%d symbol%s", request.rows, request.cols,
                       request.dmre ? "" : " (DMRE sizes need the DMRE option)");
    }
    // The data codewords, header first, and the smallest size that holds them.
    work.data.assign(work.message.header.begin(), work.message.header.end());
    int needed = 0;
    const SymbolSize* size = request.encodation == Encodation::Ascii
                                 ? EncodeAscii(sizes, work, needed)
                                 : SearchEncodation(sizes, request.encodation, work, needed);
    if (size == nullptr) {
        // No finish at all: the forced encodation cannot end this message
        // (its end-of-data rules leave no way back), whatever the size.
        if (needed >= kNoFinishCodewords) {
            return Refused(Failure::InvalidData,
                           "the message cannot end in the encodation asked for; another encodation or automatic can encode it");
        }
        const bool fixed = request.rows != 0 || request.cols != 0;
        return TooLong(work.message.messageBytes, needed, sizes[sizes.count - 1], fixed);
    }
    out.dataCount = static_cast<std::int32_t>(work.data.size());
    out.codewordCount = size->dataCodewords + size->checkCodewords;
    out.codewords.resize(static_cast<std::size_t>(out.codewordCount));
    std::copy(work.data.begin(), work.data.end(), out.codewords.begin());
    // Pads, then the check codewords of every block, interleaved.
    PadDataCodewords(*size, out.dataCount, out.codewords.data());
    AddCheckCodewords(*size, request.iso144, work.blocks, out.codewords.data());
    // Finder patterns, placement and the regions, through the size's map.
    LayOutSymbol(*size, out.codewords.data(), out.matrix);
    return {};
}

}  // namespace ecc200
