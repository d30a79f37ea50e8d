// libdmtx's encoder restricted to ASCII encodation and the requested square
// size (DmtxSymbol10x10 ... DmtxSymbol144x144 are 0 ... 23).
#include <dmtx.h>

#include <vector>

#include "contenders.h"

namespace peers {
namespace {

// Encodes into a fresh encoder, which the caller destroys; null on failure.
DmtxEncode* EncodeSquare(std::string_view message, int sizeIndex) {
    DmtxEncode* encoder = dmtxEncodeCreate();
    if (encoder == nullptr) return nullptr;
    dmtxEncodeSetProp(encoder, DmtxPropScheme, DmtxSchemeAscii);
    dmtxEncodeSetProp(encoder, DmtxPropSizeRequest, DmtxSymbol10x10 + sizeIndex);
    // The smallest picture it can draw: one pixel per module, no margin.
    dmtxEncodeSetProp(encoder, DmtxPropModuleSize, 1);
    dmtxEncodeSetProp(encoder, DmtxPropMarginSize, 0);
    std::vector<unsigned char> bytes(message.begin(), message.end());
    if (dmtxEncodeDataMatrix(encoder, static_cast<int>(bytes.size()), bytes.data()) != DmtxPass) {
        dmtxEncodeDestroy(&encoder);
        return nullptr;
    }
    return encoder;
}

}  // namespace

bool LibdmtxEncode(std::string_view message, int sizeIndex, unsigned& checksum) {
    DmtxEncode* encoder = EncodeSquare(message, sizeIndex);
    if (encoder == nullptr) return false;
    checksum += static_cast<unsigned>(dmtxSymbolModuleStatus(encoder->message, sizeIndex, 0, 0) & DmtxModuleOnRGB);
    dmtxEncodeDestroy(&encoder);
    return true;
}

// libdmtx counts symbol rows from the bottom.
ModuleGrid LibdmtxMatrix(std::string_view message, int sizeIndex) {
    DmtxEncode* encoder = EncodeSquare(message, sizeIndex);
    if (encoder == nullptr) return ModuleGrid{};
    ModuleGrid grid(SquareSide(sizeIndex));
    for (int row = 0; row < grid.side; ++row) {
        for (int col = 0; col < grid.side; ++col) {
            const int status = dmtxSymbolModuleStatus(encoder->message, sizeIndex, grid.side - 1 - row, col);
            grid.set(row, col, (status & DmtxModuleOnRGB) != 0);
        }
    }
    dmtxEncodeDestroy(&encoder);
    return grid;
}

}  // namespace peers
