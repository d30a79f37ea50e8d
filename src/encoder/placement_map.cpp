#include "encoder/placement_map.h"

#include <array>
#include <atomic>
#include <cassert>
#include <memory>
#include <mutex>

#include "encoder/placement.h"
#include "encoder/symbol_assembly.h"

namespace ecc200 {

PlacementMap BuildPlacementMap(const SymbolAttributes& attributes) {
    // The definition steps, on matrices of their own; the frame values come
    // from DrawFinderPatterns itself.
    const auto frame = std::make_unique<SymbolMatrix>();
    const auto mapping = std::make_unique<MappingMatrix>();
    DrawFinderPatterns(attributes, *frame);
    PlaceModules(attributes.mappingRows, attributes.mappingColumns, *mapping);

    PlacementMap map;
    map.side = attributes.symbolRows;
    map.codewords = attributes.dataCodewords + attributes.checkCodewords;
    map.bitModules.assign(static_cast<std::size_t>(8 * map.codewords), 0);
    // Which modules hold a codeword bit: the same positions as
    // CopyMappingToSymbol, past the top clock track and two frame modules
    // per region boundary.
    std::vector<bool> holdsBit(std::size_t{kMaxSymbolSide} * kMaxSymbolSide, false);
    for (int mr = 0; mr < attributes.mappingRows; ++mr) {
        const int row = mr + 1 + 2 * (mr / attributes.regionRows);
        for (int mc = 0; mc < attributes.mappingColumns; ++mc) {
            const int col = mc + 1 + 2 * (mc / attributes.regionColumns);
            const std::int16_t cell = mapping->at(mr, mc);
            if (!IsBitRef(cell)) {
                frame->set(row, col, cell);  // the fixed corner's value, or 0
                continue;
            }
            const std::uint16_t offset = SymbolMatrix::Offset(row, col);
            map.bitModules[static_cast<std::size_t>(8 * (CodewordOf(cell) - 1) + BitOf(cell) - 1)] = offset;
            holdsBit[offset] = true;
        }
    }
    for (int row = 0; row < map.side; ++row) {
        for (int col = 0; col < map.side; ++col) {
            const std::uint16_t offset = SymbolMatrix::Offset(row, col);
            if (!holdsBit[offset]) map.fixedModules.push_back({offset, frame->at(row, col)});
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
    for (const FixedModule& module : map.fixedModules) symbol.setAtOffset(module.offset, module.value);
    const std::uint16_t* bits = map.bitModules.data();
    for (int k = 0; k < map.codewords; ++k, bits += 8) {
        const int codeword = stream.codewords[static_cast<std::size_t>(k)];
        for (int b = 0; b < 8; ++b) symbol.setAtOffset(bits[b], static_cast<std::int16_t>(codeword & (0x80 >> b)));
    }
}

}  // namespace ecc200
