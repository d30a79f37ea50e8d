// ecc200.hpp: the C++ interface to ecc200, header-only on the ecc200_*
// functions of ecc200.h (C++17; docs/cpp.md describes every type and call).
//
//     const ecc200::Symbol symbol = ecc200::encode("Hello");
//     std::vector<std::uint8_t> png = ecc200::render(symbol, {}, ecc200::Format::png);
//     ecc200::save(symbol, {}, "label.svg");                       // the format from the extension
//     ecc200::save(symbol, {}, "label.dat", ecc200::Format::bmp);  // or named
//
// A Symbol is an immutable value (copies share it); a Picture says how to
// draw one. Every call is independent of every other: any number of threads
// may encode and render at once.
//
// Errors: the throwing calls throw ecc200::Error (a std::system_error whose
// code is in ecc200::category()) or std::bad_alloc. Each has two overloads
// that never throw, as <filesystem> does: one taking a std::error_code& last
// (the status only), one taking an ecc200::Diagnostic& last (the status with
// the exception's words and numbers).
#ifndef ECC200_HPP
#define ECC200_HPP

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <vector>

#include "ecc200.h"

namespace ecc200 {

// The library's statuses (ecc200.h documents each).
enum class Status : int {
    ok = ECC200_OK,
    invalid_argument = ECC200_INVALID_ARGUMENT,
    message_too_long = ECC200_MESSAGE_TOO_LONG,
    picture_too_large = ECC200_PICTURE_TOO_LARGE,
    out_of_memory = ECC200_OUT_OF_MEMORY,
    file_error = ECC200_FILE_ERROR,
    unsupported = ECC200_UNSUPPORTED,
    symbol_cropped = ECC200_SYMBOL_CROPPED,
    buffer_too_small = ECC200_BUFFER_TOO_SMALL,
    write_refused = ECC200_WRITE_REFUSED,
    invalid_data = ECC200_INVALID_DATA,
};

namespace detail {
class StatusCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "ecc200"; }
    std::string message(int status) const override { return ecc200_status_text(status); }
};
}  // namespace detail

// The category of every ecc200 error code.
inline const std::error_category& category() noexcept {
    static const detail::StatusCategory instance;
    return instance;
}

inline std::error_code make_error_code(Status status) noexcept {
    return {static_cast<int>(status), category()};
}

}  // namespace ecc200

namespace std {
template <>
struct is_error_code_enum<ecc200::Status> : true_type {};
}  // namespace std

