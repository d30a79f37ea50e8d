#include "api/versioned_structs.h"

namespace ecc200 {

ecc200_encode_options DefaultEncodeOptions() {
    ecc200_encode_options options{};  // AUTO, SQUARE, every other field 0
    options.struct_size = sizeof options;
    return options;
}

ecc200_picture DefaultPicture() {
    ecc200_picture picture{};
    picture.struct_size = sizeof picture;
    picture.quiet_zone = 2;  // ISO/IEC 16022 asks for at least one module; two are customary
    picture.module_cm = 0.2;
    picture.bar = 0x000000;
    picture.background = 0xFFFFFF;
    return picture;
}

}  // namespace ecc200

extern "C" {

ECC200_API void ECC200_CALL ecc200_encode_options_init(ecc200_encode_options* options) {
    if (options != nullptr) *options = ecc200::DefaultEncodeOptions();
}

ECC200_API void ECC200_CALL ecc200_picture_init(ecc200_picture* picture) {
    if (picture != nullptr) *picture = ecc200::DefaultPicture();
}

}  // extern "C"
