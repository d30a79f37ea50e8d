/* The runner's binding on Windows: the DLL loaded with LoadLibraryA, the
 * nine functions found with GetProcAddress by their plain names, and the
 * real clipboard read back with GetClipboardData and GetEnhMetaFileBits. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include "binding.h"

/* GetProcAddress's result as the neutral function pointer type, which
 * converts to each export's own type without a warning. */
typedef void (*AnyFunction)(void);

static AnyFunction Find(HMODULE module, const char *name, int *missing) {
    FARPROC address = GetProcAddress(module, name);
    if (address == NULL) {
        fprintf(stderr, "GetProcAddress(%s) failed: error %lu\n", name, (unsigned long)GetLastError());
        *missing = 1;
    }
    return (AnyFunction)address;
}

int BindLibrary(const char *path, DmLibrary *library) {
    HMODULE module = LoadLibraryA(path);
    int missing = 0;
    if (module == NULL) {
        fprintf(stderr, "LoadLibraryA(%s) failed: error %lu\n", path, (unsigned long)GetLastError());
        return -1;
    }
    library->SetDefault = (void(ECC200_CALL *)(void))Find(module, "DMSetDefault", &missing);
    library->SetSize = (void(ECC200_CALL *)(int, int))Find(module, "DMSetSize", &missing);
    library->SetMessage = (void(ECC200_CALL *)(const char *))Find(module, "DMSetMessage", &missing);
    library->SetInfo = (void(ECC200_CALL *)(double, int, int))Find(module, "DMSetInfo", &missing);
    library->SetBackColor = (void(ECC200_CALL *)(int, int, int))Find(module, "DMSetBackColor", &missing);
    library->SetBarColor = (void(ECC200_CALL *)(int, int, int))Find(module, "DMSetBarColor", &missing);
    library->CopyToClipboard = (unsigned char(ECC200_CALL *)(void))Find(module, "DMCopyToClipboard", &missing);
    library->SaveAsWMF = (unsigned char(ECC200_CALL *)(const char *))Find(module, "DMSaveAsWMF", &missing);
    library->SaveAsBMP = (unsigned char(ECC200_CALL *)(const char *))Find(module, "DMSaveAsBMP", &missing);
    return missing ? -1 : 0;
}

void ClearClipboard(void) {
    if (OpenClipboard(NULL)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

ClipboardRead ReadClipboardMetafile(unsigned char **bits, size_t *size) {
    ClipboardRead result = kClipboardEmpty;
    HENHMETAFILE metafile;
    if (!OpenClipboard(NULL)) {
        return kClipboardUnreadable;
    }
    /* The handle stays the clipboard's: read, never deleted. */
    metafile = (HENHMETAFILE)GetClipboardData(CF_ENHMETAFILE);
    if (metafile != NULL) {
        *size = GetEnhMetaFileBits(metafile, 0, NULL);
        *bits = malloc(*size > 0 ? *size : 1);
        if (*bits != NULL && GetEnhMetaFileBits(metafile, (UINT)*size, *bits) == *size) {
            result = kClipboardMetafile;
        } else {
            free(*bits);
            result = kClipboardUnreadable;
        }
    }
    CloseClipboard();
    return result;
}

int MakeDirectory(const char *path) { return CreateDirectoryA(path, NULL) ? 0 : -1; }

int ChangeDirectory(const char *path) { return SetCurrentDirectoryA(path) ? 0 : -1; }

int MakeReadOnly(const char *path) { return SetFileAttributesA(path, FILE_ATTRIBUTE_READONLY) ? 0 : -1; }
