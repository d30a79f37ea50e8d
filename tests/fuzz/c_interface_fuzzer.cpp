// libFuzzer target for the ecc200_* functions: any message bytes, any
// encode options and picture fields (the ends of the int range, NaN,
// infinities, struct sizes below, at and above this release's), any format,
// delivered three ways: into a buffer of any capacity, to a writer that may
// refuse after some bytes, into a block of the library's. After each call:
// - the status is one of ecc200.h's, and every other status than OK leaves
//   a NUL-terminated explanation and no symbol or bytes;
// - a symbol's size is an ECC 200 size with one byte per module, 0 or 1;
// - the three deliveries of one picture agree: the same status, and on
//   success the same bytes; a buffer too small reports the size needed.
// Pictures are kept to a few million pixels where their size alone does not
// refuse them, so that each input runs in milliseconds.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "ecc200.h"

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "C interface check failed: %s\n", what);
    std::abort();
}

constexpr double kMostPixels = 4 << 20;
constexpr std::size_t kMaxMessageInput = 3200;

std::int32_t EdgeInt(FuzzedDataProvider& in, std::int32_t low, std::int32_t high) {
    const std::int32_t edges[] = {std::numeric_limits<std::int32_t>::min(), -1, 0, 1, 2, 3, 4,
                                  std::numeric_limits<std::int32_t>::max()};
    return in.ConsumeBool() ? in.PickValueInArray(edges) : in.ConsumeIntegralInRange(low, high);
}

double EdgeCentimetres(FuzzedDataProvider& in) {
    const double edges[] = {std::nan(""), INFINITY, -INFINITY, 0.0, -0.2, 1e-30, 1e30, 0.2, 0.0265, 1.984375};
    return in.ConsumeBool() ? in.PickValueInArray(edges) : in.ConsumeFloatingPointInRange(0.0, 3.0);
}

std::uint32_t StructSize(FuzzedDataProvider& in, std::uint32_t size) {
    const std::uint32_t choices[] = {size, size, size, 0, 4, size - 4, size + 8};
    return in.PickValueInArray(choices);
}

ecc200_encode_options EncodeOptions(FuzzedDataProvider& in) {
    ecc200_encode_options o;
    ecc200_encode_options_init(&o);
    if (in.ConsumeBool()) return o;
    o.struct_size = StructSize(in, sizeof o);
    o.encodation = EdgeInt(in, 0, 6);
    o.shape = EdgeInt(in, 0, 2);
    o.eci = EdgeInt(in, 0, 30);
    o.rows = o.columns = in.ConsumeBool() ? 0 : EdgeInt(in, 8, 144);
    return o;
}

ecc200_picture Picture(FuzzedDataProvider& in) {
    ecc200_picture p;
    ecc200_picture_init(&p);
    p.struct_size = StructSize(in, sizeof p);
    if (in.ConsumeBool()) p.width = EdgeInt(in, 0, 2000), p.height = EdgeInt(in, 0, 2000);
    p.quiet_zone = EdgeInt(in, 0, 8);
    p.module_cm = EdgeCentimetres(in);
    p.module_px = in.ConsumeBool() ? 0 : EdgeInt(in, 0, 40);
    p.dpi = in.ConsumeBool() ? 0 : EdgeInt(in, 0, 1200);
    p.quarter_turns = EdgeInt(in, 0, 3);
    p.border = EdgeInt(in, 0, 2);
    p.bar = in.ConsumeIntegralInRange<std::uint32_t>(0, 0x1000000);
    p.background = in.ConsumeIntegral<std::uint32_t>() & (in.ConsumeBool() ? 0xFFFFFFu : 0xFFFFFFFFu);
    p.allow_crop = in.ConsumeBool();
    p.seamless = in.ConsumeBool();
    return p;
}

// Whether drawing the picture could take long: a raster of more than a few
// million pixels that its size alone does not refuse (the size is worked
// out roughly, from at most a 144-module side).
bool TooSlow(const ecc200_picture& p, ecc200_format format) {
    if (format == ECC200_FORMAT_WMF && (p.width > 32767 || p.height > 32767)) return false;
    const double module = p.module_px > 0 ? p.module_px : (p.dpi > 0 ? p.dpi : 96) * p.module_cm / 2.54;
    const double side = (144.0 + 2.0 * std::max(p.quiet_zone, 0)) * module;
    const double area = p.width > 0 ? double(p.width) * double(p.height) : side * side;
    const bool rasterised = format == ECC200_FORMAT_BMP || format == ECC200_FORMAT_PNG;
    const bool dashedFrame = p.border == ECC200_BORDER_DASHED && (p.width > 4000000 || p.height > 4000000);
    return !(area <= kMostPixels) && (rasterised ? area < 3.5e10 : dashedFrame) && !std::isnan(area);
}