namespace ecc200 {

// What went wrong, as the overloads taking one report it; they never throw.
// On success code is empty, message empty and the numbers 0.
struct Diagnostic {
    std::error_code code;      // the status, in ecc200::category()
    std::string message;       // the words ecc200::Error's what() would give
    int system_error = 0;      // Status::file_error: the system's errno; else 0
    int codewords_needed = 0;  // Status::message_too_long: the data codewords the message needs
    int capacity = 0;          // and those the largest allowed symbol holds
    int needed_width = 0;      // Status::symbol_cropped: the picture, in pixels, that holds
    int needed_height = 0;     // the symbol with its quiet zone
};

// What the throwing calls throw: the status as code(), the library's one-line
// explanation in what(), and the numbers of the Diagnostic.
class Error : public std::system_error {
public:
    Error(Status status, const std::string& explanation, int systemError = 0)
        : std::system_error(make_error_code(status), explanation), systemError_(systemError) {}
    explicit Error(const Diagnostic& diagnostic)
        : std::system_error(diagnostic.code, diagnostic.message),
          systemError_(diagnostic.system_error),
          codewordsNeeded_(diagnostic.codewords_needed),
          capacity_(diagnostic.capacity),
          neededWidth_(diagnostic.needed_width),
          neededHeight_(diagnostic.needed_height) {}
    // errno behind Status::file_error; else 0.
    int system_error() const noexcept { return systemError_; }
    // Status::message_too_long: the data codewords needed and the largest
    // allowed symbol's; else 0.
    int codewords_needed() const noexcept { return codewordsNeeded_; }
    int capacity() const noexcept { return capacity_; }
    // Status::symbol_cropped: the picture, in pixels, that holds the symbol
    // with its quiet zone; else 0.
    int needed_width() const noexcept { return neededWidth_; }
    int needed_height() const noexcept { return neededHeight_; }

private:
    int systemError_;
    int codewordsNeeded_ = 0;
    int capacity_ = 0;
    int neededWidth_ = 0;
    int neededHeight_ = 0;
};

// ISO/IEC 16022 5.2: the encodation schemes; automatic takes the fewest
// codewords.
enum class Encodation { automatic, ascii, c40, text, x12, edifact, base256 };
enum class Shape { square, rectangle, any };

// Structured append (ISO/IEC 16022 5.6): this symbol's place in a set of
// `count` (2 to 16) sharing `file_id` (1 to 64516); count 0 means none.
struct StructuredAppend {
    int index = 0;
    int count = 0;
    int file_id = 0;
};

struct EncodeOptions {
    Encodation encodation = Encodation::automatic;
    Shape shape = Shape::square;
    bool dmre = false;    // also the ISO/IEC 21471 rectangles
    int rows = 0;         // 0 and 0: the smallest admitted size that holds the data
    int columns = 0;
    bool gs1 = false;     // the bytes are a GS1 element string in bracket form
    int eci = 0;          // 0: none
    bool reader_init = false;
    StructuredAppend structured_append{};
    bool iso144 = false;  // 144 x 144 in the ISO interleaving order
};

// One part of a message with its own ECI (0: none).
struct Segment {
    std::string_view bytes;
    int eci = 0;
};

enum class Border { none, dashed, solid };

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

// How to draw a symbol. width and height 0: the symbol plus quiet_zone
// modules on every side. module_px (whole pixels) wins over module_cm when
// not 0; dpi 0 is the screen's resolution.
struct Picture {
    int width = 0;
    int height = 0;
    int quiet_zone = 2;
    double module_cm = 0.2;
    int module_px = 0;
    int dpi = 0;
    int quarter_turns = 0;  // counter-clockwise
    Border border = Border::none;
    Rgb bar{0, 0, 0};
    Rgb background{255, 255, 255};
    bool allow_crop = false;  // false: a size that cuts the symbol is refused
    bool seamless = false;    // WMF and EMF: the dark modules as one filled shape
    bool zpl_z64 = false;     // ZPL: the graphic field compressed (Z64) rather than ASCII hex
    bool zpl_field_only = false;  // ZPL: the graphic field alone, without ^XA/^XZ
    bool hri = false;         // SVG, PDF, EPS: the human-readable text under the symbol
};

enum class Format { bmp = ECC200_FORMAT_BMP, wmf = ECC200_FORMAT_WMF, emf = ECC200_FORMAT_EMF,
                    png = ECC200_FORMAT_PNG, svg = ECC200_FORMAT_SVG, zpl = ECC200_FORMAT_ZPL,
                    pdf = ECC200_FORMAT_PDF, eps = ECC200_FORMAT_EPS };

// An encoded symbol: rows() x columns() modules, row 0 at the top.
class Symbol {
public:
    Symbol() = default;  // no symbol: 0 x 0

    int rows() const noexcept { return rows_; }
    int columns() const noexcept { return columns_; }
    // Whether module (row, col) is dark; false outside the symbol.
    bool dark(int row, int col) const noexcept {
        if (row < 0 || col < 0 || row >= rows_ || col >= columns_) return false;
        return modules_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                        static_cast<std::size_t>(col)] != 0;
    }
    // The final codeword stream: data, padding and error correction.
    std::vector<std::uint8_t> codewords() const { return Copy(&ecc200_symbol_codewords); }
    // The data codewords before padding.
    std::vector<std::uint8_t> data_codewords() const { return Copy(&ecc200_symbol_data_codewords); }

    // The C interface's symbol, for calls this header does not wrap.
    const ecc200_symbol* handle() const noexcept { return handle_.get(); }

    // Takes ownership of a symbol from ecc200_encode.
    static Symbol Adopt(ecc200_symbol* symbol) {
        Symbol result;
        result.handle_.reset(symbol, &ecc200_symbol_free);
        result.rows_ = ecc200_symbol_rows(symbol);
        result.columns_ = ecc200_symbol_columns(symbol);
        result.modules_ = ecc200_symbol_modules(symbol);
        return result;
    }

private:
    using CodewordGetter = const std::uint8_t*(ECC200_CALL*)(const ecc200_symbol*, std::size_t*);
    std::vector<std::uint8_t> Copy(CodewordGetter getter) const {
        if (!handle_) return {};
        std::size_t count = 0;
        const std::uint8_t* bytes = getter(handle_.get(), &count);
        return std::vector<std::uint8_t>(bytes, bytes + count);
    }

