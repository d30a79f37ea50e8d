// The exported setters: each takes the library's lock and stores its values.
#include "api/settings.h"
#include "ecc200.h"

using ecc200::ApiMutex;
using ecc200::Settings;

extern "C" {

ECC200_API void ECC200_CALL DMSetDefault(void) {
    const std::lock_guard<std::mutex> lock(ApiMutex());
    ecc200::ApplyDefaults(Settings());
}

ECC200_API void ECC200_CALL DMSetSize(int width, int height) {
    const std::lock_guard<std::mutex> lock(ApiMutex());
    ecc200::ApplySize(Settings(), width, height);
}

ECC200_API void ECC200_CALL DMSetMessage(const char* text) {
    const std::lock_guard<std::mutex> lock(ApiMutex());
    ecc200::ApplyMessage(Settings(), text);
}

ECC200_API void ECC200_CALL DMSetInfo(double moduleSize, int orientation, int borderStyle) {
    const std::lock_guard<std::mutex> lock(ApiMutex());
    ecc200::ApplyInfo(Settings(), moduleSize, orientation, borderStyle);
}

ECC200_API void ECC200_CALL DMSetBackColor(int red, int green, int blue) {
    const std::lock_guard<std::mutex> lock(ApiMutex());
    Settings().backgroundColour = ecc200::ColourFromComponents(red, green, blue);
}

ECC200_API void ECC200_CALL DMSetBarColor(int red, int green, int blue) {
    const std::lock_guard<std::mutex> lock(ApiMutex());
    Settings().barColour = ecc200::ColourFromComponents(red, green, blue);
}

}  // extern "C"
