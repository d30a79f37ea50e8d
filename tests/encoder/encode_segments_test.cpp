// The complete encoder against the existing ASCII path, against itself
// (the automatic encodation is never beaten by a forced scheme), against
// real decoders (ZXingReader for every shape, dmtxread for squares and ISO
// rectangles) and against zint's and libdmtx's symbols read back to their
// data codewords.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

#include "encoder/encode_segments.h"
#include "encoder/codeword_values.h"
#include "encoder/placement_map.h"
#include "encoder/symbol_error_correction.h"
#include "encoder/symbol_sizes.h"
#include "support/decoders.h"
#include "support/encoded_symbol.h"
#include "support/encoding.h"
#include "support/pgm_image.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

using EncodeResult = test::Encoding;

const EncodedSymbol* Symbol(const EncodeResult& result) { return result.symbol.get(); }

std::string FailureText(const EncodeResult& result) { return result.outcome.message; }

const SymbolSize& SizeOf(const SymbolMatrix& m) {
    for (const SymbolSize& s : kSymbolSizes) {
        if (s.rows == m.rows() && s.cols == m.cols()) return s;
    }
    throw std::logic_error("no such size");
}

int CapacityOf(const SymbolMatrix& m) { return SizeOf(m).dataCodewords; }

std::string RandomText(std::mt19937& random, int length, const std::string& alphabet) {
    std::string text;
    for (int i = 0; i < length; ++i) text.push_back(alphabet[random() % alphabet.size()]);
    return text;
}

std::string AllBytes(std::mt19937& random, int length) {
    std::string text;
    for (int i = 0; i < length; ++i) text.push_back(static_cast<char>(random() % 256));
    return text;
}

TEST(EncodeSegments, AsciiSquareGivesBuildSymbolsMatrixAndCodewords) {
    std::mt19937 random(21);
    EncodeRequest request;
    request.encodation = Encodation::Ascii;
    for (int length : {1, 2, 3, 5, 11, 30, 61, 200, 700, 1100, 1500, 1557, 1900}) {
        const std::string message = AllBytes(random, length / 3) + RandomText(random, length - length / 3, "0123456789AZaz!");
        const test::EncodedSymbol legacy = test::Encode(message);
        const EncodeResult ours = test::EncodeWith({{message}}, request);
        ASSERT_EQ(legacy.built, Symbol(ours) != nullptr) << length << FailureText(ours);
        if (!legacy.built) continue;
        const SymbolMatrix& a = legacy.state->symbol;
        const SymbolMatrix& b = Symbol(ours)->matrix;
        ASSERT_EQ(a.rows(), b.rows());
        for (int row = 0; row < a.rows(); ++row) {
            for (int col = 0; col < a.cols(); ++col) ASSERT_EQ(a.isDark(row, col), b.isDark(row, col)) << length << " at " << row << "," << col;
        }
        ASSERT_EQ(legacy.state->stream, ours.codewords());
    }
}

// The exact minimum: for the same message, no forced scheme reaches a
// smaller symbol or fewer data codewords in the same one.
TEST(EncodeSegments, AutomaticNeverLosesToAForcedScheme) {
    std::mt19937 random(16022);
    const std::string alphabets[] = {"ABC123 *>\r", "abcdef 0123", "ABCD:;<=1", "0123456789", "aB1 .-/\xE9\x80"};
    for (int i = 0; i < 300; ++i) {
        EncodeRequest request;
        request.shape = static_cast<SymbolShape>(i % 3);
        request.dmre = i % 2 == 0;
        request.readerInit = i % 5 == 1;
        const std::string message = RandomText(random, 1 + static_cast<int>(random() % 40), alphabets[i % 5]) +
                                    RandomText(random, static_cast<int>(random() % 6), alphabets[(i + 1) % 5]);
        const EncodeResult automatic = test::EncodeWith({{message}}, request);
        ASSERT_TRUE(Symbol(automatic)) << FailureText(automatic);
        const int capacity = CapacityOf(Symbol(automatic)->matrix);
        for (int scheme = 1; scheme <= 6; ++scheme) {
            request.encodation = static_cast<Encodation>(scheme);
            const EncodeResult forced = test::EncodeWith({{message}}, request);
            if (!Symbol(forced)) continue;
            const int forcedCapacity = CapacityOf(Symbol(forced)->matrix);
            EXPECT_LE(capacity, forcedCapacity) << "scheme " << scheme << " message " << i;
            if (capacity == forcedCapacity) {
                EXPECT_LE(Symbol(automatic)->dataCount, Symbol(forced)->dataCount) << "scheme " << scheme << " message " << i;
            }
        }
    }
}

