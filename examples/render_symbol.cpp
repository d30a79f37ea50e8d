// Encodes a message once and saves it as a BMP file through the C++
// interface (ecc200.hpp), each call with its own options:
//
//     render_symbol FILE.bmp [MESSAGE]
#include <ecc200.hpp>

#include <iostream>
#include <system_error>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: render_symbol FILE.bmp [MESSAGE]\n";
        return 2;
    }
    const char* message = argc > 2 ? argv[2] : "ecc200";
    try {
        const ecc200::Symbol symbol = ecc200::encode(message);
        ecc200::Picture picture;
        picture.module_px = 4;  // whole pixels, whatever the screen
        picture.quiet_zone = 2;
        ecc200::save(symbol, picture, argv[1], ecc200::Format::bmp);
    } catch (const ecc200::Error& error) {
        std::cerr << "render_symbol: " << error.what() << "\n";
        return 1;
    }
    std::cout << "ecc200 " << ecc200_version() << ": wrote " << argv[1] << "\n";
    return 0;
}
