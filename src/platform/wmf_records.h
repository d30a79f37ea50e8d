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
#include "platform/metafile_records.h"

namespace ecc200::platform {

// The low 16 bits of a coordinate, as the 16-bit record fields keep it.
inline std::uint16_t Low16(std::int32_t v) { return static_cast<std::uint16_t>(static_cast<std::uint32_t>(v)); }

class WmfRecords {
public:
    // The header's bytes are set aside first and written by Finish.
    WmfRecords() { out_.Extend(2 * std::size_t{metafile::kHeaderWords}); }
    std::size_t size() const { return out_.size(); }
    void ReserveMore(std::size_t bytes) { out_.ReserveMore(bytes); }

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

private:
    ByteWriter out_;
    std::uint32_t maxRecordWords_ = 0;
};

}  // namespace ecc200::platform
