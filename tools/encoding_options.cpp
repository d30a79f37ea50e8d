#include "encoding_options.h"

#include "option_values.h"

namespace ecc200::tool {
namespace {

// Symbol sizes run from 8 rows (the smallest rectangles) to 144 (the largest
// square and the longest ISO/IEC 21471 rectangles); the library knows which
// pairs are sizes.
constexpr long kMinSymbolSide = 8;
constexpr long kMaxSymbolSide = 144;
constexpr long kMaxEci = 999999;
constexpr long kMinAppendCount = 2;  // ISO/IEC 16022 5.6: a set of 2 to 16 symbols
constexpr long kMaxAppendCount = 16;
constexpr long kMaxFileId = 64516;   // two codewords of 1 to 254 each: 254 x 254

struct NamedEncodation {
    const char* name;
    Encodation encodation;
};

constexpr NamedEncodation kEncodations[] = {
    {"auto", Encodation::automatic}, {"ascii", Encodation::ascii},     {"c40", Encodation::c40},
    {"text", Encodation::text},      {"x12", Encodation::x12},         {"edifact", Encodation::edifact},
    {"base256", Encodation::base256},
};

Encodation ParseEncodation(const std::string& text) {
    for (const NamedEncodation& entry : kEncodations) {
        if (text == entry.name) return entry.encodation;
    }
    throw UsageError("--encodation takes auto, ascii, c40, text, x12, edifact or base256");
}

Shape ParseShape(const std::string& text) {
    if (text == "square") return Shape::square;
    if (text == "rectangle") return Shape::rectangle;
    if (text == "any") return Shape::any;
    throw UsageError("--shape takes square, rectangle or any");
}

StructuredAppend ParseStructuredAppend(const std::string& text, const std::optional<std::string>& fileId) {
    const NumberPair place = ParsePair("--structured-append", text, '/', 1, kMaxAppendCount, "INDEX/COUNT, for example 2/5");
    if (place.second < kMinAppendCount || place.first > place.second) {
        throw UsageError("--structured-append takes INDEX/COUNT with COUNT from 2 to 16 and INDEX from 1 to COUNT");
    }
    if (!fileId) throw UsageError("--structured-append needs --file-id, the same for every symbol of the set");
    return {place.first, place.second, static_cast<int>(ParseInteger("--file-id", *fileId, 1, kMaxFileId))};
}

}  // namespace

void AddEncodingOptions(CLI::App& app, RawEncoding& raw) {
    app.add_option("--encodation", raw.encodation,
                   "Encodation: auto (the fewest codewords; default), ascii, c40, text, x12, edifact or base256")
        ->type_name("SCHEME");
    app.add_option("--shape", raw.shape, "Symbol shapes to choose from: square (default), rectangle or any")
        ->type_name("SHAPE");
    app.add_flag("--dmre", raw.dmre, "Also choose from the rectangles of ISO/IEC 21471 (DMRE)");
    app.add_option("--symbol-size", raw.symbolSize, "Exactly this symbol size, for example 16x48")
        ->type_name("ROWSxCOLUMNS");
    app.add_flag("--gs1", raw.gs1, "The message is a GS1 element string in bracket form: (01)09501101530008");
    app.add_option("--eci", raw.eci, "Extended Channel Interpretation of the message, 1 to 999999")->type_name("N");
    app.add_flag("--reader-init", raw.readerInit, "Make a reader programming symbol");
    app.add_option("--structured-append", raw.structuredAppend,
                   "This symbol's place in a set of 2 to 16 symbols, for example 2/5 (needs --file-id)")
        ->type_name("INDEX/COUNT");
    app.add_option("--file-id", raw.fileId, "The structured append set's file identification, 1 to 64516")
        ->type_name("N");
    app.add_flag("--iso144", raw.iso144, "Interleave a 144x144 symbol's blocks in the order ISO/IEC 16022 gives");
}

EncodeOptions EncodingOf(const RawEncoding& raw) {
    EncodeOptions options;
    if (raw.encodation) options.encodation = ParseEncodation(*raw.encodation);
    if (raw.shape) options.shape = ParseShape(*raw.shape);
    options.dmre = raw.dmre;
    if (raw.symbolSize) {
        const NumberPair size = ParsePair("--symbol-size", *raw.symbolSize, 'x', kMinSymbolSide, kMaxSymbolSide,
                                          "ROWSxCOLUMNS, for example 16x48");
        options.rows = size.first;
        options.columns = size.second;
    }
    options.gs1 = raw.gs1;
    if (raw.eci) options.eci = static_cast<int>(ParseInteger("--eci", *raw.eci, 1, kMaxEci));
    options.reader_init = raw.readerInit;
    if (raw.structuredAppend) {
        options.structured_append = ParseStructuredAppend(*raw.structuredAppend, raw.fileId);
    } else if (raw.fileId) {
        throw UsageError("--file-id goes with --structured-append");
    }
    options.iso144 = raw.iso144;
    return options;
}

}  // namespace ecc200::tool
