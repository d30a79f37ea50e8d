/* ecc200: ECC 200 Data Matrix symbols (ISO/IEC 16022) as values in memory
 * and as pictures: BMP, placeable Windows metafile (WMF), enhanced metafile
 * (EMF), PNG and SVG.
 *
 * Two interfaces, one library:
 * - the ecc200_* functions: every call takes its message and options as
 *   arguments and keeps no state between calls, so any number of threads
 *   may call them at once. Results are ecc200_status codes; errno is never
 *   the channel.
 * - the nine DM* functions of the first release: one settings record per
 *   process, which the setters write and each output reads. All nine take
 *   one process-wide lock, so overlapping calls are serialised; callers
 *   should still drive them from one thread at a time, since settings made
 *   by one caller apply to the outputs of all. On failure they leave errno
 *   set to the cause.
 *
 * ecc200.hpp puts a header-only C++ interface on the ecc200_* functions. */
#ifndef ECC200_H
#define ECC200_H

/* ECC200_VERSION_MAJOR, _MINOR, _PATCH and ECC200_VERSION_STRING. */
#include "ecc200_version.h"

#ifdef _WIN32
#define ECC200_CALL __stdcall
#else
#define ECC200_CALL
#endif

#if defined(ECC200_BUILDING_LIBRARY) && !defined(_WIN32)
#define ECC200_API __attribute__((visibility("default")))
#else
#define ECC200_API
#endif

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ======================================================================
 * The nine functions of the first release
 * ====================================================================== */

/* Restores every setting to its default: a 500 x 300 pixel picture, the
 * message "12", modules of 0.2 cm, no turn, no frame, black bars on a white
 * background. Before the first call every setting is zero. */
ECC200_API void ECC200_CALL DMSetDefault(void);

/* Sets the picture size in pixels. A width of 0 or less becomes 500, a height
 * of 0 or less becomes 300. */
ECC200_API void ECC200_CALL DMSetSize(int width, int height);

/* Copies the message to encode: the bytes before the first zero byte, at most
 * 1999 of them (a longer string is cut after 1999 bytes). NULL stores the
 * empty message. Every byte 1 to 255 is data; there are no escapes. */
ECC200_API void ECC200_CALL DMSetMessage(const char *text);

/* Sets the module edge in centimetres (0.2 when not greater than 0 or not a
 * number; stored in single precision), the orientation in counter-clockwise
 * quarter turns (0 to 3, else 0) and the border style (0 none, 1 dashed,
 * 2 solid, else 0). */
ECC200_API void ECC200_CALL DMSetInfo(double moduleSize, int orientation, int borderStyle);

/* Sets the background colour; a component outside 0 to 255 becomes 0. */
ECC200_API void ECC200_CALL DMSetBackColor(int red, int green, int blue);

/* Sets the colour of the dark modules; a component outside 0 to 255 becomes 0. */
ECC200_API void ECC200_CALL DMSetBarColor(int red, int green, int blue);

/* Draws the symbol as an enhanced metafile and puts it on the clipboard.
 * Returns 1 on success; 0 when the clipboard cannot be opened or the message
 * is too long for any symbol, and the clipboard is then left as it was. */
ECC200_API unsigned char ECC200_CALL DMCopyToClipboard(void);

/* Writes the symbol as a placeable Windows metafile to fileName. Returns 1 on
 * success; 0 when the message is too long, the picture is wider or taller
 * than 32767 pixels, fileName is NULL or the file cannot be written. On
 * failure an existing file of that name is left unchanged. */
ECC200_API unsigned char ECC200_CALL DMSaveAsWMF(const char *fileName);

/* Writes the symbol as a one-bit-per-pixel BMP file to fileName. Returns 1
 * on success; 0 when the message is too long, the bitmap is too large for
 * the format or for memory, fileName is NULL or the file cannot be written.
 * On failure an existing file of that name is left unchanged. */
ECC200_API unsigned char ECC200_CALL DMSaveAsBMP(const char *fileName);

/* ======================================================================
 * The per-call interface
 * ====================================================================== */

/* Every fallible call returns one of these; ecc200_status_text names each. */
typedef int32_t ecc200_status;
#define ECC200_OK 0
/* A NULL pointer where one is required, a struct_size smaller than the
 * first release of that struct, or a value outside its documented range. */
#define ECC200_INVALID_ARGUMENT 1
/* The message needs more data codewords than the largest allowed symbol
 * holds (1558 in a 144 x 144 square: 3116 digits, any 1556 bytes, or more
 * upper-case letters or text). */
