// The one writer of Windows metafile records ([MS-WMF]), for GDI's
// stand-in recorder (portable/wmf_recorder.cpp) and the seamless WMF alike:
// the record functions, each record's rdSize (in words) and rdFunction, the
// brush record, META_EOF and the METAHEADER with its totals.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/byte_writer.h"
#include "platform/drawing_surface.h"

namespace ecc200::platform {

namespace wmf {
// Record functions, [MS-WMF] 2.1.1.1 RecordType.
constexpr std::uint16_t kEof = 0x0000;
constexpr std::uint16_t kSetMapMode = 0x0103;
constexpr std::uint16_t kSelectObject = 0x012D;
constexpr std::uint16_t kDeleteObject = 0x01F0;
constexpr std::uint16_t kSetWindowOrg = 0x020B;
constexpr std::uint16_t kSetWindowExt = 0x020C;
constexpr std::uint16_t kLineTo = 0x0213;
constexpr std::uint16_t kMoveTo = 0x0214;
constexpr std::uint16_t kCreatePenIndirect = 0x02FA;
constexpr std::uint16_t kCreateBrushIndirect = 0x02FC;
constexpr std::uint16_t kPolygon = 0x0324;
constexpr std::uint16_t kPolyPolygon = 0x0538;
constexpr std::uint16_t kPatBlt = 0x061D;

constexpr std::uint16_t kHeaderWords = 9;  // mtHeaderSize: the 18-byte METAHEADER
}  // namespace wmf

// The low 16 bits of a coordinate, as the 16-bit record fields keep it.
inline std::uint16_t Low16(std::int32_t v) { return static_cast<std::uint16_t>(static_cast<std::uint32_t>(v)); }

class WmfRecords {
public:
    // The header's bytes are set aside first and written by Finish.
    WmfRecords() { out_.Extend(2 * std::size_t{wmf::kHeaderWords}); }

    // rdSize (filled in by End) and rdFunction.
    std::size_t Begin(std::uint16_t function) {
        const std::size_t start = out_.size();
        out_.u32le(0);
        out_.u16le(function);
        return start;
    }
    void End(std::size_t start) {
        const auto words = static_cast<std::uint32_t>((out_.size() - start) / 2);
        out_.PatchU32le(start, words);
        maxRecordWords_ = std::max(maxRecordWords_, words);
    }
    void Word(std::uint16_t v) { out_.u16le(v); }
    void Colour(ColourRef colour) { out_.u32le(colour); }  // COLORREF, low word first

    // A record of 16-bit parameters.
    void Record(std::uint16_t function, std::initializer_list<std::uint16_t> parameters) {
        const std::size_t start = Begin(function);
        for (const std::uint16_t p : parameters) out_.u16le(p);
        End(start);
    }
    // META_CREATEBRUSHINDIRECT, [MS-WMF] 2.3.4.1: a solid LogBrush.
    void CreateBrushIndirect(ColourRef colour);

    // META_EOF, then the METAHEADER ([MS-WMF] 2.3.2.2) over the bytes set
    // aside: the finished metafile, `objects` its mtNoObjects. Totals past
    // the header's 32-bit mtSize are the caller's to refuse.
    std::vector<std::uint8_t> Finish(std::uint16_t objects);

    void Reserve(std::size_t bytes) { out_.Reserve(bytes); }
    std::size_t size() const { return out_.size(); }
    std::size_t capacity() const { return out_.capacity(); }

private:
    ByteWriter out_;
    std::uint32_t maxRecordWords_ = 0;
};

}  // namespace ecc200::platform
