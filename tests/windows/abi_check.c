/* abi_check: the DLL as a Win32 caller sees it, linked through its import
 * library with the declarations of ecc200.h.
 *
 * - GetProcAddress finds the nine plain names and none of the decorated
 *   ones (_DMSetSize@8, DMSetSize@8, _DMSetSize).
 * - 32-bit: across a call of each export the stack pointer does not move,
 *   so the callee removed its arguments (__stdcall); a __cdecl control
 *   function shows that the measurement sees a difference.
 * - A million calls of the setters through the import library, after which
 *   a saved BMP carries the last size set. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "ecc200.h"

static int failures = 0;

static void Expect(int condition, const char *what) {
    printf("%s: %s\n", condition ? "ok  " : "FAIL", what);
    if (!condition) ++failures;
}

static void CheckExportNames(void) {
    static const char *const kPlain[] = {"DMSetDefault",  "DMSetSize",         "DMSetMessage",
                                         "DMSetInfo",     "DMSetBackColor",    "DMSetBarColor",
                                         "DMCopyToClipboard", "DMSaveAsWMF",   "DMSaveAsBMP"};
    static const char *const kDecorated[] = {"_DMSetSize@8", "DMSetSize@8", "_DMSetSize", "_DMSetInfo@16"};
    HMODULE module = GetModuleHandleA("ecc200.dll");
    int found = 0;
    int decorated = 0;
    size_t i;
    for (i = 0; i < sizeof kPlain / sizeof kPlain[0]; ++i) found += GetProcAddress(module, kPlain[i]) != NULL;
    for (i = 0; i < sizeof kDecorated / sizeof kDecorated[0]; ++i) {
        decorated += GetProcAddress(module, kDecorated[i]) != NULL;
    }
    Expect(module != NULL && found == 9, "GetProcAddress finds all nine plain names");
    Expect(decorated == 0, "GetProcAddress finds no decorated name");
}

#if defined(__i386__)
/* Calls `function` with `count` 32-bit words pushed right to left, as a
 * caller pushes arguments, and returns how far the stack pointer moved
 * across the call: 0 when the callee removed its arguments, -4 x count when
 * it left them to the caller. The stack pointer is restored either way. */
static long StackMovement(const void *function, const uint32_t *words, long count) {
    long movement;
    __asm__ volatile(
        "movl %%esp, %%esi\n\t"
        "movl %[count], %%ecx\n"
        "1:\n\t"
        "testl %%ecx, %%ecx\n\t"
        "jz 2f\n\t"
        "decl %%ecx\n\t"
        "pushl (%[words],%%ecx,4)\n\t"
        "jmp 1b\n"
        "2:\n\t"
        "call *%[function]\n\t"
        "movl %%esp, %%eax\n\t"
        "subl %%esi, %%eax\n\t"
        "movl %%esi, %%esp\n\t"
        : "=&a"(movement)
        : [function] "b"(function), [words] "D"(words), [count] "m"(count)
        : "ecx", "edx", "esi", "memory", "cc");
    return movement;
}

static int __cdecl CdeclControl(int a, int b) { return a + b; }

/* A pointer to a function as a plain address, for the measurement. */
#define ADDRESS(function) ((const void *)(uintptr_t)(function))

static void CheckCalleeCleansUp(void) {
    double moduleSize = 0.1;
    uint32_t info[4];
    uint32_t size[2] = {300, 200};
    uint32_t colour[3] = {10, 20, 30};
    uint32_t name[1];
    const char *path = "abi-stack.bmp";
    memcpy(info, &moduleSize, sizeof moduleSize); /* a double is pushed as its two halves, low first */
    info[2] = 1;
    info[3] = 2;
    memcpy(name, &path, sizeof path);

    Expect(StackMovement(ADDRESS(CdeclControl), size, 2) == -8, "the __cdecl control leaves its 8 bytes");
    Expect(StackMovement(ADDRESS(DMSetDefault), NULL, 0) == 0, "DMSetDefault (no arguments)");
    Expect(StackMovement(ADDRESS(DMSetSize), size, 2) == 0, "DMSetSize removes its 8 bytes");
    Expect(StackMovement(ADDRESS(DMSetMessage), name, 1) == 0, "DMSetMessage removes its 4 bytes");
    Expect(StackMovement(ADDRESS(DMSetInfo), info, 4) == 0, "DMSetInfo removes its 16 bytes");
    Expect(StackMovement(ADDRESS(DMSetBackColor), colour, 3) == 0, "DMSetBackColor removes its 12 bytes");
    Expect(StackMovement(ADDRESS(DMSetBarColor), colour, 3) == 0, "DMSetBarColor removes its 12 bytes");
    Expect(StackMovement(ADDRESS(DMSaveAsBMP), name, 1) == 0, "DMSaveAsBMP removes its 4 bytes");
    Expect(StackMovement(ADDRESS(DMSaveAsWMF), name, 1) == 0, "DMSaveAsWMF removes its 4 bytes");
    Expect(StackMovement(ADDRESS(DMCopyToClipboard), NULL, 0) == 0, "DMCopyToClipboard (no arguments)");
}
#endif

static uint32_t ReadU32(const unsigned char *p) {
    return p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static void CheckManyCalls(void) {
    const long kCalls = 1000000;
    unsigned char header[26];
    FILE *file;
    long i;
    DMSetDefault();
    for (i = 0; i < kCalls; ++i) {
        DMSetSize((int)(i % 1000) + 1, (int)(i % 777) + 1);
        DMSetInfo(0.01 * (double)(i % 50 + 1), (int)(i % 4), (int)(i % 3));
        DMSetBarColor((int)(i % 256), 0, 0);
    }
    DMSetSize(37, 23);
    DMSetMessage("abi");
    Expect(DMSaveAsBMP("abi-many-calls.bmp") == 1, "DMSaveAsBMP after 3,000,000 setter calls returns 1");
    file = fopen("abi-many-calls.bmp", "rb");
    Expect(file != NULL && fread(header, 1, sizeof header, file) == sizeof header && ReadU32(header + 18) == 37 &&
               ReadU32(header + 22) == 23,
           "the BMP is 37 x 23, the last size set");
    if (file != NULL) fclose(file);
}

int main(void) {
    CheckExportNames();
#if defined(__i386__)
    CheckCalleeCleansUp();
#endif
    CheckManyCalls();
    printf("abi_check: %s\n", failures == 0 ? "all passed" : "FAILED");
    return failures == 0 ? 0 : 1;
}