#define ECC200_MESSAGE_TOO_LONG 2
/* The picture is larger than the format can hold (a WMF past 32767 pixels a
 * side, a BMP or EMF past its 32-bit sizes) or than 32-bit coordinates. */
#define ECC200_PICTURE_TOO_LARGE 3
#define ECC200_OUT_OF_MEMORY 4
/* The file (or the clipboard) could not be written; the diagnostic's
 * system_error holds the system's error number as errno names it (on
 * Windows too, the system's error mapped to its errno). Any file of that
 * name is left as it was. */
#define ECC200_FILE_ERROR 5
/* What this build does not provide (a seamless EMF on the clipboard). */
#define ECC200_UNSUPPORTED 6
/* The picture's size cuts the symbol and allow_crop is not set. */
#define ECC200_SYMBOL_CROPPED 7
/* The caller's buffer is too small; *size holds the size needed. */
#define ECC200_BUFFER_TOO_SMALL 8
/* The caller's write callback returned 0. */
#define ECC200_WRITE_REFUSED 9
/* The data cannot be encoded as asked: a byte the forced encodation cannot
 * hold, a malformed GS1 element string, a forbidden combination of options.
 * The diagnostic's message says which. */
#define ECC200_INVALID_DATA 10

/* The output formats. */
typedef int32_t ecc200_format;
#define ECC200_FORMAT_BMP 1 /* one bit per pixel, bottom-up rows */
#define ECC200_FORMAT_WMF 2 /* placeable Windows metafile */
#define ECC200_FORMAT_EMF 3 /* enhanced metafile */
#define ECC200_FORMAT_PNG 4 /* two-colour palette image with pHYs */
#define ECC200_FORMAT_SVG 5 /* UTF-8 text, sized in millimetres */
#define ECC200_FORMAT_ZPL 6 /* a ZPL label (or graphic field) of the picture's one-bit pixels in printer dots */
#define ECC200_FORMAT_PDF 7 /* one page at the exact physical size, vector */
#define ECC200_FORMAT_EPS 8 /* Encapsulated PostScript 3.0 at the exact physical size */

/* Values of ecc200_encode_options.encodation (ISO/IEC 16022 5.2). */
#define ECC200_ENCODATION_AUTO 0 /* the fewest codewords */
#define ECC200_ENCODATION_ASCII 1
#define ECC200_ENCODATION_C40 2
#define ECC200_ENCODATION_TEXT 3
#define ECC200_ENCODATION_X12 4
#define ECC200_ENCODATION_EDIFACT 5
#define ECC200_ENCODATION_BASE256 6

/* Values of ecc200_encode_options.shape. */
#define ECC200_SHAPE_SQUARE 0
#define ECC200_SHAPE_RECTANGLE 1
#define ECC200_SHAPE_ANY 2

/* Values of ecc200_picture.border. */
#define ECC200_BORDER_NONE 0
#define ECC200_BORDER_DASHED 1
#define ECC200_BORDER_SOLID 2

/* How to encode. Start from ecc200_encode_options_init; NULL where options
 * are taken means these defaults. struct_size lets later releases add
 * fields at the end: set it to sizeof(ecc200_encode_options). */
typedef struct ecc200_encode_options {
    uint32_t struct_size;
    int32_t encodation;       /* ECC200_ENCODATION_*; default AUTO */
    int32_t shape;            /* ECC200_SHAPE_*; default SQUARE */
    int32_t dmre;             /* nonzero: also the ISO/IEC 21471 sizes */
    int32_t rows;             /* 0 and 0: the smallest admitted size that holds the data; */
    int32_t columns;          /* else exactly this size */
    int32_t gs1;              /* nonzero: the data is a GS1 element string in bracket form */
    int32_t eci;              /* 0: none; else the ECI of the data (1 to 999999) */
    int32_t reader_init;      /* nonzero: a reader programming symbol */
    int32_t append_index;     /* structured append: this symbol's position, 1 to append_count */
    int32_t append_count;     /* 0: none; else 2 to 16 symbols */
    int32_t file_id;          /* 1 to 64516, the same in every symbol of the set */
    int32_t iso144;           /* nonzero: 144 x 144 in the ISO/IEC 16022 interleaving order */
} ecc200_encode_options;

/* How to draw. Start from ecc200_picture_init; NULL where a picture is taken
 * means these defaults. */