    std::shared_ptr<ecc200_symbol> handle_;
    int rows_ = 0;
    int columns_ = 0;
    const std::uint8_t* modules_ = nullptr;
};

namespace detail {

inline ecc200_encode_options ToC(const EncodeOptions& options) noexcept {
    ecc200_encode_options c;
    ecc200_encode_options_init(&c);
    c.encodation = static_cast<std::int32_t>(options.encodation);
    c.shape = static_cast<std::int32_t>(options.shape);
    c.dmre = options.dmre ? 1 : 0;
    c.rows = options.rows;
    c.columns = options.columns;
    c.gs1 = options.gs1 ? 1 : 0;
    c.eci = options.eci;
    c.reader_init = options.reader_init ? 1 : 0;
    c.append_index = options.structured_append.index;
    c.append_count = options.structured_append.count;
    c.file_id = options.structured_append.file_id;
    c.iso144 = options.iso144 ? 1 : 0;
    return c;
}

inline std::uint32_t ToC(Rgb colour) noexcept {
    return (std::uint32_t{colour.r} << 16) | (std::uint32_t{colour.g} << 8) | std::uint32_t{colour.b};
}

inline ecc200_picture ToC(const Picture& picture) noexcept {
    ecc200_picture c;
    ecc200_picture_init(&c);
    c.width = picture.width;
    c.height = picture.height;
    c.quiet_zone = picture.quiet_zone;
    c.module_cm = picture.module_cm;
    c.module_px = picture.module_px;
    c.dpi = picture.dpi;
    c.quarter_turns = picture.quarter_turns;
    c.border = static_cast<std::int32_t>(picture.border);
    c.bar = ToC(picture.bar);
    c.background = ToC(picture.background);
    c.allow_crop = picture.allow_crop ? 1 : 0;
    c.seamless = picture.seamless ? 1 : 0;
    c.zpl_z64 = picture.zpl_z64 ? 1 : 0;
    c.zpl_field_only = picture.zpl_field_only ? 1 : 0;
    c.hri = picture.hri ? 1 : 0;
    return c;
}

inline ecc200_diagnostic EmptyDiagnostic() noexcept {
    ecc200_diagnostic diagnostic{};
    diagnostic.struct_size = sizeof diagnostic;
    return diagnostic;
}

inline std::error_code CodeOf(ecc200_status status) noexcept {
    return status == ECC200_OK ? std::error_code() : make_error_code(static_cast<Status>(status));
}

// The one translation of a status and the C interface's diagnostic into
// this interface's terms; every overload reports through it.
inline void Describe(ecc200_status status, const ecc200_diagnostic& c, Diagnostic& out) noexcept {
    const bool failed = status != ECC200_OK;
    out.code = CodeOf(status);
    out.system_error = failed ? c.system_error : 0;
    out.codewords_needed = failed ? c.codewords_needed : 0;
    out.capacity = failed ? c.capacity : 0;
    out.needed_width = failed ? c.needed_width : 0;
    out.needed_height = failed ? c.needed_height : 0;
    try {
        out.message = !failed ? "" : c.message[0] != '\0' ? c.message : ecc200_status_text(status);
    } catch (...) {
        out.message.clear();  // no memory for the words; the code still says what failed
    }
}

// A call of the C interface, made by the three overloads of each operation:
// it fills the C diagnostic and returns the status, and never throws.
template <typename Call>
void Throwing(Call call) {
    ecc200_diagnostic c = EmptyDiagnostic();
    const ecc200_status status = call(c);
    if (status == ECC200_OK) return;
    if (status == ECC200_OUT_OF_MEMORY) throw std::bad_alloc();
    Diagnostic diagnostic;
    Describe(status, c, diagnostic);
    throw Error(diagnostic);
}

template <typename Call>
void Coded(Call call, std::error_code& ec) noexcept {
    ecc200_diagnostic c = EmptyDiagnostic();
    ec = CodeOf(call(c));
}

template <typename Call>
void Diagnosed(Call call, Diagnostic& diagnostic) noexcept {
    ecc200_diagnostic c = EmptyDiagnostic();
    const ecc200_status status = call(c);
    Describe(status, c, diagnostic);
}

// The ecc200_write_fn that appends to a std::vector: its capacity is reused,
// and a failed allocation stops the rendering instead of escaping into C.
struct VectorSink {
    std::vector<std::uint8_t>* out;
    bool outOfMemory = false;

