#include "encoder/message_header.h"

#include <string>

#include "encoder/codeword_values.h"
#include "encoder/encodation_values.h"
#include "encoder/gs1_element_string.h"

namespace ecc200 {
namespace {

constexpr int kMaxEci = 999999;            // 5.4: six digits
constexpr int kMaxFileId = 254 * 254;      // two codewords of 1 to 254 (5.6.4)
constexpr int kMaxAppendCount = 16;        // 5.6.4: a set of 2 to 16 symbols

// 5.6.6: "[)>" RS "05" GS (or "06") opens the message, RS EOT closes it.
constexpr std::string_view kMacro05Header = "[)>\x1E" "05\x1D";
constexpr std::string_view kMacro06Header = "[)>\x1E" "06\x1D";
constexpr std::string_view kMacroTrailer = "\x1E\x04";

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

}  // namespace

Outcome CheckRequest(const Segment* segments, std::size_t count, const EncodeRequest& r) {
    constexpr Failure kBad = Failure::InvalidArgument;
    if (!InRange(static_cast<int>(r.encodation), 0, static_cast<int>(Encodation::Base256)))
        return Refused(kBad, "encodation %d is not one of 0 to 6", static_cast<int>(r.encodation));
    if (!InRange(static_cast<int>(r.shape), 0, static_cast<int>(SymbolShape::Any)))
        return Refused(kBad, "shape %d is not one of 0 to 2", static_cast<int>(r.shape));
    if (r.rows < 0 || r.cols < 0 || (r.rows == 0) != (r.cols == 0))
        return Refused(kBad, "rows %d and columns %d: both 0 or both a size", r.rows, r.cols);
    if (r.appendCount != 0 && !InRange(r.appendCount, 2, kMaxAppendCount))
        return Refused(kBad, "structured append needs 2 to 16 symbols, not %d", r.appendCount);
    if (r.appendCount != 0 && !InRange(r.appendIndex, 1, r.appendCount))
        return Refused(kBad, "the symbol's position must be 1 to %d, not %d", r.appendCount, r.appendIndex);
    if (r.appendCount != 0 && !InRange(r.fileId, 1, kMaxFileId))
        return Refused(kBad, "the file identification must be 1 to 64516, not %d", r.fileId);
    if (r.appendCount == 0 && (r.appendIndex != 0 || r.fileId != 0))
        return Refused(kBad, "a symbol position or file identification needs a structured append count");
    if (r.readerInit && r.gs1) return Refused(kBad, "reader programming cannot be combined with GS1 data");
    if (r.readerInit && r.appendCount != 0) return Refused(kBad, "reader programming cannot be combined with structured append");
    for (std::size_t k = 0; k < count; ++k) {
        if (!InRange(segments[k].eci, 0, kMaxEci)) return Refused(kBad, "ECI %d is outside 0 to 999999", segments[k].eci);
    }
    if (count == 0) return Refused(Failure::InvalidData, "there is no segment to encode");
    return {};
}

namespace {

void AppendHeader(const EncodeRequest& r, std::vector<std::uint8_t>& header) {
    if (r.appendCount != 0) {
        // 5.6.4: the position in the high nibble, 17 - count in the low one,
        // then the file identification as two codewords of 1 to 254.
        header.push_back(kStructuredAppend);
        header.push_back(static_cast<std::uint8_t>(((r.appendIndex - 1) << 4) | (17 - r.appendCount)));
        header.push_back(static_cast<std::uint8_t>((r.fileId - 1) / 254 + 1));
        header.push_back(static_cast<std::uint8_t>((r.fileId - 1) % 254 + 1));
    }
    if (r.readerInit) header.push_back(kReaderProgramming);
    if (r.gs1) header.push_back(kFnc1);
}

// The Macro codeword for a one-segment message in the envelope, and the
// bytes inside it.
int MacroOf(std::string_view& bytes) {
    const bool closed = bytes.size() >= kMacro05Header.size() + kMacroTrailer.size() &&
                        bytes.substr(bytes.size() - kMacroTrailer.size()) == kMacroTrailer;
    if (!closed) return 0;
    const std::string_view head = bytes.substr(0, kMacro05Header.size());
    const int macro = head == kMacro05Header ? kMacro05 : head == kMacro06Header ? kMacro06 : 0;
    if (macro != 0) bytes = bytes.substr(kMacro05Header.size(), bytes.size() - kMacro05Header.size() - kMacroTrailer.size());
    return macro;
}

}  // namespace

Outcome BuildMessageCodewords(const Segment* segments, std::size_t count, const EncodeRequest& request,
                              MessageCodewords& message) {
    message.header.clear();
    message.items.clear();
    message.messageBytes = 0;
    AppendHeader(request, message.header);
    for (std::size_t k = 0; k < count; ++k) {
        std::string_view bytes = segments[k].bytes;
        message.messageBytes += static_cast<int>(bytes.size());
        if (!request.gs1 && count == 1 && request.macroEnvelope) {
            if (const int macro = MacroOf(bytes)) message.header.push_back(static_cast<std::uint8_t>(macro));
        }
        if (segments[k].eci != 0) message.items.push_back(kEciItemBase + segments[k].eci);
        if (!request.gs1) {
            const auto* first = reinterpret_cast<const unsigned char*>(bytes.data());
            message.items.insert(message.items.end(), first, first + bytes.size());
            continue;
        }
        if (Outcome gs1 = AppendGs1Items(bytes, message.items); !gs1.ok()) return gs1;
    }
    // A forced scheme must hold every byte; the fault names the byte's
    // 1-based place among the message bytes (ECI and FNC1 items not counted).
    // ASCII holds them all.
    if (request.encodation == Encodation::Automatic || request.encodation == Encodation::Ascii) return {};
    int place = 0;
    for (const std::int32_t item : message.items) {
        place += IsByteItem(item) ? 1 : 0;
        if (!IsByteItem(item) || SchemeHolds(request.encodation, item)) continue;
        static constexpr const char* kNames[] = {"", "ASCII", "C40", "Text", "X12", "EDIFACT", "Base256"};
        const std::string shown = item >= 32 && item < 127 ? " ('" + std::string(1, static_cast<char>(item)) + "')" : " (" + std::to_string(item) + ")";
        return Refused(Failure::InvalidData, "byte %d%s cannot be encoded in %s", place, shown.c_str(),
                       kNames[static_cast<int>(request.encodation)]);
    }
    return {};
}

}  // namespace ecc200
