#include "encoder/placement_map.h"

#include <array>
#include <atomic>
#include <cassert>
#include <memory>
#include <mutex>
#include <utility>

#include "encoder/placement.h"
#include "encoder/symbol_assembly.h"

namespace ecc200 {
namespace {

// Frames every data region of the size, row of regions by row (5.8.1).
void DrawFrames(const SymbolSize& size, SymbolMatrix& frame) {
    frame.resizeForOverwrite(size.rows, size.cols);
    const int height = size.regionRows + 2;
    const int width = size.regionCols + 2;
    for (int down = 0; down < size.regionsDown; ++down) {
        for (int across = 0; across < size.regionsAcross; ++across) DrawRegionFrame(frame, down * height, across * width, height, width);
    }
}

}  // namespace

PlacementMap BuildPlacementMap(const SymbolSize& size) {
    // The definition steps, on matrices of their own; the frame values come
    // from DrawRegionFrame itself. The frame is not zeroed: every module
    // read from it below is written first, by DrawFrames or as a mapping
    // cell that holds no bit.
    const auto frame = std::make_unique<SymbolMatrix>();
    const auto mapping = std::make_unique<MappingMatrix>();
    DrawFrames(size, *frame);
    PlaceModules(size.mappingRows(), size.mappingCols(), *mapping);

    PlacementMap map;
    map.rows = size.rows;
    map.cols = size.cols;
    map.codewords = size.dataCodewords + size.checkCodewords;
    map.bitModules.assign(static_cast<std::size_t>(8 * map.codewords), 0);
    // Which modules hold a codeword bit: past the top clock track and two
    // frame modules per region boundary.
    std::vector<bool> holdsBit(std::size_t{kMaxSymbolSide} * kMaxSymbolSide, false);
    for (int mr = 0; mr < size.mappingRows(); ++mr) {
        const int row = mr + 1 + 2 * (mr / size.regionRows);
        for (int mc = 0; mc < size.mappingCols(); ++mc) {
            const int col = mc + 1 + 2 * (mc / size.regionCols);
            const std::int16_t cell = mapping->at(mr, mc);
            if (!IsBitRef(cell)) {
                frame->set(row, col, cell);  // the fixed corner's value, or 0
                continue;
            }
            const std::uint16_t offset = frame->Offset(row, col);
            map.bitModules[static_cast<std::size_t>(8 * (CodewordOf(cell) - 1) + BitOf(cell) - 1)] = offset;
            holdsBit[offset] = true;
        }
    }
    map.fixedImage.assign(static_cast<std::size_t>(map.rows) * static_cast<std::size_t>(map.cols), 0);
    for (int row = 0; row < map.rows; ++row) {
        for (int col = 0; col < map.cols; ++col) {
            const std::uint16_t offset = frame->Offset(row, col);
            if (!holdsBit[offset]) map.fixedImage[offset] = static_cast<std::uint8_t>(frame->at(row, col));
        }
    }
    return map;
}

const PlacementMap& PlacementMapFor(const SymbolSize& size) {
    // A size's map is published once it is complete; after that a call
    // costs one atomic load. The first callers of a size build it under the
    // lock, one at a time.
    static std::array<std::atomic<const PlacementMap*>, kSymbolSizeTotal> published{};
    static std::array<PlacementMap, kSymbolSizeTotal> maps;
    static std::mutex building;
    const auto i = static_cast<std::size_t>(&size - kSymbolSizes.data());
    assert(i < kSymbolSizes.size() && "not a size of kSymbolSizes");
    if (const PlacementMap* map = published[i].load(std::memory_order_acquire)) return *map;
    const std::lock_guard<std::mutex> lock(building);
    if (published[i].load(std::memory_order_relaxed) == nullptr) {
        maps[i] = BuildPlacementMap(kSymbolSizes[i]);
        published[i].store(&maps[i], std::memory_order_release);
    }
    return maps[i];
}

namespace {

// The eight modules of one codeword, bit 1 (mask 0x80) first: each gets the
// codeword masked by its bit. Spelt out as eight writes with constant masks,
// as this is most of the work of building a symbol.
template <std::size_t... kBits>
void PlaceCodeword(int codeword, const std::uint16_t* modules, std::uint8_t* cells, std::index_sequence<kBits...>) {
    ((cells[modules[kBits]] = static_cast<std::uint8_t>(codeword & (0x80 >> kBits))), ...);
}

}  // namespace

void FillSymbolFromMap(const PlacementMap& map, const std::uint8_t* codewords, SymbolMatrix& symbol) {
    symbol.resizeForOverwrite(map.rows, map.cols);
    symbol.setCells(map.fixedImage.data());
    // In locals: the byte stores may alias anything the compiler would
    // otherwise read again after each of them.
    std::uint8_t* cells = symbol.cellsForOverwrite();
    const std::uint16_t* bits = map.bitModules.data();
    const int count = map.codewords;
    for (int k = 0; k < count; ++k, bits += 8) PlaceCodeword(codewords[k], bits, cells, std::make_index_sequence<8>{});
}

}  // namespace ecc200
