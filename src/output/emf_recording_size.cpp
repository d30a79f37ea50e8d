#include "output/emf_recording_size.h"

#include "platform/emf_records.h"
#include "render/picture_geometry.h"

namespace ecc200 {
namespace {

namespace emf = platform::emf;

// Record sizes in bytes, [MS-EMF] 2.3.
constexpr std::uint64_t kSetMapModeBytes = 12;   // EMR_SETMAPMODE
constexpr std::uint64_t kPointRecordBytes = 16;  // EMR_SETWINDOWEXTEX, _ORGEX, EMR_MOVETOEX, EMR_LINETO
constexpr std::uint64_t kCreateBrushBytes = 24;  // EMR_CREATEBRUSHINDIRECT
constexpr std::uint64_t kSelectBytes = emf::kSelectObjectBytes;  // EMR_SELECTOBJECT, EMR_DELETEOBJECT

// A FillRect: its brush selected, the blit, the stock brush selected back.
constexpr RecordingSize kFill{kSelectBytes + emf::kBitBltBytes + kSelectBytes, 3};
// A brush's first use and its deletion.
constexpr RecordingSize kBrushLife{kCreateBrushBytes + kSelectBytes, 2};
// One line of the frame: EMR_MOVETOEX and EMR_LINETO.
constexpr RecordingSize kLine{2 * kPointRecordBytes, 2};

}  // namespace

RecordingSize EnhMetafileRecordingSize(const PictureGeometry& picture, std::uint64_t darkModules) {
    RecordingSize size{emf::kHeaderBytes + kSetMapModeBytes + 2 * kPointRecordBytes + emf::kEofBytes, 5};
    const auto add = [&size](const RecordingSize& part, std::uint64_t times) {
        size.bytes += part.bytes * times;
        size.records += part.records * times;
    };
    add(kBrushLife, 1);  // the background brush
    add(kFill, 1 + darkModules);
    if (darkModules > 0) add(kBrushLife, 1);  // the bar brush
    add(kLine, picture.FrameLineCount());
    return size;
}

}  // namespace ecc200
