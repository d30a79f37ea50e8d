// Writes a message as a turned, coloured ECC 200 Data Matrix symbol into a
// BMP file and a placeable Windows metafile:
//
//     write_label BASENAME [MESSAGE]     (writes BASENAME.bmp and BASENAME.wmf)
//
// The library keeps one settings record per process; a C++ program can hold
// each label's settings in a value of its own and apply them before drawing.
#include <ecc200.h>

#include <iostream>
#include <string>

namespace {

struct Colour {
    int red;
    int green;
    int blue;
};

struct Label {
    std::string message;
    int width = 300;
    int height = 300;
    double moduleCm = 0.15;
    int quarterTurns = 1;  // counter-clockwise
    int border = 1;        // dashed
    Colour bar{0, 0, 128};
    Colour background{255, 255, 224};

    void Apply() const {
        DMSetDefault();
        DMSetSize(width, height);
        DMSetMessage(message.c_str());
        DMSetInfo(moduleCm, quarterTurns, border);
        DMSetBarColor(bar.red, bar.green, bar.blue);
        DMSetBackColor(background.red, background.green, background.blue);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: write_label BASENAME [MESSAGE]\n";
        return 2;
    }
    const std::string base = argv[1];
    const Label label{argc == 3 ? argv[2] : "Hello from C++"};

    label.Apply();
    const std::string bmp = base + ".bmp";
    const std::string wmf = base + ".wmf";
    // Each output returns 1 when the file is written, 0 when nothing is.
    if (DMSaveAsBMP(bmp.c_str()) != 1 || DMSaveAsWMF(wmf.c_str()) != 1) {
        std::cerr << "write_label: cannot write " << bmp << " and " << wmf << '\n';
        return 1;
    }
    std::cout << "ecc200 " << ECC200_VERSION_STRING << ": wrote " << bmp << " and " << wmf << '\n';
    return 0;
}