struct RoundTrip {
    std::vector<std::string> bytes;  // one per segment
    std::vector<int> ecis;
    EncodeRequest request;
    std::string expected;            // what the decoder reports
    std::string identifier;
};

// Messages in each scheme's alphabet, of every length from 1 to 18, so that
// each end-of-data case meets several capacities, crossed with the headers.
std::vector<RoundTrip> EndOfDataCases() {
    const std::pair<Encodation, std::string> schemes[] = {
        {Encodation::C40, "AB3 a!\xC1"}, {Encodation::Text, "ab3 D$"}, {Encodation::X12, "AB3*>\r "},
        {Encodation::Edifact, "AB3 :<^"}, {Encodation::Base256, "\x01\xFF" "a7"}, {Encodation::Automatic, "AAAaa1234\xE9.:"},
        {Encodation::Ascii, "12a\xFC"}};
    std::mt19937 random(5);
    std::vector<RoundTrip> cases;
    for (const auto& [scheme, alphabet] : schemes) {
        for (int length = 1; length <= 18; ++length) {
            for (int header = 0; header < 5; ++header) {
                RoundTrip c;
                c.request.encodation = scheme;
                c.request.shape = static_cast<SymbolShape>(length % 3);
                c.request.dmre = length % 2 == 1;
                const std::string text = RandomText(random, length, alphabet);
                c.bytes = {text};
                c.ecis = {header == 3 ? 3 : 0};
                c.expected = text;
                c.identifier = "]d1";  // ZXingReader reports ECI apart
                if (header == 1) c.request.readerInit = true;
                if (header == 2) c.request.appendCount = 3, c.request.appendIndex = 2, c.request.fileId = 300;
                if (header == 4 && scheme != Encodation::Base256 && text.find_first_of("\r\xC1\xE9\xFC$ ^") == std::string::npos) {
                    c.request.gs1 = true;
                    c.bytes = {"(21)" + text};
                    c.expected = "21" + text;
                    c.identifier = "]d2";
                }
                cases.push_back(c);
            }
        }
    }
    return cases;
}

std::vector<RoundTrip> FeatureCases() {
    std::vector<RoundTrip> cases;
    RoundTrip gs1;
    gs1.request.gs1 = true;
    gs1.bytes = {"(01)09506000134352(17)201225(10)ABC123(21)xyz(3103)000150"};
    gs1.expected = "010950600013435217201225" "10ABC123\x1D" "21xyz\x1D" "3103000150";
    gs1.identifier = "]d2";
    cases.push_back(gs1);
    gs1.bytes = {"[00]106141412345678908[400]PO-1234[91]abc"};
    gs1.expected = "00106141412345678908400PO-1234\x1D" "91abc";
    cases.push_back(gs1);
    RoundTrip eci;
    eci.bytes = {"Gr\xFC\xDF" "e ", "\xD0\x9F\xD1\x80\xD0\xB8", "12345678"};
    eci.ecis = {3, 26, 0};
    eci.expected = eci.bytes[0] + eci.bytes[1] + eci.bytes[2];
    eci.identifier = "]d1";
    cases.push_back(eci);
    eci.ecis = {900, 20000, 0};
    cases.push_back(eci);
    RoundTrip macro;
    macro.bytes = {"[)>\x1E" "06\x1D" "12345ABC\x1E\x04"};
    macro.expected = macro.bytes[0];
    macro.identifier = "]d1";
    cases.push_back(macro);
    // C40 from the Macro codeword on; the last triplet's second codeword, 129,
    // is the first pad (21 data codewords in the 20 x 20 size).
    macro.bytes = {"[)>\x1E" "06\x1D" "P5SPERX7Q1L5\x1D" "9DKC81LALZXTHOC\x1E\x04"};
    macro.expected = macro.bytes[0];
    cases.push_back(macro);
    std::mt19937 random(7);
    for (int size = 0; size < kSymbolSizeTotal; ++size) {
        RoundTrip fill;  // every size, filled with mixed data
        const SymbolSize& s = kSymbolSizes[static_cast<std::size_t>(size)];
        fill.request.rows = s.rows, fill.request.cols = s.cols;
        fill.request.dmre = s.family == SizeFamily::Dmre;
        fill.request.iso144 = size == 23 && random() % 2 == 0;
        const std::string text = RandomText(random, s.dataCodewords - s.dataCodewords / 8, "HELLO WORLD 0123 hi") + AllBytes(random, s.dataCodewords / 10);
        fill.bytes = {text};
        fill.expected = text;
        fill.identifier = s.family == SizeFamily::Dmre ? "" : "]d1";
        cases.push_back(fill);
    }
    return cases;
}

