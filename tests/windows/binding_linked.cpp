// The runner's binding to the portable library's objects linked into the
// runner (ecc200_core, the very objects libecc200.so is made of). The
// portable clipboard belongs to the process's copy of the library, so only
// a runner that holds that copy itself can read it back, with the platform
// layer's own getter.
#include <cstdlib>
#include <cstring>

#include "binding.h"
#include "platform/drawing_surface.h"

int BindLibrary(const char*, DmLibrary* library) {
    *library = DmLibrary{DMSetDefault,   DMSetSize,         DMSetMessage, DMSetInfo,  DMSetBackColor,
                         DMSetBarColor, DMCopyToClipboard, DMSaveAsWMF,  DMSaveAsBMP};
    return 0;
}

// A new process starts with an empty portable clipboard.
void ClearClipboard(void) {}

ClipboardRead ReadClipboardMetafile(unsigned char** bits, size_t* size) {
    const auto metafile = ecc200::platform::GetClipboardEnhMetafileBits();
    if (!metafile) return kClipboardEmpty;
    *size = metafile->size();
    *bits = static_cast<unsigned char*>(std::malloc(*size > 0 ? *size : 1));
    if (*bits == nullptr) return kClipboardUnreadable;
    std::memcpy(*bits, metafile->data(), *size);
    return kClipboardMetafile;
}
