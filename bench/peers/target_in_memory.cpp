// Targets 1 and 2 of the in-memory interface: encode + render of the largest
// symbol beside zint's encode-and-buffer call, and a warm render that
// allocates nothing.
#include <zint.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "allocation_count.h"
#include "contenders.h"
#include "ecc200.hpp"
#include "targets.h"

namespace peers {
namespace {

constexpr int kLargestSide = 144;
constexpr int kZintLargestSize = 24;  // option_2: the 24th square size, 144 x 144
constexpr int kModulePixels = 5;
constexpr int kQuietZoneModules = 2;
constexpr int kWarmCallsCounted = 1000;

ecc200::Picture FivePixelModules() {
    ecc200::Picture picture;
    picture.module_px = kModulePixels;
    picture.quiet_zone = kQuietZoneModules;
    return picture;
}

// BITMAPINFOHEADER's biWidth or biHeight, unsigned (a negative height means top-down rows).
int BmpDimension(const std::vector<std::uint8_t>& bmp, std::size_t offset) {
    const std::uint32_t value = static_cast<std::uint32_t>(bmp.at(offset)) |
                                static_cast<std::uint32_t>(bmp.at(offset + 1)) << 8 |
                                static_cast<std::uint32_t>(bmp.at(offset + 2)) << 16 |
                                static_cast<std::uint32_t>(bmp.at(offset + 3)) << 24;
    const auto height = static_cast<std::int32_t>(value);
    return height < 0 ? -height : height;
}
constexpr std::size_t kBmpWidthOffset = 18;
constexpr std::size_t kBmpHeightOffset = 22;

// zint draws a module as 2 x scale pixels; its whitespace is in modules. The
// symbol record is reused, as a caller drawing many would.
class ZintBuffer {
public:
    ZintBuffer() : symbol_(ZBarcode_Create()) {
        if (symbol_ == nullptr) throw std::bad_alloc();
    }
    ~ZintBuffer() { ZBarcode_Delete(symbol_); }
    ZintBuffer(const ZintBuffer&) = delete;
    ZintBuffer& operator=(const ZintBuffer&) = delete;

    bool Draw(const std::string& message) {
        ZBarcode_Clear(symbol_);
        symbol_->symbology = BARCODE_DATAMATRIX;
        symbol_->option_2 = kZintLargestSize;
        symbol_->input_mode = DATA_MODE;
        symbol_->scale = kModulePixels / 2.0f;
        symbol_->whitespace_width = kQuietZoneModules;
        symbol_->whitespace_height = kQuietZoneModules;
        return ZBarcode_Encode_and_Buffer(symbol_, reinterpret_cast<const unsigned char*>(message.data()),
                                          static_cast<int>(message.size()), 0) < ZINT_ERROR;
    }
    int Width() const { return symbol_->bitmap_width; }
    int Height() const { return symbol_->bitmap_height; }

private:
    zint_symbol* symbol_;
};

// Both pictures must have the same pixels to compare: checked once.
void CheckSamePictureSize(const std::vector<std::uint8_t>& bmp, const ZintBuffer& zint) {
    if (BmpDimension(bmp, kBmpWidthOffset) != zint.Width() || BmpDimension(bmp, kBmpHeightOffset) != zint.Height()) {
        throw std::runtime_error("ecc200's BMP is " + std::to_string(BmpDimension(bmp, kBmpWidthOffset)) + "x" +
                                 std::to_string(BmpDimension(bmp, kBmpHeightOffset)) + ", zint's buffer " +
                                 std::to_string(zint.Width()) + "x" + std::to_string(zint.Height()));
    }
}

// A counter that missed the library's allocations would report 0 for
// anything: an encoding, which must allocate its symbol, proves it sees them.
void CheckCounterSeesAllocations(const std::string& message) {
    const long before = ThreadAllocations();
    const ecc200::Symbol symbol = ecc200::encode(message);
    if (ThreadAllocations() == before) throw std::runtime_error("the allocation counter saw no allocation of encode");
}

TargetRow WarmAllocations(const ecc200::Symbol& symbol, const ecc200::Picture& picture,
                          std::vector<std::uint8_t>& out) {
    ecc200::render(symbol, picture, ecc200::Format::bmp, out);  // warm: the vector has its capacity
    const long before = ThreadAllocations();
    for (int call = 0; call < kWarmCallsCounted; ++call) ecc200::render(symbol, picture, ecc200::Format::bmp, out);
    const double perCall = static_cast<double>(ThreadAllocations() - before) / kWarmCallsCounted;
    return TargetRow{"warm_render_allocations", kLargestSide, "count",
                     Timing{"ecc200", perCall, perCall, perCall, kWarmCallsCounted, 1}, 1.0};
}

}  // namespace

std::vector<TargetRow> InMemoryRows(const TargetPlan& plan) {
    const std::string message = LargestSymbolMessage();
    const ecc200::Picture picture = FivePixelModules();
    std::vector<std::uint8_t> out;
    ZintBuffer zint;
    if (!zint.Draw(message)) throw std::runtime_error("zint refused the 144 x 144 message");
    ecc200::render(ecc200::encode(message), picture, ecc200::Format::bmp, out);
    CheckSamePictureSize(out, zint);

    const std::vector<Contender> contenders = {
        {"ecc200", [&] {
             ecc200::render(ecc200::encode(message), picture, ecc200::Format::bmp, out);
             return !out.empty();
         }},
        {"zint", [&] { return zint.Draw(message); }},
    };
    const TimingPlan timing{plan.smoke ? 0.0 : 0.02, plan.smoke ? 1 : plan.rounds};
    std::vector<TargetRow> rows =
        RowsOf("render_144_bmp_5px", kLargestSide, "us", TimeSideBySide(contenders, timing, Clock::ThreadCpu));
    CheckCounterSeesAllocations(message);
    rows.push_back(WarmAllocations(ecc200::encode(message), picture, out));
    return rows;
}

std::vector<TargetRow> RowsOf(const std::string& job, int side, const std::string& unit,
                              const std::vector<Timing>& timings) {
    std::vector<TargetRow> rows;
    for (const Timing& timing : timings) {
        const double over = timings.front().medianMicroseconds / timing.medianMicroseconds;
        rows.push_back(TargetRow{job, side, unit, timing, over});
    }
    return rows;
}

}  // namespace peers
