/* What the JavaScript package needs besides the ecc200_* functions, which it
 * calls directly: the layout of the public structs it fills and reads, and
 * the output formats. The package sets and reads struct members by name
 * through these tables, so it holds no offsets of its own, and a member or
 * a format added to include/ecc200.h is one line here.
 *
 * Only include/ecc200.h is used: the package stays on the C interface. */
#include <ecc200.h>
#include <stddef.h>

/* How the package reads and writes a member. */
enum js_type { JS_INT32 = 1, JS_UINT32 = 2, JS_DOUBLE = 3, JS_TEXT = 4 };

typedef struct js_field {
    const char *name; /* the C member's name */
    uint32_t offset;
    int32_t type;     /* enum js_type */
} js_field;

typedef struct js_struct {
    const char *name; /* NULL ends the table */
    uint32_t size;    /* what the package allocates and passes as struct_size */
    const js_field *fields;
    uint32_t count;
} js_struct;

#define COUNT(array) ((uint32_t)(sizeof(array) / sizeof((array)[0])))
#define MEMBER(type_name, member, js) {#member, (uint32_t)offsetof(type_name, member), js}

static const js_field encode_options_fields[] = {
    MEMBER(ecc200_encode_options, encodation, JS_INT32),
    MEMBER(ecc200_encode_options, shape, JS_INT32),
    MEMBER(ecc200_encode_options, dmre, JS_INT32),
    MEMBER(ecc200_encode_options, rows, JS_INT32),
    MEMBER(ecc200_encode_options, columns, JS_INT32),
    MEMBER(ecc200_encode_options, gs1, JS_INT32),
    MEMBER(ecc200_encode_options, eci, JS_INT32),
    MEMBER(ecc200_encode_options, reader_init, JS_INT32),
    MEMBER(ecc200_encode_options, append_index, JS_INT32),
    MEMBER(ecc200_encode_options, append_count, JS_INT32),
    MEMBER(ecc200_encode_options, file_id, JS_INT32),
    MEMBER(ecc200_encode_options, iso144, JS_INT32),
};

/* Every member but struct_size is a picture option of the package, under
 * its name in camelCase (quiet_zone: quietZone). */
static const js_field picture_fields[] = {
    MEMBER(ecc200_picture, width, JS_INT32),
    MEMBER(ecc200_picture, height, JS_INT32),
    MEMBER(ecc200_picture, quiet_zone, JS_INT32),
    MEMBER(ecc200_picture, module_cm, JS_DOUBLE),
    MEMBER(ecc200_picture, module_px, JS_INT32),
    MEMBER(ecc200_picture, dpi, JS_INT32),
    MEMBER(ecc200_picture, quarter_turns, JS_INT32),
    MEMBER(ecc200_picture, border, JS_INT32),
    MEMBER(ecc200_picture, bar, JS_UINT32),
    MEMBER(ecc200_picture, background, JS_UINT32),
    MEMBER(ecc200_picture, allow_crop, JS_INT32),
    MEMBER(ecc200_picture, seamless, JS_INT32),
    MEMBER(ecc200_picture, zpl_z64, JS_INT32),
    MEMBER(ecc200_picture, zpl_field_only, JS_INT32),
    MEMBER(ecc200_picture, hri, JS_INT32),
};

static const js_field diagnostic_fields[] = {
    MEMBER(ecc200_diagnostic, codewords_needed, JS_INT32),
    MEMBER(ecc200_diagnostic, capacity, JS_INT32),
    MEMBER(ecc200_diagnostic, message, JS_TEXT),
    MEMBER(ecc200_diagnostic, needed_width, JS_INT32),
    MEMBER(ecc200_diagnostic, needed_height, JS_INT32),
};

static const js_struct structs[] = {
    {"encode_options", sizeof(ecc200_encode_options), encode_options_fields, COUNT(encode_options_fields)},
    {"picture", sizeof(ecc200_picture), picture_fields, COUNT(picture_fields)},
    {"diagnostic", sizeof(ecc200_diagnostic), diagnostic_fields, COUNT(diagnostic_fields)},
    {NULL, 0, NULL, 0},
};

const js_struct *js_structs(void) { return structs; }

/* The words the package takes for the members whose values are named
 * (encodation: "c40" is ECC200_ENCODATION_C40). */
typedef struct js_choice {
    const char *member; /* NULL ends the table */
    const char *word;
    int32_t value;
} js_choice;

static const js_choice choices[] = {
    {"encodation", "auto", ECC200_ENCODATION_AUTO},
    {"encodation", "ascii", ECC200_ENCODATION_ASCII},
    {"encodation", "c40", ECC200_ENCODATION_C40},
    {"encodation", "text", ECC200_ENCODATION_TEXT},
    {"encodation", "x12", ECC200_ENCODATION_X12},
    {"encodation", "edifact", ECC200_ENCODATION_EDIFACT},
    {"encodation", "base256", ECC200_ENCODATION_BASE256},
    {"shape", "square", ECC200_SHAPE_SQUARE},
    {"shape", "rectangle", ECC200_SHAPE_RECTANGLE},
    {"shape", "any", ECC200_SHAPE_ANY},
    {"border", "none", ECC200_BORDER_NONE},
    {"border", "dashed", ECC200_BORDER_DASHED},
    {"border", "solid", ECC200_BORDER_SOLID},
    {NULL, NULL, 0},
};

const js_choice *js_choices(void) { return choices; }

/* The package's Ecc200Error.code of each status: the macro's name. */
typedef struct js_status {
    const char *code; /* NULL ends the table */
    ecc200_status status;
} js_status;

#define STATUS(name) {#name, ECC200_##name}
static const js_status statuses[] = {
    STATUS(INVALID_ARGUMENT), STATUS(MESSAGE_TOO_LONG), STATUS(PICTURE_TOO_LARGE),
    STATUS(OUT_OF_MEMORY),    STATUS(FILE_ERROR),       STATUS(UNSUPPORTED),
    STATUS(SYMBOL_CROPPED),   STATUS(BUFFER_TOO_SMALL), STATUS(WRITE_REFUSED),
    STATUS(INVALID_DATA),     {NULL, 0},
};

const js_status *js_statuses(void) { return statuses; }

/* The formats the package draws: each becomes a method of its Symbol under
 * this name (symbol.png()), a toDataURL format and a download of the
 * generator page. `text` formats are returned as a string. */
typedef struct js_format {
    const char *name; /* NULL ends the table */
    ecc200_format format;
    const char *media_type;
    int32_t text;
} js_format;

static const js_format formats[] = {
    {"png", ECC200_FORMAT_PNG, "image/png", 0},
    {"svg", ECC200_FORMAT_SVG, "image/svg+xml", 1},
    {"bmp", ECC200_FORMAT_BMP, "image/bmp", 0},
    {"wmf", ECC200_FORMAT_WMF, "image/wmf", 0},
    {"emf", ECC200_FORMAT_EMF, "image/emf", 0},
    {"zpl", ECC200_FORMAT_ZPL, "application/zpl", 0},
    {"pdf", ECC200_FORMAT_PDF, "application/pdf", 0},
    {"eps", ECC200_FORMAT_EPS, "application/postscript", 0},
    {NULL, 0, NULL, 0},
};

const js_format *js_formats(void) { return formats; }