    static std::int32_t ECC200_CALL Write(void* context, const std::uint8_t* bytes, std::size_t size) noexcept {
        VectorSink& sink = *static_cast<VectorSink*>(context);
        try {
            sink.out->insert(sink.out->end(), bytes, bytes + size);
            return 1;
        } catch (...) {
            sink.outOfMemory = true;
            return 0;
        }
    }
};

inline ecc200_status RenderInto(const Symbol& symbol, const Picture& picture, Format format,
                                std::vector<std::uint8_t>& out, ecc200_diagnostic& diagnostic) noexcept {
    out.clear();
    const ecc200_picture c = ToC(picture);
    VectorSink sink{&out};
    ecc200_status status = ecc200_render_to(symbol.handle(), &c, static_cast<ecc200_format>(format),
                                            &VectorSink::Write, &sink, &diagnostic);
    if (sink.outOfMemory) status = ECC200_OUT_OF_MEMORY;
    if (status != ECC200_OK) out.clear();
    return status;
}

inline ecc200_status EncodeInto(const ecc200_segment* segments, std::size_t count, const EncodeOptions& options,
                                Symbol& symbol, ecc200_diagnostic& diagnostic) noexcept {
    const ecc200_encode_options c = ToC(options);
    ecc200_symbol* handle = nullptr;
    const ecc200_status status = ecc200_encode_segments(segments, count, &c, &handle, &diagnostic);
    if (status != ECC200_OK) return status;
    try {
        symbol = Symbol::Adopt(handle);  // the shared owner's control block may not be had
    } catch (...) {
        ecc200_symbol_free(handle);
        return ECC200_OUT_OF_MEMORY;
    }
    return ECC200_OK;
}

inline ecc200_segment ToC(std::string_view bytes, int eci) noexcept {
    return ecc200_segment{bytes.data(), bytes.size(), eci};
}

inline ecc200_status EncodeSegmentsInto(const std::vector<Segment>& segments, const EncodeOptions& options,
                                        Symbol& symbol, ecc200_diagnostic& diagnostic) noexcept {
    std::vector<ecc200_segment> c;
    try {
        c.reserve(segments.size());
    } catch (...) {
        return ECC200_OUT_OF_MEMORY;
    }
    for (const Segment& segment : segments) c.push_back(ToC(segment.bytes, segment.eci));
    return EncodeInto(c.data(), c.size(), options, symbol, diagnostic);
}

}  // namespace detail

// Encodes the bytes as they are (zero bytes included) into a symbol.
inline Symbol encode(std::string_view bytes, const EncodeOptions& options = {}) {
    Symbol symbol;
    const ecc200_segment segment = detail::ToC(bytes, options.eci);
    detail::Throwing([&](ecc200_diagnostic& d) { return detail::EncodeInto(&segment, 1, options, symbol, d); });
    return symbol;
}

inline Symbol encode(std::string_view bytes, const EncodeOptions& options, std::error_code& ec) noexcept {
    Symbol symbol;
    const ecc200_segment segment = detail::ToC(bytes, options.eci);
    detail::Coded([&](ecc200_diagnostic& d) { return detail::EncodeInto(&segment, 1, options, symbol, d); }, ec);
    return symbol;
}

inline Symbol encode(std::string_view bytes, const EncodeOptions& options, Diagnostic& diagnostic) noexcept {
    Symbol symbol;
    const ecc200_segment segment = detail::ToC(bytes, options.eci);
    detail::Diagnosed([&](ecc200_diagnostic& d) { return detail::EncodeInto(&segment, 1, options, symbol, d); },
                      diagnostic);
    return symbol;
}

// A message in parts with their own ECIs (options.eci is not used).
inline Symbol encode_segments(const std::vector<Segment>& segments, const EncodeOptions& options = {}) {
    Symbol symbol;
    detail::Throwing([&](ecc200_diagnostic& d) { return detail::EncodeSegmentsInto(segments, options, symbol, d); });
    return symbol;
}

inline Symbol encode_segments(const std::vector<Segment>& segments, const EncodeOptions& options,
                              std::error_code& ec) noexcept {
    Symbol symbol;
    detail::Coded([&](ecc200_diagnostic& d) { return detail::EncodeSegmentsInto(segments, options, symbol, d); },
                  ec);
    return symbol;
}

