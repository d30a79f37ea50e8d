// The nine's exported outputs: each takes the library's lock, reads the
// settings record as the job of this call and runs one output of the
// adapter (api/job_outputs.h); every failure, an exhausted memory included,
// is the result 0.
#include <cstdint>

#include "api/settings.h"
#include "driver/render_symbol.h"
#include "ecc200.h"
#include "api/job_outputs.h"

namespace {

// The module size in pixels of the previous drawing, reused when the module
// size setting is exactly 0.
std::int32_t& ModulePixels() {
    static std::int32_t modulePixels = 0;
    return modulePixels;
}

// The settings record as the job the outputs draw; it refers to the record's
// message, so it lives only while the lock is held.
ecc200::SymbolJob JobOf(const ecc200::DMSettings& settings) {
    return {settings.messageBytes(),
            ecc200::PictureStyle{settings.width, settings.height, settings.moduleSize, settings.orientation,
                                 static_cast<ecc200::BorderStyle>(settings.borderStyle), settings.barColour,
                                 settings.backgroundColour}};
}

template <typename Output>
unsigned char Run(Output output) {
    const std::lock_guard<std::mutex> lock(ecc200::ApiMutex());
    try {
        return output(JobOf(ecc200::Settings()), ModulePixels()) ? 1 : 0;
    } catch (...) {
        // Nothing may unwind into a C caller: an exhausted memory, or
        // anything else, is a failed output.
        return 0;
    }
}

}  // namespace

extern "C" {

ECC200_API unsigned char ECC200_CALL DMCopyToClipboard(void) { return Run(ecc200::CopyToClipboard); }

ECC200_API unsigned char ECC200_CALL DMSaveAsWMF(const char* fileName) {
    return Run([fileName](const ecc200::SymbolJob& job, std::int32_t& modulePixels) {
        return ecc200::SaveAsWmf(fileName, job, modulePixels);
    });
}

ECC200_API unsigned char ECC200_CALL DMSaveAsBMP(const char* fileName) {
    return Run([fileName](const ecc200::SymbolJob& job, std::int32_t& modulePixels) {
        return ecc200::SaveAsBmp(fileName, job, modulePixels);
    });
}

}  // extern "C"