struct Writer {
    std::vector<std::uint8_t> bytes;
    std::size_t refuseAfter;
    static std::int32_t ECC200_CALL Write(void* context, const std::uint8_t* data, std::size_t size) {
        auto& writer = *static_cast<Writer*>(context);
        Require(size > 0 && data != nullptr, "an empty piece");
        if (writer.bytes.size() + size > writer.refuseAfter) return 0;
        writer.bytes.insert(writer.bytes.end(), data, data + size);
        return 1;
    }
};

void CheckDiagnostic(ecc200_status status, const ecc200_diagnostic& d) {
    Require(status >= ECC200_OK && status <= ECC200_INVALID_DATA, "an unknown status");
    if (status == ECC200_OK) return;
    Require(std::memchr(d.message, '\0', sizeof d.message) != nullptr && d.message[0] != '\0', "no explanation");
}

void CheckSymbol(const ecc200_symbol* symbol) {
    const std::int32_t rows = ecc200_symbol_rows(symbol), cols = ecc200_symbol_columns(symbol);
    Require(rows >= 8 && rows <= 144 && cols >= 8 && cols <= 144 && rows % 2 == 0 && cols % 2 == 0, "not a size");
    const std::uint8_t* modules = ecc200_symbol_modules(symbol);
    for (std::int32_t i = 0; i < rows * cols; ++i) Require(modules[i] <= 1, "a module neither 0 nor 1");
}

void RenderThreeWays(FuzzedDataProvider& in, const ecc200_symbol* symbol) {
    const ecc200_picture picture = Picture(in);
    const ecc200_format format = EdgeInt(in, 1, 5);
    if (TooSlow(picture, format)) return;
    ecc200_diagnostic d{sizeof d, 0, 0, 0, {}, 0, 0};
    std::uint8_t* block = nullptr;
    std::size_t blockSize = 0;
    const ecc200_status allocated = ecc200_render_alloc(symbol, &picture, format, &block, &blockSize, &d);
    CheckDiagnostic(allocated, d);
    Require((allocated == ECC200_OK) == (block != nullptr), "a block without success");
    const std::vector<std::uint8_t> expected(block, block + blockSize);
    ecc200_free(block);

    Writer writer{{}, in.ConsumeBool() ? SIZE_MAX : in.ConsumeIntegralInRange<std::size_t>(0, expected.size() + 1)};
    const ecc200_status written = ecc200_render_to(symbol, &picture, format, &Writer::Write, &writer, &d);
    CheckDiagnostic(written, d);
    const bool refused = allocated == ECC200_OK && writer.refuseAfter < expected.size();
    Require(written == (refused ? ECC200_WRITE_REFUSED : allocated), "render_to and render_alloc differ");
    Require(written != ECC200_OK || writer.bytes == expected, "render_to wrote other bytes");

    std::vector<std::uint8_t> buffer(in.ConsumeIntegralInRange<std::size_t>(0, expected.size() + 2));
    std::size_t size = 0;
    const ecc200_status rendered = ecc200_render(symbol, &picture, format, buffer.data(), buffer.size(), &size, &d);
    CheckDiagnostic(rendered, d);
    const bool small = allocated == ECC200_OK && buffer.size() < expected.size();
    Require(rendered == (small ? ECC200_BUFFER_TOO_SMALL : allocated), "render and render_alloc differ");
    Require(!small || size == expected.size(), "the size needed is wrong");
    Require(rendered != ECC200_OK || std::equal(expected.begin(), expected.end(), buffer.begin()), "render differs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const ecc200_encode_options options = EncodeOptions(in);
    const std::string message = in.ConsumeRandomLengthString(kMaxMessageInput);
    ecc200_symbol* symbol = reinterpret_cast<ecc200_symbol*>(&in);  // must be overwritten
    ecc200_diagnostic d{sizeof d, 0, 0, 0, {}, 0, 0};
    const ecc200_status status = ecc200_encode(message.data(), message.size(), &options, &symbol, &d);
    CheckDiagnostic(status, d);
    Require((status == ECC200_OK) == (symbol != nullptr), "a symbol without success, or none with it");
    if (status == ECC200_MESSAGE_TOO_LONG) Require(d.codewords_needed > d.capacity, "too long within the capacity");
    if (symbol == nullptr) return 0;
    CheckSymbol(symbol);
    while (in.remaining_bytes() > 0 && in.ConsumeIntegralInRange(0, 3) != 0) RenderThreeWays(in, symbol);
    ecc200_symbol_free(symbol);
    return 0;
}
