#include "encoder/message_header.h"

#include <string>

#include "encoder/codeword_values.h"
#include "encoder/encodation_values.h"
#include "encoder/gs1_element_string.h"

namespace ecc200 {
namespace {

constexpr int kMaxEci = 999999;
constexpr int kMaxFileId = 254 * 254;  // two codewords of 1 to 254 (5.6.4)

// 5.6.6: "[)>" RS "05" GS (or "06") opens the message, RS EOT closes it.
constexpr std::string_view kMacro05Header = "[)>\x1E" "05\x1D";
constexpr std::string_view kMacro06Header = "[)>\x1E" "06\x1D";
constexpr std::string_view kMacroTrailer = "\x1E\x04";

EncodeFailure Failure(EncodeFailure::Kind kind, std::string message) { return EncodeFailure{kind, std::move(message), 0, 0}; }

std::optional<EncodeFailure> CheckOptions(const std::vector<Segment>& segments, const EncodeRequest& r) {
    using Kind = EncodeFailure::Kind;
    if (r.appendCount != 0 && (r.appendCount < 2 || r.appendCount > 16)) return Failure(Kind::InvalidOption, "structured append needs 2 to 16 symbols, not " + std::to_string(r.appendCount));
    if (r.appendCount != 0 && (r.appendIndex < 1 || r.appendIndex > r.appendCount)) return Failure(Kind::InvalidOption, "the symbol's position must be 1 to " + std::to_string(r.appendCount) + ", not " + std::to_string(r.appendIndex));
    if (r.appendCount != 0 && (r.fileId < 1 || r.fileId > kMaxFileId)) return Failure(Kind::InvalidOption, "the file identification must be 1 to 64516, not " + std::to_string(r.fileId));
    if (r.appendCount == 0 && (r.appendIndex != 0 || r.fileId != 0)) return Failure(Kind::InvalidOption, "a symbol position or file identification needs a structured append count");
    if (r.readerInit && r.gs1) return Failure(Kind::InvalidOption, "reader programming cannot be combined with GS1 data");
    if (r.readerInit && r.appendCount != 0) return Failure(Kind::InvalidOption, "reader programming cannot be combined with structured append");
    if (segments.empty()) return Failure(Kind::InvalidData, "there is no segment to encode");
    for (const Segment& s : segments) {
        if (s.eci < 0 || s.eci > kMaxEci) return Failure(Kind::InvalidOption, "ECI " + std::to_string(s.eci) + " is outside 1 to 999999");
    }
    return std::nullopt;
}

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

std::optional<EncodeFailure> BuildMessageCodewords(const std::vector<Segment>& segments, const EncodeRequest& request,
                                                   MessageCodewords& message) {
    if (auto failure = CheckOptions(segments, request)) return failure;
    AppendHeader(request, message.header);
    for (std::size_t k = 0; k < segments.size(); ++k) {
        std::string_view bytes = segments[k].bytes;
        message.messageBytes += static_cast<int>(bytes.size());
        if (!request.gs1 && segments.size() == 1) {
            if (const int macro = MacroOf(bytes)) message.header.push_back(static_cast<std::uint8_t>(macro));
        }
        if (segments[k].eci != 0) message.items.push_back(kEciItemBase + segments[k].eci);
        if (!request.gs1) {
            for (char c : bytes) message.items.push_back(static_cast<unsigned char>(c));
            continue;
        }
        const std::string fault = AppendGs1Items(bytes, message.items);
        if (!fault.empty()) return Failure(EncodeFailure::Kind::InvalidData, fault);
    }
    // A forced scheme must hold every byte; the fault names the byte's
    // 1-based place among the message bytes (ECI and FNC1 items not counted).
    int place = 0;
    for (const std::int32_t item : message.items) {
        place += IsByteItem(item) ? 1 : 0;
        if (!IsByteItem(item) || SchemeHolds(request.encodation, item)) continue;
        static constexpr const char* kNames[] = {"", "ASCII", "C40", "Text", "X12", "EDIFACT", "Base256"};
        const std::string shown = item >= 32 && item < 127 ? " ('" + std::string(1, static_cast<char>(item)) + "')" : " (" + std::to_string(item) + ")";
        return Failure(EncodeFailure::Kind::InvalidData, "byte " + std::to_string(place) + shown + " cannot be encoded in " +
                                                             kNames[static_cast<int>(request.encodation)]);
    }
    return std::nullopt;
}

}  // namespace ecc200
