// ecc200 as its exported functions run it.
#include <memory>
#include <string>
#include <utility>

#include "contenders.h"
#include "ecc200.h"
#include "encoder/build_symbol.h"
#include "platform/drawing_surface.h"
#include "render/layout.h"

namespace peers {

int SquareSide(int sizeIndex) { return ecc200::kSquareSymbolTable[static_cast<std::size_t>(sizeIndex)].symbolRows; }
int SquareDataCodewords(int sizeIndex) {
    return ecc200::kSquareSymbolTable[static_cast<std::size_t>(sizeIndex)].dataCodewords;
}

std::string LargestSymbolMessage() {
    std::string message;
    for (int i = 0; i < 1558; ++i) message.push_back("Aa1!"[i % 4]);
    return message;
}

Picture PictureWithModuleSize(std::string message, int width, int height, float moduleCentimetres, int zintSize) {
    const int side = ecc200_side::Matrix(message).side;
    const int modulePixels = ecc200::ModulePixels(ecc200::platform::GetScreenMetrics().logPixelsX, moduleCentimetres,
                                                  0, side, width > height ? width : height);
    return Picture{std::move(message), width, height, moduleCentimetres, modulePixels, side, zintSize};
}

// Halfway into the pixel count, so that the truncation to pixels lands on it.
Picture PictureWithModulePixels(std::string message, int width, int height, int modulePixels, int zintSize) {
    const double dotsPerInch = ecc200::platform::GetScreenMetrics().logPixelsX;
    const auto centimetres = static_cast<float>((modulePixels + 0.5) / dotsPerInch / ecc200::kInchesPerCentimetre);
    return PictureWithModuleSize(std::move(message), width, height, centimetres, zintSize);
}

namespace ecc200_side {

// The encoding half of RenderSymbol (src/driver/render_symbol.cpp): the
// working state as the driver gets it, then BuildSymbol. It follows the
// driver whenever the driver changes how it gets or reuses that state.
bool Encode(std::string_view message, unsigned& checksum) {
    const auto state = std::make_unique<ecc200::EncoderWorkingState>();
    if (!ecc200::BuildSymbol(message, *state)) return false;
    checksum += state->symbol.isDark(0, 0) ? 1u : 0u;
    return true;
}

ModuleGrid Matrix(std::string_view message) {
    const auto state = std::make_unique<ecc200::EncoderWorkingState>();
    if (!ecc200::BuildSymbol(message, *state)) return ModuleGrid{};
    ModuleGrid grid(state->symbol.side());
    for (int row = 0; row < grid.side; ++row) {
        for (int col = 0; col < grid.side; ++col) grid.set(row, col, state->symbol.isDark(row, col));
    }
    return grid;
}

void UsePicture(const Picture& picture) {
    DMSetDefault();
    DMSetMessage(picture.message.c_str());
    DMSetSize(picture.width, picture.height);
    DMSetInfo(picture.moduleCentimetres, 0, 0);
}

bool SaveBmp(const char* path) { return DMSaveAsBMP(path) == 1; }
bool CopyEmf() { return DMCopyToClipboard() == 1; }

}  // namespace ecc200_side
}  // namespace peers
