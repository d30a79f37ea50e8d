/* abi_check: the DLL as a Win32 caller sees it, linked through its import
 * library with the declarations of ecc200.h.
 *
 * - GetProcAddress finds the nine plain names and the ecc200_* ones, and
 *   none of the decorated ones (_DMSetSize@8, DMSetSize@8, _DMSetSize,
 *   _ecc200_encode@20).
 * - 32-bit: across a call of each export the stack pointer does not move,
 *   so the callee removed its arguments (__stdcall); a __cdecl control
 *   function shows that the measurement sees a difference.
 * - A million calls of the setters through the import library, after which
 *   a saved BMP carries the last size set.
 * - ecc200_save with the nine's default settings writes DMSaveAsBMP's bytes. */
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
    static const char *const kPerCall[] = {
        "ecc200_version", "ecc200_status_text", "ecc200_encode_options_init", "ecc200_picture_init",
        "ecc200_encode", "ecc200_encode_segments", "ecc200_symbol_free", "ecc200_symbol_rows",
        "ecc200_symbol_columns", "ecc200_symbol_modules", "ecc200_symbol_codewords", "ecc200_symbol_data_codewords",
        "ecc200_render", "ecc200_render_to", "ecc200_render_alloc", "ecc200_free", "ecc200_save",
        "ecc200_copy_to_clipboard", "ecc200_picture_layout", "ecc200_save_pdf_pages"};
    static const char *const kDecorated[] = {"_DMSetSize@8", "DMSetSize@8", "_DMSetSize", "_DMSetInfo@16",
                                             "_ecc200_encode@20", "ecc200_render@28", "_ecc200_version"};
    HMODULE module = GetModuleHandleA("ecc200.dll");
    int found = 0;
    int decorated = 0;
    size_t i;
    int perCall = 0;
    for (i = 0; i < sizeof kPlain / sizeof kPlain[0]; ++i) found += GetProcAddress(module, kPlain[i]) != NULL;
    for (i = 0; i < sizeof kPerCall / sizeof kPerCall[0]; ++i) perCall += GetProcAddress(module, kPerCall[i]) != NULL;
    for (i = 0; i < sizeof kDecorated / sizeof kDecorated[0]; ++i) {
        decorated += GetProcAddress(module, kDecorated[i]) != NULL;
    }
    Expect(module != NULL && found == 9, "GetProcAddress finds all nine plain names");
    Expect(perCall == (int)(sizeof kPerCall / sizeof kPerCall[0]), "GetProcAddress finds every ecc200_* name");
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

/* One 32-bit word of a pointer argument. */
static uint32_t Word(const void *pointer) { return (uint32_t)(uintptr_t)pointer; }

/* A pointer to a function as a plain address, for the measurement. */
#define ADDRESS(function) ((const void *)(uintptr_t)(function))

/* Each ecc200_* function removes its arguments: 4 bytes a pointer, int32 or
 * size_t. The calls are real ones, on a symbol the first makes. */
