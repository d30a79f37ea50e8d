// libFuzzer target for the whole encoder, read back: the input's first
// kOptionBytes bytes choose every field of ecc200_encode_options (and
// whether the message goes in as segments with ECIs of their own), the rest
// is the message. The symbol's modules are drawn into a grey image with a
// quiet zone and decoded in this process by zxing-cpp's reader. Then either
// - the encode was refused with a known status and a one-line reason, or
// - the reader found the symbol and reports exactly the message's bytes:
//   the segments one after the other (ECI designators taken out, as the
//   reader keeps them apart), a Macro 05/06 envelope restored, a GS1 element
//   string as its AIs and data (brackets removed; the reader's GS
//   separators removed too, since where they go depends on the AI table),
//   and the header the options asked for (GS1's ]d2, reader programming,
//   the structured append position and file).
// Anything else aborts with the options and both byte strings, so that
// libFuzzer keeps the input.
//
// What zxing-cpp 1.4.0 cannot read by design is left out of the comparison:
// a 144 x 144 symbol in the ISO/IEC 16022 interleaving order (iso144) is
// only encoded, since the reader knows the other order; and a DMRE symbol's
// symbology identifier is not compared (the reader gives some DMRE sizes one
// of its own), its bytes are.
#include <ZXing/ReadBarcode.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ecc200.h"
#include "encoder/symbol_sizes.h"

namespace {

// The input's header, byte by byte (an input shorter than this reads zeros:
// the default options).
enum OptionByte {
    kEncodationByte,  // value % 7: ECC200_ENCODATION_*
    kFlagsByte,       // kFlag* bits and the shape in the low two bits
    kSizeByte,        // 0: automatic; 1 to 48: that size of the table; else kRowsByte x kColumnsByte
    kRowsByte,
    kColumnsByte,
    kEciByte,         // below 128: no ECI; else kEcis[value % 16]
    kAppendByte,      // 0: no structured append; else count (high nibble + 1), index (low nibble + 1)
    kFileIdHighByte,
    kFileIdLowByte,
    kSegmentsByte,    // with kFlagSegments: 1 + value % 4 segments
    kSegmentEciByte0, // four bits per segment: kEcis[nibble]
    kSegmentEciByte1,
    kOptionBytes
};

constexpr std::uint8_t kFlagDmre = 0x04;
constexpr std::uint8_t kFlagGs1 = 0x08;
constexpr std::uint8_t kFlagReaderInit = 0x10;
constexpr std::uint8_t kFlagIso144 = 0x20;
constexpr std::uint8_t kFlagSegments = 0x40;

// ECIs worth meeting: none, the one-, two- and three-codeword ranges and
// their edges (ISO/IEC 16022 5.4.2), and two outside 0 to 999999.
constexpr std::int32_t kEcis[16] = {0, 0, 0, 3, 26, 1, 126, 127, 128, 899, 16382, 16383, 16384, 999999, -1, 1000000};

constexpr int kModulePixels = 3;
constexpr int kQuietModules = 2;
constexpr std::uint8_t kDark = 0;
constexpr std::uint8_t kLight = 255;
constexpr char kGroupSeparator = '\x1D';

struct Input {
    ecc200_encode_options options;
    bool asSegments = false;
    std::vector<ecc200_segment> segments;
    std::string message;  // all the segments' bytes, in order
};

std::uint8_t HeaderByte(const std::uint8_t* data, std::size_t size, int index) {
    return static_cast<std::size_t>(index) < size ? data[index] : 0;
}

void ReadSize(const std::uint8_t* h, ecc200_encode_options& o) {
    if (h[kSizeByte] == 0) return;
    if (h[kSizeByte] <= ecc200::kSymbolSizeTotal) {
        const ecc200::SymbolSize& s = ecc200::kSymbolSizes[h[kSizeByte] - 1];
        o.rows = s.rows, o.columns = s.cols;
        return;
    }
    o.rows = h[kRowsByte] % 160, o.columns = h[kColumnsByte] % 160;
}

Input ReadInput(const std::uint8_t* data, std::size_t size) {
    std::uint8_t h[kOptionBytes];
    for (int i = 0; i < kOptionBytes; ++i) h[i] = HeaderByte(data, size, i);
    Input in;
    ecc200_encode_options& o = in.options;
    ecc200_encode_options_init(&o);
    o.encodation = h[kEncodationByte] % 7;
    o.shape = (h[kFlagsByte] & 3) % 3;
    o.dmre = (h[kFlagsByte] & kFlagDmre) != 0;
    o.gs1 = (h[kFlagsByte] & kFlagGs1) != 0;
    o.reader_init = (h[kFlagsByte] & kFlagReaderInit) != 0;
    o.iso144 = (h[kFlagsByte] & kFlagIso144) != 0;
    ReadSize(h, o);
    o.eci = h[kEciByte] < 128 ? 0 : kEcis[h[kEciByte] % 16];
    if (h[kAppendByte] != 0) {
        o.append_count = (h[kAppendByte] >> 4) + 1;
        o.append_index = (h[kAppendByte] & 15) + 1;
        o.file_id = h[kFileIdHighByte] << 8 | h[kFileIdLowByte];
    }
    const std::size_t skipped = size < kOptionBytes ? size : kOptionBytes;
    in.message.assign(reinterpret_cast<const char*>(data) + skipped, size - skipped);
    in.asSegments = (h[kFlagsByte] & kFlagSegments) != 0;
    const std::size_t count = in.asSegments ? 1 + h[kSegmentsByte] % 4 : 1;
    const unsigned eciNibbles = h[kSegmentEciByte0] | h[kSegmentEciByte1] << 8;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t begin = in.message.size() * k / count, end = in.message.size() * (k + 1) / count;
        const std::int32_t eci = in.asSegments ? kEcis[eciNibbles >> (4 * k) & 15] : o.eci;
        in.segments.push_back({in.message.data() + begin, end - begin, eci});
    }
    return in;
}

