// What an enhanced metafile recording of a picture will take, worked out
// from the picture before anything is drawn, so that a recording the format
// cannot hold is refused at once instead of after seconds of drawing.
#pragma once

#include <cstdint>

namespace ecc200 {

enum class BorderStyle : std::int16_t;

struct RecordingSize {
    std::uint64_t bytes;    // nBytes: every record, the header included
    std::uint64_t records;  // nRecords
};

// The records RecordEnhMetafile writes for a width x height picture with
// the given frame and `darkModules` dark
// modules, as GDI writes them: the header; EMR_SETMAPMODE, EMR_SETWINDOWEXTEX
// and EMR_SETWINDOWORGEX; the background blit with its brush; one blit per
// dark module; the frame's lines; the brushes' deletions; EMR_EOF. Only the
// dashed frame grows with the picture: 8 bytes per pixel of each side.
RecordingSize EnhMetafileRecordingSize(std::int32_t width, std::int32_t height, BorderStyle border,
                                       std::uint64_t darkModules);

}  // namespace ecc200
