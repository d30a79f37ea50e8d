/* The runner's binding to the portable shared library (libecc200.so) through
 * dlopen and dlsym, the way a program loads it at run time. The portable
 * clipboard lives inside the library and has no exported reader, so this
 * binding reports the clipboard as unreadable; binding_linked.cpp reads it. */
#define _POSIX_C_SOURCE 200809L

#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

#include "binding.h"

typedef void (*AnyFunction)(void);

/* dlsym hands out an object pointer; ISO C has no conversion from it to a
 * function pointer, so the bits are copied, as POSIX allows. */
static AnyFunction Find(void *module, const char *name, int *missing) {
    AnyFunction function = NULL;
    void *address = dlsym(module, name);
    if (address == NULL) {
        fprintf(stderr, "dlsym(%s) failed: %s\n", name, dlerror());
        *missing = 1;
    }
    memcpy(&function, &address, sizeof function);
    return function;
}

int BindLibrary(const char *path, DmLibrary *library) {
    void *module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    int missing = 0;
    if (module == NULL) {
        fprintf(stderr, "dlopen(%s) failed: %s\n", path, dlerror());
        return -1;
    }
    library->SetDefault = (void (*)(void))Find(module, "DMSetDefault", &missing);
    library->SetSize = (void (*)(int, int))Find(module, "DMSetSize", &missing);
    library->SetMessage = (void (*)(const char *))Find(module, "DMSetMessage", &missing);
    library->SetInfo = (void (*)(double, int, int))Find(module, "DMSetInfo", &missing);
    library->SetBackColor = (void (*)(int, int, int))Find(module, "DMSetBackColor", &missing);
    library->SetBarColor = (void (*)(int, int, int))Find(module, "DMSetBarColor", &missing);
    library->CopyToClipboard = (unsigned char (*)(void))Find(module, "DMCopyToClipboard", &missing);
    library->SaveAsWMF = (unsigned char (*)(const char *))Find(module, "DMSaveAsWMF", &missing);
    library->SaveAsBMP = (unsigned char (*)(const char *))Find(module, "DMSaveAsBMP", &missing);
    return missing ? -1 : 0;
}

void ClearClipboard(void) {}

ClipboardRead ReadClipboardMetafile(unsigned char **bits, size_t *size) {
    (void)bits;
    (void)size;
    return kClipboardUnreadable;
}