inline Symbol encode_segments(const std::vector<Segment>& segments, const EncodeOptions& options,
                              Diagnostic& diagnostic) noexcept {
    Symbol symbol;
    detail::Diagnosed(
        [&](ecc200_diagnostic& d) { return detail::EncodeSegmentsInto(segments, options, symbol, d); }, diagnostic);
    return symbol;
}

// Overwrites `out` with the picture, reusing its capacity; on failure `out`
// is empty.
inline void render(const Symbol& symbol, const Picture& picture, Format format, std::vector<std::uint8_t>& out) {
    detail::Throwing([&](ecc200_diagnostic& d) { return detail::RenderInto(symbol, picture, format, out, d); });
}

inline void render(const Symbol& symbol, const Picture& picture, Format format, std::vector<std::uint8_t>& out,
                   std::error_code& ec) noexcept {
    detail::Coded([&](ecc200_diagnostic& d) { return detail::RenderInto(symbol, picture, format, out, d); }, ec);
}

inline void render(const Symbol& symbol, const Picture& picture, Format format, std::vector<std::uint8_t>& out,
                   Diagnostic& diagnostic) noexcept {
    detail::Diagnosed([&](ecc200_diagnostic& d) { return detail::RenderInto(symbol, picture, format, out, d); },
                      diagnostic);
}

// The picture in a new vector.
inline std::vector<std::uint8_t> render(const Symbol& symbol, const Picture& picture, Format format) {
    std::vector<std::uint8_t> out;
    render(symbol, picture, format, out);
    return out;
}

inline std::vector<std::uint8_t> render(const Symbol& symbol, const Picture& picture, Format format,
                                        std::error_code& ec) noexcept {
    std::vector<std::uint8_t> out;
    render(symbol, picture, format, out, ec);
    return out;
}

inline std::vector<std::uint8_t> render(const Symbol& symbol, const Picture& picture, Format format,
                                        Diagnostic& diagnostic) noexcept {
    std::vector<std::uint8_t> out;
    render(symbol, picture, format, out, diagnostic);
    return out;
}

namespace detail {
inline ecc200_status SaveFile(const Symbol& symbol, const Picture& picture, const std::filesystem::path& path,
                              Format format, ecc200_diagnostic& diagnostic) noexcept {
    try {
        const std::string name = path.string();
        const ecc200_picture c = ToC(picture);
        return ecc200_save(symbol.handle(), &c, static_cast<ecc200_format>(format), name.c_str(), &diagnostic);
    } catch (...) {
        // path.string() may not be had (memory, or a name with no ANSI form)
        return ECC200_INVALID_ARGUMENT;
    }
}

// The format a file name's extension names, in any case (as the tool and
// the Python package read it); false for any other extension.
inline bool FormatOfExtension(const std::filesystem::path& path, Format& format) noexcept {
    static constexpr struct {
        const char* extension;
        Format format;
    } kExtensions[] = {{".bmp", Format::bmp}, {".wmf", Format::wmf}, {".emf", Format::emf},
                       {".png", Format::png}, {".svg", Format::svg}, {".zpl", Format::zpl},
                       {".pdf", Format::pdf}, {".eps", Format::eps}};
    try {
        std::string extension = path.extension().string();
        for (char& c : extension) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        for (const auto& known : kExtensions) {
            if (extension == known.extension) {
                format = known.format;
                return true;
            }
        }
    } catch (...) {
        // an extension that cannot be had as a narrow string names no format
    }
    return false;
}

inline ecc200_status SaveByExtension(const Symbol& symbol, const Picture& picture, const std::filesystem::path& path,
                                     ecc200_diagnostic& diagnostic) noexcept {
    Format format{};
    if (FormatOfExtension(path, format)) return SaveFile(symbol, picture, path, format, diagnostic);
    std::snprintf(diagnostic.message, sizeof diagnostic.message,
                  "the extension names no format: end the file name in .bmp, .wmf, .emf, .png, .svg or .zpl, "
                  "or name the format");
    return ECC200_INVALID_ARGUMENT;  // nothing written
}
}  // namespace detail

// Saves the picture as ecc200_save does: replaced whole or not at all.
inline void save(const Symbol& symbol, const Picture& picture, const std::filesystem::path& path, Format format) {
    detail::Throwing([&](ecc200_diagnostic& d) { return detail::SaveFile(symbol, picture, path, format, d); });
}

