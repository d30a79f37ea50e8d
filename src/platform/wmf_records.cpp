#include "platform/wmf_records.h"

#include <cassert>

namespace ecc200::platform {
namespace {

constexpr std::uint16_t kSolidBrushStyle = 0;       // BS_SOLID

}  // namespace

void WmfRecords::CreateBrushIndirect(ColourRef colour) {
    const std::size_t start = Begin(metafile::kMetaCreateBrushIndirect);
    Word(kSolidBrushStyle);  // lbStyle
    Colour(colour);          // lbColor
    Word(0);                 // lbHatch
    End(start);
}

std::vector<std::uint8_t> WmfRecords::Finish(std::uint16_t objects) {
    Record(metafile::kMetaEof, {});
    ByteCursor header = out_.At(0);
    header.u16le(metafile::kMemoryMetafile);                              //  0 mtType
    header.u16le(metafile::kHeaderWords);                            //  2 mtHeaderSize
    header.u16le(metafile::kMetafileVersion);                             //  4 mtVersion
    header.u32le(static_cast<std::uint32_t>(out_.size() / 2));  //  6 mtSize, in words
    header.u16le(objects);                                      // 10 mtNoObjects
    header.u32le(maxRecordWords_);                              // 12 mtMaxRecord, in words
    header.u16le(0);                                            // 16 mtNoParameters
    assert(header.position() == out_.data() + 2 * std::size_t{metafile::kHeaderWords});
    return out_.Take();
}

}  // namespace ecc200::platform
