// The version and the status texts: constant strings.
#include "ecc200.h"

extern "C" {

ECC200_API const char* ECC200_CALL ecc200_version(void) { return ECC200_VERSION_STRING; }

ECC200_API const char* ECC200_CALL ecc200_status_text(ecc200_status status) {
    switch (status) {
        case ECC200_OK: return "ok";
        case ECC200_INVALID_ARGUMENT: return "invalid argument";
        case ECC200_MESSAGE_TOO_LONG: return "message too long";
        case ECC200_PICTURE_TOO_LARGE: return "picture too large";
        case ECC200_OUT_OF_MEMORY: return "out of memory";
        case ECC200_FILE_ERROR: return "file error";
        case ECC200_UNSUPPORTED: return "unsupported";
        case ECC200_SYMBOL_CROPPED: return "symbol cropped";
        case ECC200_BUFFER_TOO_SMALL: return "buffer too small";
        case ECC200_WRITE_REFUSED: return "write refused";
        case ECC200_INVALID_DATA: return "invalid data";
        default: return "unknown status";
    }
}

}  // extern "C"
