#include "api/encode_request.h"

#include <cstddef>
#include <limits>

#include "encoder/build_symbol.h"
#include "encoder/codeword_stream.h"

namespace ecc200 {
namespace {

constexpr std::int32_t kLargestEci = 999999;         // ISO/IEC 16022 5.4: six digits
constexpr std::int32_t kLargestAppendCount = 16;     // 5.6
constexpr std::int32_t kLargestFileId = 254 * 254;   // two codewords of 1 to 254

// A message of more bytes needs more codewords than 32 bits count (two
// bytes make at least one codeword, one makes at most two).
constexpr std::size_t kMostCountedBytes = std::numeric_limits<std::int32_t>::max() / 2;

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }

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

// The options the ASCII encoder of this build honours.
const char* UnprovidedOption(const ecc200_encode_options& o) {
    if (o.encodation != ECC200_ENCODATION_AUTO && o.encodation != ECC200_ENCODATION_ASCII)
        return "encodations other than ASCII";
    if (o.shape != ECC200_SHAPE_SQUARE) return "rectangular symbols";
    if (o.dmre != 0) return "DMRE sizes";
    if (o.rows != 0) return "a fixed symbol size";
    if (o.gs1 != 0) return "GS1 element strings";
    if (o.eci != 0) return "ECIs";
    if (o.reader_init != 0) return "reader programming";
    if (o.append_count != 0) return "structured append";
    if (o.iso144 != 0) return "the ISO 144 x 144 interleaving";
    return nullptr;
}

}  // namespace

Outcome CheckEncodeOptions(const ecc200_encode_options& options, Diagnosis& diagnosis) {
    if (const Outcome ranges = CheckRanges(options, diagnosis); !ranges.ok()) return ranges;
    if (const char* option = UnprovidedOption(options))
        return diagnosis.Refuse(Failure::Unsupported, "this build does not encode %s yet", option);
    return {};
}

Outcome CheckSegmentEci(std::int32_t eci, Diagnosis& diagnosis) {
    if (!InRange(eci, 0, kLargestEci))
        return diagnosis.Refuse(Failure::InvalidArgument, "ECI %d is outside 0 to 999999", eci);
    if (eci != 0) return diagnosis.Refuse(Failure::Unsupported, "this build does not encode ECIs yet");
    return {};
}

Outcome BuildRequestedSymbol(std::string_view message, const ecc200_encode_options& options,
                             EncoderWorkingState& state, Diagnosis& diagnosis) {
    static_cast<void>(options);  // only the defaults are provided (CheckEncodeOptions)
    diagnosis.capacity = kMaxDataCodewords;
    if (message.size() > kMostCountedBytes) {
        diagnosis.codewordsNeeded = std::numeric_limits<std::int32_t>::max();
        return diagnosis.Refuse(Failure::MessageTooLong, "a message of %zu bytes is far past the %d codewords of the largest symbol",
                                message.size(), kMaxDataCodewords);
    }
    if (BuildSymbol(message, state)) return {};
    diagnosis.codewordsNeeded = state.messageCodewords;
    return diagnosis.Refuse(Failure::MessageTooLong, "the message needs %d data codewords; the largest symbol holds %d",
                            state.messageCodewords, kMaxDataCodewords);
}

}  // namespace ecc200
