/* What the conformance runner needs from the library under test and from
 * the system it runs on. One implementation per way of reaching the library:
 * binding_windows.c (LoadLibraryA, the real clipboard), binding_dlopen.c
 * (the portable shared library through dlopen) and binding_linked.cpp (the
 * portable library's objects linked in, whose clipboard can be read). */
#ifndef ECC200_CONFORMANCE_BINDING_H
#define ECC200_CONFORMANCE_BINDING_H

#include <stddef.h>

#include "ecc200.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The nine exports, called through pointers of their declared type: on
 * 32-bit Windows every call checks that the callee removes its arguments. */
typedef struct DmLibrary {
    void(ECC200_CALL *SetDefault)(void);
    void(ECC200_CALL *SetSize)(int width, int height);
    void(ECC200_CALL *SetMessage)(const char *text);
    void(ECC200_CALL *SetInfo)(double moduleSize, int orientation, int borderStyle);
    void(ECC200_CALL *SetBackColor)(int red, int green, int blue);
    void(ECC200_CALL *SetBarColor)(int red, int green, int blue);
    unsigned char(ECC200_CALL *CopyToClipboard)(void);
    unsigned char(ECC200_CALL *SaveAsWMF)(const char *fileName);
    unsigned char(ECC200_CALL *SaveAsBMP)(const char *fileName);
} DmLibrary;

/* Loads the library (`path` may be ignored by a binding that has it linked
 * in) and fills every pointer. Returns 0, or prints why not and returns -1. */
int BindLibrary(const char *path, DmLibrary *library);

/* Leaves the clipboard without an enhanced metafile, so that every run
 * starts from the same clipboard. */
void ClearClipboard(void);

typedef enum ClipboardRead {
    kClipboardMetafile,   /* *bits holds a malloc'ed copy of the metafile */
    kClipboardEmpty,      /* no enhanced metafile on the clipboard */
    kClipboardUnreadable  /* this binding cannot see the library's clipboard */
} ClipboardRead;

ClipboardRead ReadClipboardMetafile(unsigned char **bits, size_t *size);

/* 0 on success. */
int MakeDirectory(const char *path);
int ChangeDirectory(const char *path);
/* Marks an existing file read-only: no write permission bit, Windows'
 * read-only attribute. 0 on success. */
int MakeReadOnly(const char *path);

#ifdef __cplusplus
}
#endif

#endif
