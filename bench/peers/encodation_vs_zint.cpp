// ecc200_encodation_vs_zint: the encoder's automatic encodation (the exact
// minimum) to the module matrix through the per-call interface
// (ecc200_encode, the modules read, the symbol freed), side by side with zint's default
// Data Matrix encodation (from zint 2.11 its minimal encodation; FAST_MODE
// would select the look-ahead one), both limited to square sizes, on
// realistic messages and on the three longest messages of one kind the
// 144 x 144 size holds. Timed on the thread's CPU clock in interleaved
// rounds (side_by_side.h); the ratio is ecc200's median over zint's.
//
//   ecc200_encodation_vs_zint [--smoke] [--csv FILE] [--rounds N]
//
// --csv appends one row per message and library in ecc200_peers' format
// (job "auto_<message>", our symbol's side). --smoke runs each once.
#include <zint.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "ecc200.h"
#include "side_by_side.h"

namespace {

struct Message {
    std::string name;  // no commas: it is a CSV field
    std::string bytes;
    bool gs1;
    bool worstCase;
};

std::string Repeat(const std::string& unit, std::size_t length) {
    std::string text;
    while (text.size() < length) text += unit;
    text.resize(length);
    return text;
}

std::vector<Message> Messages() {
    std::string latin1 = "Gr\xFC\xDF" "e aus M\xFCnchen, \xE0 bient\xF4t, se\xF1or, \xE6\xF8\xE5 ";
    std::string binary;
    for (int i = 0; i < 120; ++i) binary.push_back(static_cast<char>((i * 151 + 7) % 256));
    std::string c40;
    for (int i = 0; i < 2335; ++i) c40.push_back(static_cast<char>('A' + i % 26));
    return {
        {"gs1_element_string", "(01)09506000134352(17)201225(10)ABC123(21)xyz", true, false},
        {"gs1_long", "(01)03453120000011(17)191125(10)ABCD1234(21)10(240)ABC-123/x(91)0123456789", true, false},
        {"url", "https://www.example.com/products/item?id=12345&ref=abc", false, false},
        {"url_long", "https://shop.example.org/catalogue/2024/spring/shoes/running?size=42&colour=blue&utm_source=label", false, false},
        {"lowercase_sentence", "the quick brown fox jumps over the lazy dog, 42 times", false, false},
        {"part_number", "PN-4711-AB/REV C SN 0012345678 LOT X12-99", false, false},
        {"digits_40", "0123456789012345678901234567890123456789", false, false},
        {"binary_120", binary, false, false},
        {"latin1_text", Repeat(latin1, 90), false, false},
        {"macro_06", "[)>\x1E" "06\x1DP1234567\x1DQ100\x1D" "1JUN123456789A2B4C6D8E\x1E\x04", false, false},
        {"worst_3116_digits", std::string(3116, '7'), false, true},
        {"worst_1555_binary", std::string(1555, '\xE9'), false, true},
        {"worst_2335_c40", c40, false, true},
    };
}

// zint: one symbol record reused, its default (minimal) encodation, square
// sizes only; GS1 messages with parenthesised AIs.
class Zint {
public:
    explicit Zint(bool gs1) : symbol_(ZBarcode_Create()) {
        if (symbol_ == nullptr) throw std::bad_alloc();
        symbol_->symbology = BARCODE_DATAMATRIX;
        symbol_->option_3 = DM_SQUARE;
        symbol_->input_mode = gs1 ? GS1_MODE | GS1PARENS_MODE : DATA_MODE;
    }
    ~Zint() { ZBarcode_Delete(symbol_); }
    Zint(const Zint&) = delete;
    Zint& operator=(const Zint&) = delete;
    int Encode(const std::string& message) {
        ZBarcode_Clear(symbol_);
        const int result = ZBarcode_Encode(symbol_, reinterpret_cast<const unsigned char*>(message.data()),
                                           static_cast<int>(message.size()));
        return result < ZINT_ERROR ? symbol_->rows : 0;
    }

private:
    zint_symbol* symbol_;
};

// ecc200 through the per-call interface, as a caller runs it: ecc200_encode
// with the default (automatic) encodation, the modules read, the symbol freed.
int OursEncode(const Message& message) {
    ecc200_encode_options options;
    ecc200_encode_options_init(&options);
    options.gs1 = message.gs1 ? 1 : 0;
    ecc200_symbol* symbol = nullptr;
    if (ecc200_encode(message.bytes.data(), message.bytes.size(), &options, &symbol, nullptr) != ECC200_OK) return 0;
    const std::uint8_t* modules = ecc200_symbol_modules(symbol);
    const int rows = modules != nullptr ? ecc200_symbol_rows(symbol) : 0;
    ecc200_symbol_free(symbol);
    return rows;
}

struct Options {
    bool smoke = false;
    std::string csvPath;
    int rounds = 31;
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--smoke") {
            options.smoke = true;
        } else if (option == "--csv" && i + 1 < argc) {
            options.csvPath = argv[++i];
        } else if (option == "--rounds" && i + 1 < argc) {
            options.rounds = std::atoi(argv[++i]);
        } else {
            throw std::invalid_argument("usage: ecc200_encodation_vs_zint [--smoke] [--csv FILE] [--rounds N]");
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) try {
    const Options options = ParseOptions(argc, argv);
    const peers::TimingPlan plan{options.smoke ? 0.0 : 0.002, options.smoke ? 1 : options.rounds};
    std::ofstream csv;
    if (!options.csvPath.empty()) csv.open(options.csvPath, std::ios::app);
    std::printf("%-20s %9s %9s %11s %11s %8s\n", "message", "ecc200", "zint", "ecc200 us", "zint us", "ratio");
    double realisticSum = 0;
    int realisticCount = 0;
    for (const Message& message : Messages()) {
        Zint zint(message.gs1);
        const int ourSide = OursEncode(message);
        const int zintSide = zint.Encode(message.bytes);
        if (ourSide == 0 || zintSide == 0) throw std::runtime_error(message.name + ": a library made no symbol");
        const std::vector<peers::Contender> contenders = {
            {"ecc200", [&] { return OursEncode(message) != 0; }},
            {"zint", [&] { return zint.Encode(message.bytes) != 0; }},
        };
        const std::vector<peers::Timing> timings = peers::TimeSideBySide(contenders, plan, peers::Clock::ThreadCpu);
        const double ratio = timings[0].medianMicroseconds / timings[1].medianMicroseconds;
        std::printf("%-20s %4dx%-4d %4dx%-4d %11.2f %11.2f %7.2fx\n", message.name.c_str(), ourSide, ourSide, zintSide,
                    zintSide, timings[0].medianMicroseconds, timings[1].medianMicroseconds, ratio);
        if (!message.worstCase) {
            realisticSum += ratio;
            ++realisticCount;
        }
        for (const peers::Timing& t : timings) {
            if (!csv.is_open()) continue;
            const double over = t.library == "ecc200" ? 1.0 : ratio;
            csv << "auto_" << message.name << "," << ourSide << "," << t.library << ",us," << t.medianMicroseconds << ","
                << t.minMicroseconds << "," << t.maxMicroseconds << "," << t.operationsPerBatch << "," << t.rounds << ","
                << over << "\n";
        }
    }
    std::printf("mean ratio over the %d realistic messages: %.2fx\n", realisticCount, realisticSum / realisticCount);
    if (csv.is_open() && !csv.flush()) throw std::runtime_error("cannot write " + options.csvPath);
    return 0;
} catch (const std::exception& failure) {
    std::cerr << "ecc200_encodation_vs_zint: " << failure.what() << "\n";
    return 1;
}
