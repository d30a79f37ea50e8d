#include "api/encode_request.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <utility>
#include <variant>

#include "api/symbol_object.h"
#include "encoder/codeword_stream.h"

namespace ecc200 {
namespace {

constexpr std::int32_t kLargestEci = 999999;         // ISO/IEC 16022 5.4: six digits
constexpr std::int32_t kLargestAppendCount = 16;     // 5.6
constexpr std::int32_t kLargestFileId = 254 * 254;   // two codewords of 1 to 254

constexpr std::size_t kInt32Max = std::numeric_limits<std::int32_t>::max();
// No message of more bytes fits the largest symbol whatever its encodation:
// the densest packs two digits into a codeword (ISO/IEC 16022 5.2.3), and
// the bytes that take no codeword (GS1 brackets, a Macro 05/06 envelope)
// stay far below as many again. Such a message is refused before the
// encodation search, whose work grows with the message.
constexpr std::size_t kMostEncodableBytes = 4 * std::size_t{kMaxDataCodewords};

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }

// The C values of encodation and shape are the encoder's enumerators in order.
EncodeRequest RequestOf(const ecc200_encode_options& o) {
    EncodeRequest request;
    request.encodation = static_cast<Encodation>(o.encodation);
    request.shape = static_cast<SymbolShape>(o.shape);
    request.dmre = o.dmre != 0;
    request.rows = o.rows;
    request.cols = o.columns;
    request.gs1 = o.gs1 != 0;
    request.readerInit = o.reader_init != 0;
    request.appendIndex = o.append_index;
    request.appendCount = o.append_count;
    request.fileId = o.file_id;
    request.iso144 = o.iso144 != 0;
    return request;
}

Outcome Explain(const EncodeFailure& failure, Diagnosis& diagnosis) {
    switch (failure.kind) {
        case EncodeFailure::Kind::TooLong:
            diagnosis.outcome.codewordsNeeded = failure.codewordsNeeded;
            diagnosis.outcome.capacity = failure.capacity;
            return diagnosis.Refuse(Failure::MessageTooLong, "%s", failure.message.c_str());
        case EncodeFailure::Kind::InvalidOption:
            return diagnosis.Refuse(Failure::InvalidArgument, "%s", failure.message.c_str());
        case EncodeFailure::Kind::InvalidData: break;
    }
    return diagnosis.Refuse(Failure::InvalidData, "%s", failure.message.c_str());
}

// The symbol's matrix and streams, with the modules as bytes.
void Adopt(EncodedSymbol&& encoded, ecc200_symbol& symbol) {
    symbol.matrix = std::move(encoded.matrix);
    const SymbolMatrix& matrix = *symbol.matrix;
    const int rows = matrix.rows();
    const int cols = matrix.cols();
    symbol.modules.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            symbol.modules[static_cast<std::size_t>(row * cols + col)] = matrix.isDark(row, col) ? 1 : 0;
        }
    }
    symbol.codewords = std::move(encoded.codewords);
    symbol.dataCodewords = std::move(encoded.dataCodewords);
}

Outcome CheckRanges(const ecc200_encode_options& o, Diagnosis& diagnosis) {
    if (!InRange(o.encodation, ECC200_ENCODATION_AUTO, ECC200_ENCODATION_BASE256))
        return diagnosis.Refuse(Failure::InvalidArgument, "encodation %d is not one of 0 to 6", o.encodation);
    if (!InRange(o.shape, ECC200_SHAPE_SQUARE, ECC200_SHAPE_ANY))
        return diagnosis.Refuse(Failure::InvalidArgument, "shape %d is not one of 0 to 2", o.shape);
    if (o.rows < 0 || o.columns < 0 || (o.rows == 0) != (o.columns == 0))
        return diagnosis.Refuse(Failure::InvalidArgument, "rows %d and columns %d: both 0 or both a size", o.rows,
                                o.columns);
    if (!InRange(o.eci, 0, kLargestEci))
        return diagnosis.Refuse(Failure::InvalidArgument, "ECI %d is outside 0 to 999999", o.eci);
    if (o.append_count != 0 && (!InRange(o.append_count, 2, kLargestAppendCount) ||
                                !InRange(o.append_index, 1, o.append_count) || !InRange(o.file_id, 1, kLargestFileId)))
        return diagnosis.Refuse(Failure::InvalidArgument, "structured append %d of %d, file %d is out of range",
                                o.append_index, o.append_count, o.file_id);
    return {};
}

}  // namespace

Outcome CheckEncodeOptions(const ecc200_encode_options& options, Diagnosis& diagnosis) {
    return CheckRanges(options, diagnosis);
}

Outcome CheckSegmentEci(std::int32_t eci, Diagnosis& diagnosis) {
    if (!InRange(eci, 0, kLargestEci))
        return diagnosis.Refuse(Failure::InvalidArgument, "ECI %d is outside 0 to 999999", eci);
    return {};
}

Outcome BuildRequestedSymbol(const std::vector<Segment>& segments, const ecc200_encode_options& options,
                             ecc200_symbol& symbol, Diagnosis& diagnosis) {
    diagnosis.outcome.capacity = kMaxDataCodewords;
    std::size_t bytes = 0;
    for (const Segment& segment : segments) bytes += segment.bytes.size();
    if (bytes > kMostEncodableBytes) {
        diagnosis.outcome.codewordsNeeded = static_cast<std::int32_t>(std::min<std::size_t>(bytes / 2, kInt32Max));
        return diagnosis.Refuse(Failure::MessageTooLong,
                                "the message is %zu bytes; the largest symbol (144x144) holds at most %d digits or "
                                "%d other bytes",
                                bytes, 2 * kMaxDataCodewords, kMaxDataCodewords - 2);
    }
    EncodeResult result = EncodeSegments(segments, RequestOf(options));
    if (auto* failure = std::get_if<EncodeFailure>(&result)) return Explain(*failure, diagnosis);
    Adopt(std::get<EncodedSymbol>(std::move(result)), symbol);
    return {};
}

}  // namespace ecc200