void ExpectRoundTrips(const std::vector<RoundTrip>& cases, bool alsoDmtx) {
    const test::TempDir dir;
    std::vector<std::string> paths;
    std::vector<const SymbolMatrix*> symbols;
    std::vector<EncodeResult> results;
    results.reserve(cases.size());
    for (const RoundTrip& c : cases) {
        std::vector<Segment> segments;
        for (std::size_t k = 0; k < c.bytes.size(); ++k) segments.push_back({c.bytes[k], c.ecis.empty() ? 0 : c.ecis[k]});
        results.push_back(test::EncodeWith(segments, c.request));
        ASSERT_TRUE(Symbol(results.back())) << FailureText(results.back()) << " for " << c.expected;
        paths.push_back(dir.file(std::to_string(paths.size()) + ".pgm"));
        test::WritePgm(paths.back(), Symbol(results.back())->matrix, 4, 2);
    }
    const auto reports = test::ZxingReadAll(paths);
    for (std::size_t k = 0; k < cases.size(); ++k) {
        const SymbolMatrix& m = Symbol(results[k])->matrix;
        const auto found = reports.find(paths[k]);
        const std::string where = "case " + std::to_string(k) + " " + std::to_string(m.rows()) + "x" + std::to_string(m.cols());
        if (cases[k].request.iso144 && m.rows() == 144) {
            EXPECT_EQ(test::DmtxReadExact(paths[k], 144, 144), cases[k].expected) << where;
            continue;
        }
        ASSERT_NE(found, reports.end()) << where << " not read: " << cases[k].expected;
        EXPECT_EQ(found->second.bytes, cases[k].expected) << where;
        // ZXingReader gives some DMRE symbols an identifier of its own; GS1's ]d2 is checked everywhere.
        const bool dmre = SizeOf(m).family == SizeFamily::Dmre;
        if (!cases[k].identifier.empty() && (!dmre || cases[k].identifier == "]d2")) {
            EXPECT_EQ(found->second.identifier, cases[k].identifier) << where;
        }
        const bool hasEci = std::any_of(cases[k].ecis.begin(), cases[k].ecis.end(), [](int eci) { return eci != 0; });
        EXPECT_EQ(found->second.hasEci, hasEci) << where;
        // dmtxread reads neither DMRE nor ECI, and drops GS1's FNC1.
        const bool dmtxReads = m.rows() < 144 && !dmre && !hasEci && !cases[k].request.gs1;
        if (alsoDmtx && dmtxReads) {
            EXPECT_EQ(test::DmtxReadExact(paths[k], m.rows(), m.cols()), cases[k].expected) << where;
        }
    }
}

TEST(EncodeSegments, EndOfDataRulesCrossedWithHeadersReadBack) { ExpectRoundTrips(EndOfDataCases(), false); }