inline void save(const Symbol& symbol, const Picture& picture, const std::filesystem::path& path, Format format,
                 std::error_code& ec) noexcept {
    detail::Coded([&](ecc200_diagnostic& d) { return detail::SaveFile(symbol, picture, path, format, d); }, ec);
}

inline void save(const Symbol& symbol, const Picture& picture, const std::filesystem::path& path, Format format,
                 Diagnostic& diagnostic) noexcept {
    detail::Diagnosed([&](ecc200_diagnostic& d) { return detail::SaveFile(symbol, picture, path, format, d); },
                      diagnostic);
}

// The same with the format from the file name's extension (.bmp, .wmf,
// .emf, .png, .svg, .zpl, in any case); another extension is
// Status::invalid_argument and nothing is written.
inline void save(const Symbol& symbol, const Picture& picture, const std::filesystem::path& path) {
    detail::Throwing([&](ecc200_diagnostic& d) { return detail::SaveByExtension(symbol, picture, path, d); });
}

inline void save(const Symbol& symbol, const Picture& picture, const std::filesystem::path& path,
                 std::error_code& ec) noexcept {
    detail::Coded([&](ecc200_diagnostic& d) { return detail::SaveByExtension(symbol, picture, path, d); }, ec);
}

inline void save(const Symbol& symbol, const Picture& picture, const std::filesystem::path& path,
                 Diagnostic& diagnostic) noexcept {
    detail::Diagnosed([&](ecc200_diagnostic& d) { return detail::SaveByExtension(symbol, picture, path, d); },
                      diagnostic);
}

// What a picture comes to for a symbol in a format, without drawing it.
struct Layout {
    int width = 0;              // pixels
    int height = 0;
    int module_px = 0;          // the module edge BMP, WMF, EMF and PNG draw
    int dpi = 0;                // the resolution used
    double svg_module_px = 0;   // the module edge an SVG draws
};

namespace detail {
inline ecc200_status LayOut(const Symbol& symbol, const Picture& picture, Format format, Layout& layout,
                            ecc200_diagnostic& diagnostic) noexcept {
    const ecc200_picture c = ToC(picture);
    ecc200_layout out{};
    out.struct_size = sizeof out;
    const ecc200_status status =
        ecc200_picture_layout(symbol.handle(), &c, static_cast<ecc200_format>(format), &out, &diagnostic);
    if (status == ECC200_OK) layout = Layout{out.width, out.height, out.module_px, out.dpi, out.svg_module_px};
    return status;
}

inline ecc200_status CopyToClipboard(const Symbol& symbol, const Picture& picture,
                                     ecc200_diagnostic& diagnostic) noexcept {
    const ecc200_picture c = ToC(picture);
    return ecc200_copy_to_clipboard(symbol.handle(), &c, &diagnostic);
}
}  // namespace detail

inline Layout layout(const Symbol& symbol, const Picture& picture, Format format) {
    Layout result;
    detail::Throwing([&](ecc200_diagnostic& d) { return detail::LayOut(symbol, picture, format, result, d); });
    return result;
}

inline Layout layout(const Symbol& symbol, const Picture& picture, Format format, std::error_code& ec) noexcept {
    Layout result;
    detail::Coded([&](ecc200_diagnostic& d) { return detail::LayOut(symbol, picture, format, result, d); }, ec);
    return result;
}

inline Layout layout(const Symbol& symbol, const Picture& picture, Format format, Diagnostic& diagnostic) noexcept {
    Layout result;
    detail::Diagnosed([&](ecc200_diagnostic& d) { return detail::LayOut(symbol, picture, format, result, d); },
                      diagnostic);
    return result;
}

// Puts the picture on the clipboard as an enhanced metafile.
inline void copy_to_clipboard(const Symbol& symbol, const Picture& picture) {
    detail::Throwing([&](ecc200_diagnostic& d) { return detail::CopyToClipboard(symbol, picture, d); });
}

inline void copy_to_clipboard(const Symbol& symbol, const Picture& picture, std::error_code& ec) noexcept {
    detail::Coded([&](ecc200_diagnostic& d) { return detail::CopyToClipboard(symbol, picture, d); }, ec);
}

inline void copy_to_clipboard(const Symbol& symbol, const Picture& picture, Diagnostic& diagnostic) noexcept {
    detail::Diagnosed([&](ecc200_diagnostic& d) { return detail::CopyToClipboard(symbol, picture, d); }, diagnostic);
}

}  // namespace ecc200

#endif  // ECC200_HPP
