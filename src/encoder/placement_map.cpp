#include "encoder/placement_map.h"

#include <array>
#include <atomic>
#include <cassert>
#include <memory>
#include <mutex>

#include "encoder/placement.h"
#include "encoder/symbol_assembly.h"

namespace ecc200 {
namespace {

// The source of a module whose symbol value is `value` before any codeword
// is copied in: the finder pattern's value, or the mapping cell's fixed one.
ModuleSource FixedSource(std::int16_t value) { return {0, 0, static_cast<std::uint8_t>(value)}; }

ModuleSource BitSource(std::int16_t cell) {
    return {static_cast<std::uint16_t>(CodewordOf(cell) - 1), static_cast<std::uint8_t>(BitMask(BitOf(cell))), 0};
}

}  // namespace

PlacementMap BuildPlacementMap(const SymbolAttributes& attributes) {
    // The definition steps, on matrices of their own; the frame values come
    // from DrawFinderPatterns itself.
    const auto frame = std::make_unique<SymbolMatrix>();
    const auto mapping = std::make_unique<MappingMatrix>();
    DrawFinderPatterns(attributes, *frame);
    PlaceModules(attributes.mappingRows, attributes.mappingColumns, *mapping);

    PlacementMap map;
    map.side = attributes.symbolRows;
    map.modules.resize(static_cast<std::size_t>(map.side * map.side));
    for (int row = 0; row < map.side; ++row) {
        for (int col = 0; col < map.side; ++col) {
            map.modules[static_cast<std::size_t>(row * map.side + col)] = FixedSource(frame->at(row, col));
        }
    }
    // The same positions as CopyMappingToSymbol: past the top clock track
    // and two frame modules per region boundary.
    for (int mr = 0; mr < attributes.mappingRows; ++mr) {
        const int row = mr + 1 + 2 * (mr / attributes.regionRows);
        for (int mc = 0; mc < attributes.mappingColumns; ++mc) {
            const int col = mc + 1 + 2 * (mc / attributes.regionColumns);
            const std::int16_t cell = mapping->at(mr, mc);
            map.modules[static_cast<std::size_t>(row * map.side + col)] = IsBitRef(cell) ? BitSource(cell) : FixedSource(cell);
        }
    }
    return map;
}

const PlacementMap& PlacementMapFor(const SymbolAttributes& attributes) {
    // A size's map is published once it is complete; after that a call
    // costs one atomic load. The first callers of a size build it under the
    // lock, one at a time.
    static std::array<std::atomic<const PlacementMap*>, kSymbolSizeCount> published{};
    static std::array<PlacementMap, kSymbolSizeCount> maps;
    static std::mutex building;
    std::size_t i = 0;
    while (i + 1 < kSquareSymbolTable.size() && kSquareSymbolTable[i].symbolRows != attributes.symbolRows) ++i;
    assert(kSquareSymbolTable[i] == attributes && "not a square size of the table");
    if (const PlacementMap* map = published[i].load(std::memory_order_acquire)) return *map;
    const std::lock_guard<std::mutex> lock(building);
    if (published[i].load(std::memory_order_relaxed) == nullptr) {
        maps[i] = BuildPlacementMap(kSquareSymbolTable[i]);
        published[i].store(&maps[i], std::memory_order_release);
    }
    return maps[i];
}

void FillSymbolFromMap(const PlacementMap& map, const CodewordStream& stream, SymbolMatrix& symbol) {
    symbol.resize(map.side);
    const ModuleSource* source = map.modules.data();
    for (int row = 0; row < map.side; ++row) {
        for (int col = 0; col < map.side; ++col, ++source) {
            symbol.set(row, col, static_cast<std::int16_t>((stream.codewords[source->codeword] & source->mask) | source->fixed));
        }
    }
}

}  // namespace ecc200