std::string Hex(const std::string& bytes) {
    std::string out;
    char pair[4];
    for (unsigned char c : bytes) {
        std::snprintf(pair, sizeof pair, "%02X ", c);
        out += pair;
    }
    return out;
}

[[noreturn]] void Fail(const Input& in, const char* what, const std::string& expected, const std::string& got) {
    const ecc200_encode_options& o = in.options;
    std::fprintf(stderr,
                 "round trip failed: %s\n  encodation %d shape %d dmre %d size %dx%d gs1 %d eci %d reader_init %d "
                 "append %d of %d file %d iso144 %d\n",
                 what, o.encodation, o.shape, o.dmre, o.rows, o.columns, o.gs1, o.eci, o.reader_init, o.append_index,
                 o.append_count, o.file_id, o.iso144);
    for (const ecc200_segment& s : in.segments) {
        const std::string bytes(static_cast<const char*>(s.data), s.length);
        std::fprintf(stderr, "  %s (ECI %d): %s\n", in.asSegments ? "segment" : "message", s.eci, Hex(bytes).c_str());
    }
    std::fprintf(stderr, "  expected: %s\n  decoded:  %s\n", Hex(expected).c_str(), Hex(got).c_str());
    std::abort();
}

void Require(bool condition, const Input& in, const char* what, const std::string& expected = {},
             const std::string& got = {}) {
    if (!condition) Fail(in, what, expected, got);
}

// The symbol's modules as a grey image: kModulePixels a module, row 0 at
// the top, kQuietModules of light margin on every side.
std::vector<std::uint8_t> DrawModules(const ecc200_symbol* symbol, int& width, int& height) {
    const int rows = ecc200_symbol_rows(symbol), cols = ecc200_symbol_columns(symbol);
    const std::uint8_t* modules = ecc200_symbol_modules(symbol);
    width = (cols + 2 * kQuietModules) * kModulePixels;
    height = (rows + 2 * kQuietModules) * kModulePixels;
    std::vector<std::uint8_t> image(static_cast<std::size_t>(width) * height, kLight);
    for (int y = 0; y < height; ++y) {
        const int row = y / kModulePixels - kQuietModules;
        for (int x = 0; x < width; ++x) {
            const int col = x / kModulePixels - kQuietModules;
            const bool inside = row >= 0 && row < rows && col >= 0 && col < cols;
            if (inside && modules[row * cols + col] != 0) image[static_cast<std::size_t>(y) * width + x] = kDark;
        }
    }
    return image;
}

ZXing::Result Decode(const std::vector<std::uint8_t>& image, int width, int height) {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::DataMatrix);
    hints.setIsPure(true);
    hints.setTryRotate(false);
    return ZXing::ReadBarcode(ZXing::ImageView(image.data(), width, height, ZXing::ImageFormat::Lum), hints);
}

// A GS1 element string's AIs and data: the bracket form with the brackets
// around each AI taken out (the kind the string starts with; a bracket that
// does not enclose digits is the data's, as the encoder reads it).
std::string Gs1Content(const std::string& brackets) {
    const bool square = !brackets.empty() && brackets[0] == '[';
    const char open = square ? '[' : '(', close = square ? ']' : ')';
    std::string content;
    for (std::size_t i = 0; i < brackets.size(); ++i) {
        const std::size_t end = brackets[i] == open ? brackets.find(close, i + 1) : std::string::npos;
        const std::string ai = end == std::string::npos ? "" : brackets.substr(i + 1, end - i - 1);
        if (!ai.empty() && ai.find_first_not_of("0123456789") == std::string::npos) {
            content += ai;
            i = end;
        } else {
            content += brackets[i];
        }
    }
    return content;
}

