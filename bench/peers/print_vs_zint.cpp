// ecc200_print_vs_zint: a PDF of a 144 x 144 symbol from ecc200 (encoding
// and the document saved by ecc200::save) side by side with zint's EPS of
// the same message (ZBarcode_Encode_and_Print to a file, its fastest
// encodation), both in the directory given (tmpfs such as /dev/shm keeps
// the disk out of it). Timed
// on the wall clock, as both write files, in interleaved rounds
// (side_by_side.h); the ratio is ecc200's median over zint's.
//
//   ecc200_print_vs_zint [--smoke] [--dir DIR] [--rounds N]
#include <zint.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>
#include <string>
#include <vector>

#include <ecc200.hpp>

#include "side_by_side.h"

namespace {

// 3116 digits: the most the 144 x 144 symbol holds, for both libraries.
const std::string kMessage = [] {
    std::string digits;
    for (int i = 0; i < 3116; ++i) digits.push_back(static_cast<char>('0' + (i * 7 + 3) % 10));
    return digits;
}();

// Through the public interface, as a program saves a label.
class Ecc200Pdf {
public:
    explicit Ecc200Pdf(std::string path) : path_(std::move(path)) {
        picture_.module_cm = 0.05;
        picture_.dpi = 96;
    }
    bool operator()() {
        const ecc200::Symbol symbol = ecc200::encode(kMessage);
        if (symbol.rows() != 144) return false;
        ecc200::save(symbol, picture_, path_, ecc200::Format::pdf);
        return true;
    }

private:
    std::string path_;
    ecc200::Picture picture_;
};

class ZintEps {
public:
    explicit ZintEps(const std::string& path) : symbol_(ZBarcode_Create()) {
        if (symbol_ == nullptr) throw std::bad_alloc();
        symbol_->symbology = BARCODE_DATAMATRIX;
        symbol_->option_3 = DM_SQUARE;
#ifdef FAST_MODE
        symbol_->input_mode = DATA_MODE | FAST_MODE;  // zint's fastest encodation (from 2.11)
#else
        symbol_->input_mode = DATA_MODE;
#endif
        std::snprintf(symbol_->outfile, sizeof symbol_->outfile, "%s", path.c_str());
    }
    ~ZintEps() { ZBarcode_Delete(symbol_); }
    ZintEps(const ZintEps&) = delete;
    ZintEps& operator=(const ZintEps&) = delete;
    bool operator()() {
        ZBarcode_Clear(symbol_);
        const int result = ZBarcode_Encode_and_Print(symbol_, reinterpret_cast<const unsigned char*>(kMessage.data()),
                                                     static_cast<int>(kMessage.size()), 0);
        return result < ZINT_ERROR && symbol_->rows == 144;
    }

private:
    zint_symbol* symbol_;
};

}  // namespace

int main(int argc, char** argv) {
    bool smoke = false;
    std::string dir = "/dev/shm";
    int rounds = 31;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--smoke") {
            smoke = true;
        } else if (option == "--dir" && i + 1 < argc) {
            dir = argv[++i];
        } else if (option == "--rounds" && i + 1 < argc) {
            rounds = std::atoi(argv[++i]);
        } else {
            std::cerr << "usage: ecc200_print_vs_zint [--smoke] [--dir DIR] [--rounds N]\n";
            return 2;
        }
    }
    try {
        Ecc200Pdf ours(dir + "/ecc200-print-bench.pdf");
        ZintEps theirs(dir + "/ecc200-print-bench-zint.eps");
        const std::vector<peers::Contender> contenders = {{"ecc200 PDF", [&] { return ours(); }},
                                                          {"zint EPS", [&] { return theirs(); }}};
        const peers::TimingPlan plan{smoke ? 0.0 : 0.05, smoke ? 1 : rounds};
        const std::vector<peers::Timing> timings = peers::TimeSideBySide(contenders, plan, peers::Clock::Wall);
        for (const peers::Timing& t : timings)
            std::printf("%-12s median %9.1f us  min %9.1f  max %9.1f  (%ld per batch, %d rounds)\n", t.library.c_str(),
                        t.medianMicroseconds, t.minMicroseconds, t.maxMicroseconds, t.operationsPerBatch, t.rounds);
        std::printf("144x144: ecc200 PDF / zint EPS = %.2fx\n", timings[0].medianMicroseconds / timings[1].medianMicroseconds);
        std::remove((dir + "/ecc200-print-bench.pdf").c_str());
        std::remove((dir + "/ecc200-print-bench-zint.eps").c_str());
    } catch (const std::exception& error) {
        std::cerr << "ecc200_print_vs_zint: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
