// write_client_pictures DIR: writes, for a few symbols, the default WMF and
// EMF (NAME-default.wmf/.emf, as the library saves them), the seamless ones
// (NAME-seamless.wmf/.emf) and the BMP (NAME-default.bmp) at 96 dpi, for
// scripts/check-clients.sh to open in other programs. Prints one line per
// symbol: its name, the symbol's side in modules, whether it has a frame (0
// none, 1 dashed, 2 solid), the picture's width and height, the module size
// in centimetres, the quarter turns and the message (the script draws the
// same picture as PNG and SVG with the tool from these).
#include <cstdint>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "driver/render_symbol.h"
#include "encoder/module_matrix.h"
#include "api/nine_adapter.h"
#include "output/seamless_emf.h"
#include "output/seamless_wmf.h"
#include "platform/portable/portable_screen.h"
#include "support/nine_settings.h"

namespace {

struct Sample {
    const char* name;
    const char* message;
    ecc200::DMSettings settings;  // the message aside
};

constexpr int kDpi = 96;

bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

bool WriteSample(const std::string& directory, const Sample& sample) {
    using namespace ecc200;
    const std::string stem = directory + "/" + sample.name;
    const DMSettings job = test::WithMessage(sample.settings, sample.message);
    std::int32_t pixels = 0;
    const std::unique_ptr<platform::EnhMetafile> emf = RecordEnhMetafile(job, pixels);
    if (!emf || !Write(stem + "-default.emf", emf->GetBits())) return false;
    if (!SaveAsWmf((stem + "-default.wmf").c_str(), job, pixels)) return false;
    if (!SaveAsBmp((stem + "-default.bmp").c_str(), job, pixels)) return false;
    const SymbolMatrix* symbol = BuildJobSymbol(sample.message);
    const DMSettings& s = sample.settings;
    const PictureGeometry picture = test::NinesGeometry(s, *symbol, pixels);  // the screen at kDpi
    std::vector<std::uint8_t> seamlessWmf;
    std::vector<std::uint8_t> seamlessEmf;
    if (!WriteSeamlessWmf(picture, seamlessWmf).ok() || !WriteSeamlessEmf(picture, seamlessEmf).ok() ||
        !Write(stem + "-seamless.wmf", seamlessWmf) || !Write(stem + "-seamless.emf", seamlessEmf)) {
        return false;
    }
    std::cout << sample.name << " " << symbol->rows() << " " << s.borderStyle << " " << s.width << " "
              << s.height << " " << s.moduleSize << " " << s.orientation << " " << sample.message << "\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_client_pictures DIR\n";
        return 2;
    }
    using ecc200::BorderStyle;
    using ecc200::test::NineSettings;
    ecc200::platform::SetPortableScreenDpi(kDpi);
    const Sample samples[] = {
        {"hello", "Hello, world", NineSettings(300, 200, 0.1f, 0, BorderStyle::Dashed)},
        {"turned", "ecc200 seamless 0123456789", NineSettings(360, 240, 0.08f, 1, BorderStyle::Solid)},
        {"long", "A longer message for a larger symbol: 01234567890123456789",
         NineSettings(420, 300, 0.05f, 2, BorderStyle::Dashed)},
        {"default", "12", NineSettings(500, 300, 0.2f, 3, BorderStyle::None)},
    };
    for (const Sample& sample : samples) {
        if (!WriteSample(argv[1], sample)) {
            std::cerr << "cannot write " << sample.name << "\n";
            return 1;
        }
    }
    return 0;
}
