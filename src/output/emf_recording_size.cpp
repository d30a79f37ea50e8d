#include "output/emf_recording_size.h"

#include "render/draw_symbol.h"

namespace ecc200 {
namespace {

// Record sizes in bytes, [MS-EMF] 2.3.
constexpr std::uint64_t kHeaderBytes = 108;      // EMR_HEADER without description
constexpr std::uint64_t kSetMapModeBytes = 12;   // EMR_SETMAPMODE
constexpr std::uint64_t kPointRecordBytes = 16;  // EMR_SETWINDOWEXTEX, _ORGEX, EMR_MOVETOEX, EMR_LINETO
constexpr std::uint64_t kCreateBrushBytes = 24;  // EMR_CREATEBRUSHINDIRECT
constexpr std::uint64_t kSelectBytes = 12;       // EMR_SELECTOBJECT, EMR_DELETEOBJECT
constexpr std::uint64_t kBitBltBytes = 100;      // EMR_BITBLT without source bitmap
constexpr std::uint64_t kEofBytes = 20;          // EMR_EOF without palette

// A FillRect: its brush selected, the blit, the stock brush selected back.
constexpr RecordingSize kFill{kSelectBytes + kBitBltBytes + kSelectBytes, 3};
// A brush's first use and its deletion.
constexpr RecordingSize kBrushLife{kCreateBrushBytes + kSelectBytes, 2};
// One line of the frame: EMR_MOVETOEX and EMR_LINETO.
constexpr RecordingSize kLine{2 * kPointRecordBytes, 2};

// The dashed frame draws two lines at every other step of 4 pixels along
// the width, then along the height, its switch carrying over (see
// render/border.cpp).
std::uint64_t DashedFrameLines(std::int32_t width, std::int32_t height) {
    const std::uint64_t across = static_cast<std::uint64_t>(width / 4);
    const std::uint64_t down = static_cast<std::uint64_t>(height / 4);
    const bool downStartsOn = across % 2 == 0;
    const std::uint64_t steps = (across + 1) / 2 + (downStartsOn ? (down + 1) / 2 : down / 2);
    return 2 * steps;
}

}  // namespace

RecordingSize EnhMetafileRecordingSize(std::int32_t width, std::int32_t height, BorderStyle border,
                                       std::uint64_t darkModules) {
    RecordingSize size{kHeaderBytes + kSetMapModeBytes + 2 * kPointRecordBytes + kEofBytes, 5};
    const auto add = [&size](const RecordingSize& part, std::uint64_t times) {
        size.bytes += part.bytes * times;
        size.records += part.records * times;
    };
    add(kBrushLife, 1);  // the background brush
    add(kFill, 1 + darkModules);
    if (darkModules > 0) add(kBrushLife, 1);  // the bar brush
    // As DrawSymbol decides: any frame other than none or solid is dashed.
    if (border == BorderStyle::Solid) {
        add(kLine, 4);
    } else if (border != BorderStyle::None) {
        add(kLine, DashedFrameLines(width, height));
    }
    return size;
}

}  // namespace ecc200