typedef struct ecc200_picture {
    uint32_t struct_size;     /* sizeof(ecc200_picture) */
    int32_t width;            /* pixels; 0 and 0: the symbol plus the quiet zone */
    int32_t height;
    int32_t quiet_zone;       /* modules of light margin when fitting; default 2 */
    double module_cm;         /* module edge in centimetres; default 0.2 */
    int32_t module_px;        /* module edge in whole pixels; 0: from module_cm */
    int32_t dpi;              /* 0: the screen's resolution (ZPL: 203, the printer's 8 dots/mm) */
    int32_t quarter_turns;    /* counter-clockwise, 0 to 3 */
    int32_t border;           /* ECC200_BORDER_* */
    uint32_t bar;             /* dark modules, 0xRRGGBB; default 0x000000 */
    uint32_t background;      /* 0xRRGGBB; default 0xFFFFFF */
    int32_t allow_crop;       /* nonzero: a size that cuts the symbol draws it cut */
    int32_t seamless;         /* WMF and EMF: the dark modules as one filled shape */
    int32_t zpl_z64;          /* ZPL: the graphic field compressed (Z64) rather than ASCII hex */
    int32_t zpl_field_only;   /* ZPL: the graphic field alone (^FO..^GFA..^FS), no ^XA/^XZ label */
    int32_t hri;              /* SVG, PDF, EPS: the human-readable text under the symbol */
} ecc200_picture;

/* What went wrong, in the user's terms: pass one to any call that takes it
 * (or NULL). Filled on every status other than ECC200_OK. */
typedef struct ecc200_diagnostic {
    uint32_t struct_size;     /* sizeof(ecc200_diagnostic) */
    int32_t system_error;     /* ECC200_FILE_ERROR: the errno value; else 0 */
    int32_t codewords_needed; /* ECC200_MESSAGE_TOO_LONG: data codewords the message needs */
    int32_t capacity;         /* and what the largest allowed symbol holds */
    char message[256];        /* one line, NUL-terminated, UTF-8 */
    int32_t needed_width;     /* ECC200_SYMBOL_CROPPED: the picture that holds the symbol */
    int32_t needed_height;    /* with its quiet zone, in pixels; else 0 */
} ecc200_diagnostic;

/* An encoded symbol: immutable, owned by the caller until ecc200_symbol_free. */
typedef struct ecc200_symbol ecc200_symbol;

/* One part of a message with its own ECI (0: none), for ecc200_encode_segments. */
typedef struct ecc200_segment {
    const void *data;
    size_t length;
    int32_t eci;
} ecc200_segment;

/* A writer for ecc200_render_to: called with consecutive pieces of the
 * output; returns nonzero to go on, 0 to stop (ECC200_WRITE_REFUSED). */
typedef int32_t(ECC200_CALL *ecc200_write_fn)(void *context, const uint8_t *bytes, size_t size);

/* The library's version (ECC200_VERSION_STRING of the build) and the text of a status ("message too
 * long"; "unknown status" for a value not listed above). Both are constant
 * strings. */
ECC200_API const char *ECC200_CALL ecc200_version(void);
ECC200_API const char *ECC200_CALL ecc200_status_text(ecc200_status status);

/* Fill a struct with the defaults above (struct_size included). */
ECC200_API void ECC200_CALL ecc200_encode_options_init(ecc200_encode_options *options);
ECC200_API void ECC200_CALL ecc200_picture_init(ecc200_picture *picture);

/* Encodes `length` bytes at `data` (zero bytes allowed; data may be NULL when
 * length is 0) into *symbol. On any other status *symbol is NULL. */
ECC200_API ecc200_status ECC200_CALL ecc200_encode(const void *data, size_t length,
                                                   const ecc200_encode_options *options, ecc200_symbol **symbol,
                                                   ecc200_diagnostic *diagnostic);
/* The same for a message in segments with their own ECIs. */
ECC200_API ecc200_status ECC200_CALL ecc200_encode_segments(const ecc200_segment *segments, size_t count,
                                                            const ecc200_encode_options *options,
                                                            ecc200_symbol **symbol, ecc200_diagnostic *diagnostic);
ECC200_API void ECC200_CALL ecc200_symbol_free(ecc200_symbol *symbol);

/* The symbol's size in modules, its modules (rows x columns bytes, row 0 at
 * the top, 1 dark, 0 light) and its codewords: the final stream (data,
 * padding and error correction, as placed) and the data codewords before
 * padding. Pointers stay valid until the symbol is freed; *count may be
 * NULL when not wanted. */