TEST(EncodeSegments, Gs1EciMacroAndEverySizeReadBack) { ExpectRoundTrips(FeatureCases(), true); }

TEST(EncodeSegments, The144OrdersDifferOnlyInTheCheckCodewords) {
    EncodeRequest request;
    request.rows = request.cols = 144;
    const std::string message(1500, 'Q');
    const EncodeResult current = test::EncodeWith({{message}}, request);
    request.iso144 = true;
    const EncodeResult iso = test::EncodeWith({{message}}, request);
    const std::vector<std::uint8_t> a = current.codewords();
    const std::vector<std::uint8_t> b = iso.codewords();
    EXPECT_TRUE(std::equal(a.begin(), a.begin() + 1550, b.begin()));
    EXPECT_NE(a, b);
}

TEST(EncodeSegments, RefusesBadDataAndOptionsWithAReason) {
    struct Refusal {
        std::string bytes;
        EncodeRequest request;
        Failure kind;
        std::string says;
    };
    EncodeRequest x12, gs1, both, fixed, append, rect;
    x12.encodation = Encodation::X12;
    gs1.gs1 = true;
    both.gs1 = both.readerInit = true;
    fixed.rows = fixed.cols = 12;
    append.appendCount = 17, append.appendIndex = 1, append.fileId = 1;
    rect.rows = 8, rect.cols = 48;
    const Refusal refusals[] = {
        {"ABCDa", x12, Failure::InvalidData, "byte 5 ('a') cannot be encoded in X12"},
        {"(17)2012", gs1, Failure::InvalidData, "AI (17): expected 6 digits YYMMDD, got 2012"},
        {"(17)201345", gs1, Failure::InvalidData, "AI (17): expected 6 digits YYMMDD, got 201345"},
        {"(01)09506000134353", gs1, Failure::InvalidData, "AI (01): check digit 3 is wrong, expected 2"},
        {"(10)ABC\xE9", gs1, Failure::InvalidData, "AI (10): character"},
        {"(10)" + std::string(21, 'A'), gs1, Failure::InvalidData, "AI (10): expected up to 20 characters"},
        {"(7777)1", gs1, Failure::InvalidData, "AI (7777) is unknown"},
        {"01)1", gs1, Failure::InvalidData, "starts with an AI in brackets"},
        {"(01)09506000134352", both, Failure::InvalidArgument, "reader programming cannot be combined with GS1"},
        {"ABC", append, Failure::InvalidArgument, "2 to 16 symbols"},
        {"ABC", rect, Failure::InvalidArgument, "no 8x48 symbol (DMRE sizes need the DMRE option)"},
        {std::string(40, '\xEE'), fixed, Failure::MessageTooLong, "the message is 40 bytes and needs 42 data codewords; the 12x12 symbol holds 5: cut about 36 bytes"},
        {std::string(3200, '\xEE'), {}, Failure::MessageTooLong, "the message is 3200 bytes and needs 3203 data codewords; the largest allowed symbol (144x144) holds 1558: cut about 1644 bytes"},
    };
    for (const Refusal& r : refusals) {
        const EncodeResult result = test::EncodeWith({{r.bytes}}, r.request);
        const Outcome& failure = result.outcome;
        ASSERT_FALSE(failure.ok()) << r.says;
        EXPECT_EQ(failure.failure, r.kind) << r.says;
        EXPECT_NE(failure.message.find(r.says), std::string::npos) << failure.message;
    }
}

}  // namespace
}  // namespace ecc200

