// What an enhanced metafile recording of a picture will take, worked out
// from the picture before anything is drawn, so that a recording the format
// cannot hold is refused at once instead of after seconds of drawing.
#pragma once

#include <cstdint>

namespace ecc200 {

struct PictureGeometry;

struct RecordingSize {
    std::uint64_t bytes;    // nBytes: every record, the header included
    std::uint64_t records;  // nRecords
};

// The records the EMF recording of `picture` with `darkModules` dark
// modules takes, as GDI writes them (only the picture's sides and frame are
// read): the header; EMR_SETMAPMODE, EMR_SETWINDOWEXTEX
// and EMR_SETWINDOWORGEX; the background blit with its brush; one blit per
// dark module; the frame's lines; the brushes' deletions; EMR_EOF. Only the
// dashed frame grows with the picture: 8 bytes per pixel of each side.
RecordingSize EnhMetafileRecordingSize(const PictureGeometry& picture, std::uint64_t darkModules);

}  // namespace ecc200
