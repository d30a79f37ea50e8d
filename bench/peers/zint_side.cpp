// zint's Data Matrix encoder with its fastest settings (FAST_MODE, from zint
// 2.11: the look-ahead encodation instead of the shortest one), square sizes
// only.
#include <zint.h>

#include <cstring>
#include <new>

#include "contenders.h"

namespace peers {

ZintCoder::ZintCoder() : symbol_(ZBarcode_Create()) {
    if (symbol_ == nullptr) throw std::bad_alloc();
    symbol_->symbology = BARCODE_DATAMATRIX;
    symbol_->option_3 = DM_SQUARE;
#ifdef FAST_MODE
    symbol_->input_mode = DATA_MODE | FAST_MODE;
#else
    symbol_->input_mode = DATA_MODE;  // zint before 2.11 has only its look-ahead encodation
#endif
}

ZintCoder::~ZintCoder() { ZBarcode_Delete(symbol_); }

bool ZintCoder::EncodeMessage(std::string_view message) {
    // ZBarcode_Clear drops the previous symbol's matrix and pictures, keeping
    // the options.
    ZBarcode_Clear(symbol_);
    const int result = ZBarcode_Encode(symbol_, reinterpret_cast<const unsigned char*>(message.data()),
                                       static_cast<int>(message.size()));
    return result < ZINT_ERROR;
}

bool ZintCoder::Encode(std::string_view message, int sizeIndex, unsigned& checksum) {
    symbol_->option_2 = sizeIndex + 1;  // 1 to 24: the square sizes in ascending order
    if (!EncodeMessage(message)) return false;
    checksum += symbol_->encoded_data[0][0] & 1u;
    return true;
}

// zint keeps row r's module c in bit (c % 8) of encoded_data[r][c / 8].
ModuleGrid ZintCoder::Matrix() const {
    if (symbol_->rows != symbol_->width) return ModuleGrid{};
    ModuleGrid grid(symbol_->rows);
    for (int row = 0; row < grid.side; ++row) {
        for (int col = 0; col < grid.side; ++col) {
            grid.set(row, col, ((symbol_->encoded_data[row][col >> 3] >> (col & 7)) & 1) != 0);
        }
    }
    return grid;
}

// zint's raster draws a module as 2 x scale pixels and its whitespace in
// whole modules, so the picture is the nearest zint can make to ours.
void ZintCoder::UsePicture(const Picture& picture) {
    pictureMessage_ = picture.message;
    symbol_->option_2 = picture.zintSize;
    symbol_->scale = static_cast<float>(picture.modulePixels) / 2.0f;
    const int symbolPixels = picture.symbolSide * picture.modulePixels;
    symbol_->whitespace_width = (picture.width - symbolPixels + picture.modulePixels) / (2 * picture.modulePixels);
    symbol_->whitespace_height = (picture.height - symbolPixels + picture.modulePixels) / (2 * picture.modulePixels);
}

bool ZintCoder::Save(const std::string& path) {
    if (path.size() >= sizeof symbol_->outfile) return false;
    std::memcpy(symbol_->outfile, path.c_str(), path.size() + 1);
    if (!EncodeMessage(pictureMessage_)) return false;
    return ZBarcode_Print(symbol_, 0) < ZINT_ERROR;
}

}  // namespace peers
