/* A caller of ecc200.dll as Microsoft's compiler and linker build it:
 * compiled for the MSVC ABI against the zip's ecc200.h and linked with
 * lld-link against the zip's ecc200.lib alone. There is no C runtime (no
 * MSVC headers or libraries on Linux), so the program is its own entry
 * point and its result is the process's exit status: 0 when msvc.bmp was
 * written. check_packages.sh runs it under Wine and reads the symbol back. */
#include "ecc200.h"

/* The MSVC ABI has every object that uses floating point refer to this
 * symbol, which the C runtime would define. */
int _fltused;

int msvc_link_check(void);

int msvc_link_check(void)
{
    DMSetDefault();
    DMSetSize(200, 200);
    DMSetMessage("ecc200.lib: Microsoft's linker");
    DMSetInfo(0.1, 0, 2);
    return DMSaveAsBMP("msvc.bmp") == 1 ? 0 : 1;
}
