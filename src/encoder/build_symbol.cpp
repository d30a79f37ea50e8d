#include "encoder/build_symbol.h"

#include <optional>

#include "encoder/ascii_encodation.h"
#include "encoder/placement_map.h"

namespace ecc200 {

bool BuildSymbol(std::string_view message, EncoderWorkingState& state) {
    // Data codewords of the message (ASCII encodation).
    EncodeMessage(message, state.stream);
    state.messageCodewords = state.stream.count;
    // The smallest square size that holds them; none when it is too long.
    const std::optional<SymbolAttributes> size = SelectSymbolSize(state.messageCodewords);
    if (!size) return false;
    state.attributes = *size;
    // Pad codewords up to the size's data capacity.
    PadCodewordStream(state.attributes, state.messageCodewords, state.stream);
    // Check codewords per block, blocks interleaved back into the stream.
    AddErrorCorrection(state.attributes, state.stream, state.blocks);
    // Finder patterns, a module of the data area for every codeword bit and
    // the bits copied between the finder patterns: DrawFinderPatterns,
    // PlaceModules and CopyMappingToSymbol, precomputed per size as the
    // size's placement map.
    FillSymbolFromMap(PlacementMapFor(state.attributes), state.stream, state.symbol);
    return true;
}

}  // namespace ecc200