static void CheckPerCallCleansUp(void) {
    ecc200_symbol *symbol = NULL;
    ecc200_picture picture;
    size_t size = 0;
    uint8_t *block = NULL;
    const uint32_t encode[5] = {Word("abi"), 3, 0, Word(&symbol), 0};
    const uint32_t none[5] = {0, 0, 0, 0, 0};
    uint32_t one[1] = {Word(&picture)};
    uint32_t render[7];
    uint32_t alloc[6];
    uint32_t save[5];
    Expect(StackMovement(ADDRESS(ecc200_version), NULL, 0) == 0, "ecc200_version (no arguments)");
    Expect(StackMovement(ADDRESS(ecc200_status_text), none, 1) == 0, "ecc200_status_text removes its 4 bytes");
    Expect(StackMovement(ADDRESS(ecc200_picture_init), one, 1) == 0, "ecc200_picture_init removes its 4 bytes");
    Expect(StackMovement(ADDRESS(ecc200_encode_options_init), none, 1) == 0, "ecc200_encode_options_init: 4 bytes");
    Expect(StackMovement(ADDRESS(ecc200_encode), encode, 5) == 0 && symbol != NULL, "ecc200_encode removes its 20 bytes");
    Expect(StackMovement(ADDRESS(ecc200_encode_segments), none, 5) == 0, "ecc200_encode_segments removes its 20 bytes");
    one[0] = Word(symbol);
    Expect(StackMovement(ADDRESS(ecc200_symbol_rows), one, 1) == 0, "ecc200_symbol_rows removes its 4 bytes");
    Expect(StackMovement(ADDRESS(ecc200_symbol_columns), one, 1) == 0, "ecc200_symbol_columns removes its 4 bytes");
    Expect(StackMovement(ADDRESS(ecc200_symbol_modules), one, 1) == 0, "ecc200_symbol_modules removes its 4 bytes");
    Expect(StackMovement(ADDRESS(ecc200_symbol_codewords), none, 2) == 0, "ecc200_symbol_codewords removes 8 bytes");
    Expect(StackMovement(ADDRESS(ecc200_symbol_data_codewords), none, 2) == 0, "ecc200_symbol_data_codewords: 8 bytes");
    render[0] = Word(symbol), render[1] = 0, render[2] = ECC200_FORMAT_BMP, render[3] = 0, render[4] = 0;
    render[5] = Word(&size), render[6] = 0;
    Expect(StackMovement(ADDRESS(ecc200_render), render, 7) == 0 && size > 62, "ecc200_render removes its 28 bytes");
    alloc[0] = Word(symbol), alloc[1] = 0, alloc[2] = ECC200_FORMAT_WMF, alloc[3] = Word(&block);
    alloc[4] = Word(&size), alloc[5] = 0;
    Expect(StackMovement(ADDRESS(ecc200_render_alloc), alloc, 6) == 0 && block != NULL, "ecc200_render_alloc: 24 bytes");
    one[0] = Word(block);
    Expect(StackMovement(ADDRESS(ecc200_free), one, 1) == 0, "ecc200_free removes its 4 bytes");
    alloc[3] = 0; /* no writer: refused */
    Expect(StackMovement(ADDRESS(ecc200_render_to), alloc, 6) == 0, "ecc200_render_to removes its 24 bytes");
    save[0] = Word(symbol), save[1] = 0, save[2] = ECC200_FORMAT_BMP, save[3] = Word("abi-stack-new.bmp"), save[4] = 0;
    Expect(StackMovement(ADDRESS(ecc200_save), save, 5) == 0, "ecc200_save removes its 20 bytes");
    save[3] = 0; /* no layout: refused */
    Expect(StackMovement(ADDRESS(ecc200_picture_layout), save, 5) == 0, "ecc200_picture_layout removes its 20 bytes");
    save[2] = 0; /* no diagnostic */
    Expect(StackMovement(ADDRESS(ecc200_copy_to_clipboard), save, 3) == 0, "ecc200_copy_to_clipboard: 12 bytes");
    one[0] = Word(symbol);
    Expect(StackMovement(ADDRESS(ecc200_symbol_free), one, 1) == 0, "ecc200_symbol_free removes its 4 bytes");
}

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
    CheckPerCallCleansUp();
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

static long FileBytes(const char *path, unsigned char *bytes, long capacity) {
    FILE *file = fopen(path, "rb");
    long size = file != NULL ? (long)fread(bytes, 1, (size_t)capacity, file) : -1;
    if (file != NULL) fclose(file);
    return size;
}

/* The nine's default picture through the per-call interface. */
static void CheckSameBytesAsTheNine(void) {
    static unsigned char nine[32768];
    static unsigned char perCall[32768];
    ecc200_symbol *symbol = NULL;
    ecc200_picture picture;
    long nineSize;
    DMSetDefault();
    Expect(DMSaveAsBMP("abi-nine.bmp") == 1, "DMSaveAsBMP of the defaults");
    ecc200_picture_init(&picture);
    picture.width = 500;
    picture.height = 300;
    Expect(ecc200_encode("12", 2, NULL, &symbol, NULL) == ECC200_OK, "ecc200_encode of the default message");
    Expect(ecc200_save(symbol, &picture, ECC200_FORMAT_BMP, "abi-per-call.bmp", NULL) == ECC200_OK, "ecc200_save");
    ecc200_symbol_free(symbol);
    nineSize = FileBytes("abi-nine.bmp", nine, sizeof nine);
    Expect(nineSize == 19262 && FileBytes("abi-per-call.bmp", perCall, sizeof perCall) == nineSize &&
               memcmp(nine, perCall, (size_t)nineSize) == 0,
           "ecc200_save writes DMSaveAsBMP's 19262 bytes");
}

int main(void) {
    CheckExportNames();
    CheckSameBytesAsTheNine();
#if defined(__i386__)
    CheckCalleeCleansUp();
#endif
    CheckManyCalls();
    printf("abi_check: %s\n", failures == 0 ? "all passed" : "FAILED");
    return failures == 0 ? 0 : 1;
}
