// Target 3: the C interface on two threads against one. Each symbol is
// encoded, drawn as a BMP into the thread's own buffer and freed; every
// call is independent (ecc200.h), so two threads should nearly double the
// symbols per second on two free cores. Timed on the wall clock, since the
// throughput of the process is what is asked.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "contenders.h"
#include "ecc200.h"
#include "targets.h"

namespace peers {
namespace {

constexpr int kLargestSide = 144;
constexpr int kModulePixels = 5;
constexpr long kSymbolsPerThreadAndBatch = 64;

// One symbol through the C interface; false on any refusal.
bool EncodeAndDraw(const std::string& message, const ecc200_picture& picture, std::vector<std::uint8_t>& buffer) {
    ecc200_encode_options options;
    ecc200_encode_options_init(&options);
    ecc200_symbol* symbol = nullptr;
    if (ecc200_encode(message.data(), message.size(), &options, &symbol, nullptr) != ECC200_OK) return false;
    std::size_t size = 0;
    const ecc200_status status =
        ecc200_render(symbol, &picture, ECC200_FORMAT_BMP, buffer.data(), buffer.size(), &size, nullptr);
    ecc200_symbol_free(symbol);
    return status == ECC200_OK && size > 0;
}

// `threads` threads drawing `symbols` symbols each; false if any failed.
bool RunThreads(int threads, long symbols, const std::string& message, const ecc200_picture& picture,
                std::vector<std::vector<std::uint8_t>>& buffers) {
    std::vector<std::thread> workers;
    std::vector<char> succeeded(static_cast<std::size_t>(threads), 1);
    for (int t = 0; t < threads; ++t) {
        const auto index = static_cast<std::size_t>(t);
        workers.emplace_back([&, index] {
            for (long i = 0; i < symbols; ++i) {
                if (!EncodeAndDraw(message, picture, buffers[index])) succeeded[index] = 0;
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
    for (char ok : succeeded) {
        if (!ok) return false;
    }
    return true;
}

// The BMP's size, asked of the library once, so the buffers never grow.
std::size_t BmpSize(const std::string& message, const ecc200_picture& picture) {
    ecc200_encode_options options;
    ecc200_encode_options_init(&options);
    ecc200_symbol* symbol = nullptr;
    if (ecc200_encode(message.data(), message.size(), &options, &symbol, nullptr) != ECC200_OK) {
        throw std::runtime_error("ecc200_encode refused the 144 x 144 message");
    }
    std::size_t size = 0;
    ecc200_render(symbol, &picture, ECC200_FORMAT_BMP, nullptr, 0, &size, nullptr);
    ecc200_symbol_free(symbol);
    return size;
}

TargetRow ThroughputRatio(const Timing& one, const Timing& two) {
    // Per symbol: one thread's batch draws kSymbolsPerThreadAndBatch, two threads' twice as many.
    const double ratio = 2.0 * one.medianMicroseconds / two.medianMicroseconds;
    return TargetRow{"c_interface_2_over_1_thread", kLargestSide, "x",
                     Timing{"ecc200", ratio, ratio, ratio, one.operationsPerBatch, one.rounds}, 1.0};
}

TargetRow PerSymbol(const std::string& job, const Timing& batch, long symbols) {
    const auto perSymbol = static_cast<double>(symbols);
    return TargetRow{job, kLargestSide, "us_wall",
                     Timing{"ecc200", batch.medianMicroseconds / perSymbol, batch.minMicroseconds / perSymbol,
                            batch.maxMicroseconds / perSymbol, symbols, batch.rounds},
                     1.0};
}

}  // namespace

std::vector<TargetRow> TwoThreadRows(const TargetPlan& plan) {
    const std::string message = LargestSymbolMessage();
    ecc200_picture picture;
    ecc200_picture_init(&picture);
    picture.module_px = kModulePixels;
    const std::size_t size = BmpSize(message, picture);
    std::vector<std::vector<std::uint8_t>> buffers(2, std::vector<std::uint8_t>(size));
    const long symbols = plan.smoke ? 1 : kSymbolsPerThreadAndBatch;

    // One operation is a whole batch of threads: started, run and joined.
    const std::vector<Contender> contenders = {
        {"one thread", [&] { return RunThreads(1, symbols, message, picture, buffers); }},
        {"two threads", [&] { return RunThreads(2, symbols, message, picture, buffers); }},
    };
    const std::vector<Timing> timings =
        TimeSideBySide(contenders, TimingPlan{0.0, plan.smoke ? 1 : plan.rounds}, Clock::Wall);
    return {PerSymbol("c_interface_1_thread", timings[0], symbols),
            PerSymbol("c_interface_2_threads", timings[1], 2 * symbols), ThroughputRatio(timings[0], timings[1])};
}

}  // namespace peers