namespace ecc200 {
namespace {

// A peer's symbol read back: its size and its data codewords before padding;
// size nullptr when the peer made none.
struct PeerSymbol {
    const SymbolSize* size = nullptr;
    int dataCodewords = 0;
};

// The data codewords before padding: the tail from the first pad on is
// exactly 129 followed by 129s randomised for their 1-based position
// (5.2.3.3, Annex B.1). A randomised pad never equals 129, and 129 alone can
// be a C40, Text or X12 codeword, so the first pad is the 129 just before
// the longest randomised tail.
int UnpaddedLength(const std::vector<int>& data) {
    int tail = static_cast<int>(data.size());
    while (tail > 0 && data[static_cast<std::size_t>(tail - 1)] == RandomizePad(kPadCodeword, tail)) --tail;
    const bool padded = tail > 0 && data[static_cast<std::size_t>(tail - 1)] == kPadCodeword;
    return padded ? tail - 1 : static_cast<int>(data.size());
}

// Reads a drawn symbol (rows of '0'/'1'; zint's dump rounds each row up to
// whole hexadecimal digits) back through our placement map. Below 144 x 144 every size's
// blocks are equal, so the stream's first codewords are the data in order.
PeerSymbol ReadPeerSymbol(const std::vector<std::string>& grid, bool fromDump) {
    PeerSymbol peer;
    for (const SymbolSize& s : kSymbolSizes) {
        const int width = fromDump ? (s.cols + 3) / 4 * 4 : s.cols;
        if (s.family != SizeFamily::Dmre && s.rows == static_cast<int>(grid.size()) && width == static_cast<int>(grid[0].size())) peer.size = &s;
    }
    if (peer.size == nullptr || peer.size->rows == 144) return PeerSymbol{};
    const PlacementMap& map = PlacementMapFor(*peer.size);
    std::vector<int> data(static_cast<std::size_t>(peer.size->dataCodewords), 0);
    for (std::size_t bit = 0; bit < 8 * data.size(); ++bit) {
        const int offset = map.bitModules[bit];
        data[bit / 8] = 2 * data[bit / 8] + (grid[static_cast<std::size_t>(offset / map.cols)][static_cast<std::size_t>(offset % map.cols)] == '1');
    }
    peer.dataCodewords = UnpaddedLength(data);
    return peer;
}

// zint's minimal (or --fast) symbol, squares only or squares and rectangles;
// --dump writes each row in hexadecimal, four modules a digit.
PeerSymbol ZintSymbol(const test::TempDir& dir, const std::string& message, bool gs1, bool fast, bool square) {
    std::vector<std::string> args = {"zint", "-b", "71", "--dump"};
    if (fast) args.push_back("--fast");
    if (square) args.push_back("--square");
    if (gs1) {
        args.insert(args.end(), {"--gs1", "-d", message});
    } else {
        test::WriteFileBytes(dir.file("peer.bin"), message);
        args.insert(args.end(), {"--binary", "-i", dir.file("peer.bin")});
    }
    const test::CommandResult result = test::RunCommand(args);
    std::istringstream dump(result.out);
    std::vector<std::string> grid;
    for (std::string line; std::getline(dump, line);) {
        grid.emplace_back();
        for (const char digit : line) {
            const int value = digit == ' ' ? -1 : std::stoi(std::string(1, digit), nullptr, 16);
            for (int weight = 8; weight > 0 && value >= 0; weight /= 2) grid.back().push_back((value & weight) != 0 ? '1' : '0');
        }
    }
    return result.exitCode == 0 && !grid.empty() ? ReadPeerSymbol(grid, true) : PeerSymbol{};
}

// dmtxwrite -e b (its best encodation), squares (-s s) or rectangles (-s r),
// one pixel per module inside a one-module margin.
PeerSymbol DmtxSymbol(const test::TempDir& dir, const std::string& message, bool square) {
    const std::string png = dir.file("peer.png");
    const std::string gray = dir.file("peer.gray");
    if (test::RunCommand({"dmtxwrite", "-e", "b", "-s", square ? "s" : "r", "-d", "1", "-m", "1", "-o", png}, message).exitCode != 0) return {};
    std::istringstream size(test::RunCommand({"identify", "-format", "%w %h", png}).out);
    int width = 0, height = 0;
    size >> width >> height;
    if (height <= 2 || width <= 2 || test::RunCommand({"convert", png, "-depth", "8", "gray:" + gray}).exitCode != 0) return {};
    const std::string pixels = test::ReadFileBytes(gray);
    if (pixels.size() != static_cast<std::size_t>(width * height)) return {};
    std::vector<std::string> grid(static_cast<std::size_t>(height - 2));
    for (int row = 1; row + 1 < height; ++row) {
        for (int col = 1; col + 1 < width; ++col) {
            grid[static_cast<std::size_t>(row - 1)].push_back(static_cast<unsigned char>(pixels[static_cast<std::size_t>(row * width + col)]) < 128 ? '1' : '0');
        }
    }
    return ReadPeerSymbol(grid, false);
}

// Exact against the peers' own symbols read back: never a symbol of more
// capacity, and never more data codewords in the same size.
TEST(EncodeSegments, NeverMoreDataCodewordsThanZintOrLibdmtx) {
    const test::TempDir dir;
    std::mt19937 random(99);
    std::vector<std::pair<std::string, bool>> messages = {
        {"[01]09506000134352[17]201225[10]ABC123", true},
        {"[01]09506000134352[3103]000150[21]A1b2C3d4[240]XYZ-99", true},
        {"[00]106141412345678908[400]PO-1234[91]abc", true},
        {"https://www.example.com/products/item?id=12345&ref=abc", false},
        {"http://ecc200.example.org/a/b/c/d/e/f/ghijklmnop", false},
        {"the quick brown fox jumps over the lazy dog", false},
        {"PN: 4711-0815-AB  REV C  LOT 20240517", false},
        {"[)>\x1E" "06\x1D" "P12345\x1DQ100\x1D" "1T4711\x1E\x04", false},
        {"[)>\x1E" "06\x1D" "P5SPERX7Q1L5\x1D" "9DKC81LALZXTHOC\x1E\x04", false},  // zint --fast: 21
        {"caf\xE9 cr\xE8me br\xFBl\xE9" "e \xE0 la fran\xE7" "aise", false},
        {"ABC12", false},
    };
    for (int length : {5, 17, 40, 123, 400}) messages.push_back({RandomText(random, length, "0123456789"), false});
    for (int length : {3, 30, 200}) messages.push_back({AllBytes(random, length), false});
    for (int length : {20, 90}) messages.push_back({RandomText(random, length, "ABCDEFGHIJ0123456789 -."), false});
    struct Peer {
        const char* name;
        SymbolShape shape;
        bool fast;
    };
    const Peer peers[] = {{"zint --square", SymbolShape::Square, false}, {"zint --square --fast", SymbolShape::Square, true},
                          {"zint", SymbolShape::Any, false},            {"zint --fast", SymbolShape::Any, true},
                          {"dmtxwrite -s s", SymbolShape::Square, false}, {"dmtxwrite -s r", SymbolShape::Rectangle, false}};
    int sameSize = 0;
    for (const auto& [message, gs1] : messages) {
        std::string ours = message;
        if (gs1) std::replace(ours.begin(), ours.end(), '[', '('), std::replace(ours.begin(), ours.end(), ']', ')');
        for (const Peer& p : peers) {
            const bool dmtx = std::string(p.name).rfind("dmtx", 0) == 0;
            if (dmtx && gs1) continue;
            const PeerSymbol peer = dmtx ? DmtxSymbol(dir, message, p.shape == SymbolShape::Square)
                                         : ZintSymbol(dir, message, gs1, p.fast, p.shape == SymbolShape::Square);
            if (peer.size == nullptr) continue;  // too long for the peer's shape
            EncodeRequest request;
            request.gs1 = gs1;
            request.shape = p.shape;
            const EncodeResult result = test::EncodeWith({{ours}}, request);
            ASSERT_TRUE(Symbol(result)) << FailureText(result);
            const SymbolSize& size = SizeOf(Symbol(result)->matrix);
            const int count = Symbol(result)->dataCount;
            EXPECT_LE(size.dataCodewords, peer.size->dataCodewords) << p.name << ": " << message;
            if (&size != peer.size) continue;
            ++sameSize;
            EXPECT_LE(count, peer.dataCodewords) << p.name << ": " << message;
        }
    }
    EXPECT_GE(sameSize, 4 * static_cast<int>(messages.size()));  // the peers really ran and were read back
}

}  // namespace
}  // namespace ecc200