std::string Without(const std::string& text, char removed) {
    std::string out;
    for (char c : text) {
        if (c != removed) out += c;
    }
    return out;
}

void CheckRefusal(const Input& in, ecc200_status status, const ecc200_symbol* symbol, const ecc200_diagnostic& d) {
    Require(status > ECC200_OK && status <= ECC200_INVALID_DATA, in, "an unknown status");
    Require(symbol == nullptr, in, "a symbol with a refusal");
    const bool terminated = std::memchr(d.message, '\0', sizeof d.message) != nullptr;
    Require(terminated && d.message[0] != '\0', in, "a refusal without a reason");
}

// The file identification's two codewords of 1 to 254 (ISO/IEC 16022
// 5.6.4), which the reader reports as one number, first * 256 + second.
int ReaderFileId(int fileId) {
    constexpr int kCodewordValues = 254;
    const int first = (fileId - 1) / kCodewordValues + 1, second = (fileId - 1) % kCodewordValues + 1;
    return first * 256 + second;
}

void CheckHeader(const Input& in, const ZXing::Result& result, bool dmre) {
    const ecc200_encode_options& o = in.options;
    // zxing-cpp 1.4 reports a DMRE symbol's identifier 6 above a square's
    // (]d7 and, with FNC1 first, ]d8).
    const std::string identifier = result.symbologyIdentifier();
    const std::string expected = o.gs1 ? (dmre ? "]d8" : "]d2") : (dmre ? "]d7" : "]d1");
    Require(identifier == expected, in, "the symbology identifier", expected, identifier);
    bool eci = false;
    for (const ecc200_segment& s : in.segments) eci = eci || s.eci != 0;
    Require(result.hasECI() == eci, in, "ECI reported wrongly");
    Require(result.readerInit() == (o.reader_init != 0), in, "reader programming reported wrongly");
    if (o.append_count == 0) {
        Require(!result.isPartOfSequence(), in, "structured append where none was asked");
        return;
    }
    Require(result.sequenceSize() == o.append_count && result.sequenceIndex() == o.append_index - 1, in,
            "structured append position", std::to_string(o.append_index) + " of " + std::to_string(o.append_count),
            std::to_string(result.sequenceIndex() + 1) + " of " + std::to_string(result.sequenceSize()));
    const std::string file = std::to_string(ReaderFileId(o.file_id));
    Require(result.sequenceId() == file, in, "structured append file", file, result.sequenceId());
}

bool IsDmre(int rows, int cols) {
    for (const ecc200::SymbolSize& s : ecc200::kSymbolSizes) {
        if (s.rows == rows && s.cols == cols) return s.family == ecc200::SizeFamily::Dmre;
    }
    return false;
}

void CheckReadBack(const Input& in, const ecc200_symbol* symbol) {
    const int rows = ecc200_symbol_rows(symbol), cols = ecc200_symbol_columns(symbol);
    if (in.options.iso144 && rows == 144) return;  // the reader knows the other order only
    int width = 0, height = 0;
    const std::vector<std::uint8_t> image = DrawModules(symbol, width, height);
    const ZXing::Result result = Decode(image, width, height);
    Require(result.isValid(), in, "the reader found no symbol");
    const std::string decoded(result.bytes().begin(), result.bytes().end());
    if (in.options.gs1) {
        const std::string content = Gs1Content(in.message);
        Require(Without(decoded, kGroupSeparator) == content, in, "GS1 content differs", content, decoded);
    } else {
        Require(decoded == in.message, in, "decoded bytes differ", in.message, decoded);
    }
    CheckHeader(in, result, IsDmre(rows, cols));
}

// ECC200_ROUND_TRIP_TRACE=1 prints each encode's outcome, for replaying an
// input by hand.
void Trace(ecc200_status status, const ecc200_symbol* symbol, const ecc200_diagnostic& d) {
    static const bool enabled = std::getenv("ECC200_ROUND_TRIP_TRACE") != nullptr;
    if (!enabled) return;
    if (status != ECC200_OK) std::fprintf(stderr, "refused: %s\n", d.message);
    if (status == ECC200_OK) std::fprintf(stderr, "%d x %d\n", ecc200_symbol_rows(symbol), ecc200_symbol_columns(symbol));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input in = ReadInput(data, size);
    ecc200_symbol* symbol = nullptr;
    ecc200_diagnostic d{sizeof d, 0, 0, 0, {}, 0, 0};
    const ecc200_status status =
        in.asSegments ? ecc200_encode_segments(in.segments.data(), in.segments.size(), &in.options, &symbol, &d)
                      : ecc200_encode(in.message.data(), in.message.size(), &in.options, &symbol, &d);
    Trace(status, symbol, d);
    if (status != ECC200_OK) {
        CheckRefusal(in, status, symbol, d);
        return 0;
    }
    CheckReadBack(in, symbol);
    ecc200_symbol_free(symbol);
    return 0;
}
