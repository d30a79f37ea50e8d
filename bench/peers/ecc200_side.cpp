// ecc200 as its exported functions run it.
#include <memory>
#include <string>
#include <utility>

#include "contenders.h"
#include "driver/render_symbol.h"
#include "ecc200.h"
#include "encoder/module_matrix.h"
#include "encoder/symbol_sizes.h"
#include "platform/drawing_surface.h"
#include "render/layout.h"

namespace peers {

// The square sizes open kSymbolSizes, smallest first.
int SquareSide(int sizeIndex) { return ecc200::kSymbolSizes[static_cast<std::size_t>(sizeIndex)].rows; }
int SquareDataCodewords(int sizeIndex) {
    return ecc200::kSymbolSizes[static_cast<std::size_t>(sizeIndex)].dataCodewords;
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

namespace {

// The encoding half of RenderSymbol (src/driver/render_symbol.cpp), as a DM
// call runs it: BuildJobSymbol. Calls use(symbol); false when no symbol was
// built.
template <typename Use>
bool WithCallSymbol(std::string_view message, Use&& use) {
    const ecc200::SymbolMatrix* symbol = ecc200::BuildJobSymbol(message);
    if (symbol == nullptr) return false;
    use(*symbol);
    return true;
}

}  // namespace

bool Encode(std::string_view message, unsigned& checksum) {
    return WithCallSymbol(message,
                          [&](const ecc200::SymbolMatrix& symbol) { checksum += symbol.isDark(0, 0) ? 1u : 0u; });
}

bool EncodePerCall(std::string_view message, unsigned& checksum) {
    ecc200_encode_options options;
    ecc200_encode_options_init(&options);
    options.encodation = ECC200_ENCODATION_ASCII;
    ecc200_symbol* symbol = nullptr;
    if (ecc200_encode(message.data(), message.size(), &options, &symbol, nullptr) != ECC200_OK) return false;
    checksum += ecc200_symbol_modules(symbol)[0];
    ecc200_symbol_free(symbol);
    return true;
}

// The check compares the very symbols that are timed.
ModuleGrid Matrix(std::string_view message) {
    ModuleGrid grid;
    WithCallSymbol(message, [&](const ecc200::SymbolMatrix& symbol) {
        grid = ModuleGrid(symbol.side());
        for (int row = 0; row < grid.side; ++row) {
            for (int col = 0; col < grid.side; ++col) grid.set(row, col, symbol.isDark(row, col));
        }
    });
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
