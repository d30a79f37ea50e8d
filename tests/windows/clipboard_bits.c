#include "clipboard_bits.h"

#include <stdlib.h>
#include <windows.h>

unsigned char *ClipboardBits(unsigned int *size) {
    unsigned char *bits = NULL;
    HENHMETAFILE metafile;
    *size = 0;
    if (!OpenClipboard(NULL)) return NULL;
    metafile = (HENHMETAFILE)GetClipboardData(CF_ENHMETAFILE);
    if (metafile != NULL) {
        *size = GetEnhMetaFileBits(metafile, 0, NULL);
        bits = malloc(*size);
        if (bits != NULL) GetEnhMetaFileBits(metafile, *size, bits);
    }
    CloseClipboard();
    return bits;
}