ECC200_API int32_t ECC200_CALL ecc200_symbol_rows(const ecc200_symbol *symbol);
ECC200_API int32_t ECC200_CALL ecc200_symbol_columns(const ecc200_symbol *symbol);
ECC200_API const uint8_t *ECC200_CALL ecc200_symbol_modules(const ecc200_symbol *symbol);
ECC200_API const uint8_t *ECC200_CALL ecc200_symbol_codewords(const ecc200_symbol *symbol, size_t *count);
ECC200_API const uint8_t *ECC200_CALL ecc200_symbol_data_codewords(const ecc200_symbol *symbol, size_t *count);

/* Draws the symbol in `format` into the caller's buffer of `capacity` bytes
 * (buffer may be NULL when capacity is 0) and sets *size to the output's
 * size; ECC200_BUFFER_TOO_SMALL, with *size the size needed and the buffer's
 * content unspecified, when it does not fit. */
ECC200_API ecc200_status ECC200_CALL ecc200_render(const ecc200_symbol *symbol, const ecc200_picture *picture,
                                                   ecc200_format format, uint8_t *buffer, size_t capacity,
                                                   size_t *size, ecc200_diagnostic *diagnostic);
/* The same, handing the output to `write` piece by piece. */
ECC200_API ecc200_status ECC200_CALL ecc200_render_to(const ecc200_symbol *symbol, const ecc200_picture *picture,
                                                      ecc200_format format, ecc200_write_fn write, void *context,
                                                      ecc200_diagnostic *diagnostic);
/* The same into a block the library allocates: *bytes (free it with
 * ecc200_free) and *size. */
ECC200_API ecc200_status ECC200_CALL ecc200_render_alloc(const ecc200_symbol *symbol, const ecc200_picture *picture,
                                                         ecc200_format format, uint8_t **bytes, size_t *size,
                                                         ecc200_diagnostic *diagnostic);
ECC200_API void ECC200_CALL ecc200_free(void *bytes);

/* Saves the picture to `path` (UTF-8 outside Windows; the ANSI code page on
 * Windows) the way DMSaveAsBMP does: a file is replaced whole or not at all,
 * symbolic links are followed, a replaced file keeps its permissions, a
 * read-only file is refused, devices and FIFOs are written in place, and no
 * temporary file is left behind. */
ECC200_API ecc200_status ECC200_CALL ecc200_save(const ecc200_symbol *symbol, const ecc200_picture *picture,
                                                 ecc200_format format, const char *path,
                                                 ecc200_diagnostic *diagnostic);

/* Saves `count` one-page PDFs, as ecc200_render drew them in
 * ECC200_FORMAT_PDF (on any threads), to `path` as one document of their
 * pages in order, the way ecc200_save saves. ECC200_INVALID_ARGUMENT for a
 * NULL, no page, or a page that is not such a PDF. */
ECC200_API ecc200_status ECC200_CALL ecc200_save_pdf_pages(const uint8_t *const *pages, const size_t *sizes,
                                                           size_t count, const char *path,
                                                           ecc200_diagnostic *diagnostic);

/* What the picture comes to for the symbol in `format`, without drawing it:
 * its size in pixels, the module edge in whole pixels (what BMP, WMF, EMF
 * and PNG draw), the module edge an SVG draws (exactly the size asked when
 * module_px is 0), and the resolution used. The same statuses as
 * ecc200_render for a picture it would refuse. */
typedef struct ecc200_layout {
    uint32_t struct_size;     /* sizeof(ecc200_layout) */
    int32_t width;
    int32_t height;
    int32_t module_px;
    int32_t dpi;
    double svg_module_px;
} ecc200_layout;
ECC200_API ecc200_status ECC200_CALL ecc200_picture_layout(const ecc200_symbol *symbol, const ecc200_picture *picture,
                                                           ecc200_format format, ecc200_layout *layout,
                                                           ecc200_diagnostic *diagnostic);

/* Puts the picture on the clipboard as an enhanced metafile, as
 * DMCopyToClipboard does: the Windows clipboard, or elsewhere the library's
 * own stand-in clipboard of the process. ECC200_FILE_ERROR (system_error
 * EBUSY) when the clipboard cannot be opened; it keeps what it held. */
ECC200_API ecc200_status ECC200_CALL ecc200_copy_to_clipboard(const ecc200_symbol *symbol,
                                                              const ecc200_picture *picture,
                                                              ecc200_diagnostic *diagnostic);

#ifdef __cplusplus
}
#endif

#endif /* ECC200_H */
