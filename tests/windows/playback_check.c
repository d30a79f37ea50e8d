/* playback_check RESULTS DIR [SEAMLESS-DIR]
 *
 * Plays every WMF and EMF that a conformance run wrote back through real GDI
 * and compares the picture with the BMP of the same scenario: each is
 * played onto a fresh bitmap of the BMP's size (black, as the BMP's own
 * bitmap starts), read back at 32 bits per pixel and sent through the one-bit
 * rule (white exactly when r + g + b >= 383); every pixel must equal the
 * BMP's. A WMF is played 1:1 with PlayMetaFile; an EMF with PlayEnhMetaFile
 * into the rectangle of its own rclBounds, where GDI maps its frame onto
 * the pixels it was recorded at, which also checks that bounds and frame
 * agree.
 *
 * Which files belong together comes from the RESULTS of the run: a
 * scenario's successful BMP, its successful WMFs and the metafiles read back
 * from the clipboard after a successful DMCopyToClipboard. A scenario noted
 * "wmf-coordinates-beyond-16-bits" draws where a WMF cannot record, and one
 * noted "emf-frame-beyond-32-bits" has bounds whose frame GDI computes with
 * a wrapped product; those metafiles are not played.
 *
 * With SEAMLESS-DIR, the seamless WMF and EMF that make_scenarios wrote
 * there for a scenario (NAME.wmf, NAME.emf) are played the same way against
 * the scenario's BMP. Their modules are clipped to the picture, so none is
 * beyond what its format holds and every one is played. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "file_bytes.h"

#define PLACEABLE_HEADER_SIZE 22
#define BMP_ROWS_OFFSET 62

typedef struct Picture {
    int width;
    int height;
    int rowBytes;
    const unsigned char *rows; /* bottom-up, one bit per pixel */
    unsigned char *file;
} Picture;

typedef struct Tally {
    int equal;
    int differing;
    int skipped;
} Tally;

static unsigned ReadU32(const unsigned char *p) {
    return p[0] | (unsigned)p[1] << 8 | (unsigned)p[2] << 16 | (unsigned)p[3] << 24;
}

static int LoadBmp(const char *path, Picture *picture) {
    size_t size = 0;
    picture->file = ReadFileBytes(path, &size);
    if (picture->file == NULL || size < BMP_ROWS_OFFSET) return -1;
    picture->width = (int)ReadU32(picture->file + 18);
    picture->height = (int)ReadU32(picture->file + 22);
    picture->rowBytes = ((picture->width + 31) / 32) * 4;
    picture->rows = picture->file + BMP_ROWS_OFFSET;
    if (size < BMP_ROWS_OFFSET + (size_t)picture->rowBytes * (size_t)picture->height) return -1;
    return 0;
}

static int BmpPixel(const Picture *picture, int x, int y) {
    const unsigned char *row = picture->rows + (size_t)(picture->height - 1 - y) * (size_t)picture->rowBytes;
    return (row[x / 8] >> (7 - x % 8)) & 1;
}

/* A fresh screen-compatible bitmap of the picture's size in a memory
 * context, as the BMP output draws on. */
typedef struct Canvas {
    HDC screen;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ original; /* the memory context's own bitmap */
} Canvas;

static int OpenCanvas(Canvas *canvas, int width, int height) {
    canvas->screen = GetDC(NULL);
    canvas->dc = CreateCompatibleDC(canvas->screen);
    canvas->bitmap = CreateCompatibleBitmap(canvas->screen, width, height);
    if (canvas->dc == NULL || canvas->bitmap == NULL) return -1;
    canvas->original = SelectObject(canvas->dc, canvas->bitmap);
    return 0;
}

static void CloseCanvas(Canvas *canvas) {
    if (canvas->dc != NULL) DeleteDC(canvas->dc);
    if (canvas->bitmap != NULL) DeleteObject(canvas->bitmap);
    ReleaseDC(NULL, canvas->screen);
}

/* The number of pixels whose one-bit value differs from the BMP's, or -1. */
static long CountDifferences(Canvas *canvas, const Picture *picture) {
    BITMAPINFO info;
    unsigned char *pixels = malloc((size_t)picture->width * (size_t)picture->height * 4);
    long differing = 0;
    int x, y;
    if (pixels == NULL) return -1;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture->width;
    info.bmiHeader.biHeight = -picture->height; /* top-down */
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    /* GetDIBits wants the bitmap out of every context. */
    SelectObject(canvas->dc, canvas->original);
    if (GetDIBits(canvas->dc, canvas->bitmap, 0, (UINT)picture->height, pixels, &info, DIB_RGB_COLORS) !=
        picture->height) {
        free(pixels);
        return -1;
    }
    for (y = 0; y < picture->height; ++y) {
        for (x = 0; x < picture->width; ++x) {
            const unsigned char *bgra = pixels + ((size_t)y * (size_t)picture->width + (size_t)x) * 4;
            int white = bgra[0] + bgra[1] + bgra[2] >= 383;
            if (white != BmpPixel(picture, x, y)) ++differing;
        }
    }
    free(pixels);
    return differing;
}

static long PlayWmf(const char *path, const Picture *picture) {
    size_t size = 0;
    unsigned char *file = ReadFileBytes(path, &size);
    Canvas canvas = {NULL, NULL, NULL, NULL};
    HMETAFILE metafile;
    long differing = -1;
    if (file == NULL || size <= PLACEABLE_HEADER_SIZE) {
        free(file);
        return -1;
    }
    metafile = SetMetaFileBitsEx((UINT)(size - PLACEABLE_HEADER_SIZE), file + PLACEABLE_HEADER_SIZE);
    if (metafile != NULL && OpenCanvas(&canvas, picture->width, picture->height) == 0 &&
        PlayMetaFile(canvas.dc, metafile)) {
        differing = CountDifferences(&canvas, picture);
    }
    CloseCanvas(&canvas);
    if (metafile != NULL) DeleteMetaFile(metafile);
    free(file);
    return differing;
}

static long PlayEmf(const char *path, const Picture *picture) {
    size_t size = 0;
    unsigned char *file = ReadFileBytes(path, &size);
    Canvas canvas = {NULL, NULL, NULL, NULL};
    HENHMETAFILE metafile;
    ENHMETAHEADER header;
    long differing = -1;
    if (file == NULL) return -1;
    metafile = SetEnhMetaFileBits((UINT)size, file);
    if (metafile != NULL && GetEnhMetaFileHeader(metafile, sizeof header, &header) != 0 &&
        OpenCanvas(&canvas, picture->width, picture->height) == 0) {
        RECT bounds;
        bounds.left = header.rclBounds.left;
        bounds.top = header.rclBounds.top;
        bounds.right = header.rclBounds.right;
        bounds.bottom = header.rclBounds.bottom;
        if (PlayEnhMetaFile(canvas.dc, metafile, &bounds)) differing = CountDifferences(&canvas, picture);
    }
    CloseCanvas(&canvas);
    if (metafile != NULL) DeleteEnhMetaFile(metafile);
    free(file);
    return differing;
}

static void Judge(const char *scenario, const char *path, long differing, const Picture *picture, Tally *tally) {
    if (differing == 0) {
        ++tally->equal;
        return;
    }
    ++tally->differing;
    if (differing < 0) {
        printf("%s: %s could not be played\n", scenario, path);
    } else {
        printf("%s: %s differs from the BMP in %ld of %ld pixels\n", scenario, path, differing,
               (long)picture->width * picture->height);
    }
}

/* One result line: "NAME KIND [PATH] RESULT" or "NAME clipboard PATH SIZE". */
typedef struct ResultLine {
    char scenario[128];
    char kind[16];
    char path[260];
    char last[32];
} ResultLine;

static int ParseLine(const char *text, ResultLine *line) {
    line->path[0] = '\0';
    line->last[0] = '\0';
    return sscanf(text, "%127s %15s %259s %31s", line->scenario, line->kind, line->path, line->last);
}

typedef struct Tallies {
    Tally wmf;
    Tally emf;
    Tally seamlessWmf;
    Tally seamlessEmf;
} Tallies;

/* Plays the scenario's seamless metafiles, where make_scenarios wrote them. */
static void CheckSeamless(const char *directory, const char *scenario, const Picture *picture, Tallies *tallies) {
    char path[600];
    snprintf(path, sizeof path, "%s\\%s.wmf", directory, scenario);
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
        Judge(scenario, path, PlayWmf(path, picture), picture, &tallies->seamlessWmf);
    }
    snprintf(path, sizeof path, "%s\\%s.emf", directory, scenario);
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
        Judge(scenario, path, PlayEmf(path, picture), picture, &tallies->seamlessEmf);
    }
}

/* Checks the scenario whose lines run from `first` to just before `end`. */
static void CheckScenario(char **lines, int first, int end, const char *seamlessDir, Tallies *tallies) {
    Tally *wmf = &tallies->wmf;
    Tally *emf = &tallies->emf;
    Picture picture = {0, 0, 0, NULL, NULL};
    int wmfUnplayable = 0;
    int emfUnplayable = 0;
    int clipOk = 0;
    int i;
    ResultLine line;
    for (i = first; i < end; ++i) {
        ParseLine(lines[i], &line);
        if (strcmp(line.kind, "bmp") == 0 && strcmp(line.last, "1") == 0 && picture.file == NULL) {
            if (LoadBmp(line.path, &picture) != 0) printf("%s: %s cannot be read\n", line.scenario, line.path);
        }
        if (strcmp(line.kind, "note") == 0) {
            wmfUnplayable |= strcmp(line.path, "wmf-coordinates-beyond-16-bits") == 0;
            emfUnplayable |= strcmp(line.path, "emf-frame-beyond-32-bits") == 0;
        }
    }
    for (i = first; i < end; ++i) {
        const int fields = ParseLine(lines[i], &line);
        const int haveBmp = picture.rows != NULL;
        if (strcmp(line.kind, "wmf") == 0 && strcmp(line.last, "1") == 0) {
            if (!haveBmp || wmfUnplayable) {
                ++wmf->skipped;
            } else {
                Judge(line.scenario, line.path, PlayWmf(line.path, &picture), &picture, wmf);
            }
        } else if (strcmp(line.kind, "clip") == 0) {
            clipOk = strcmp(line.path, "1") == 0;
        } else if (strcmp(line.kind, "clipboard") == 0 && fields == 4 && clipOk) {
            if (!haveBmp || emfUnplayable) {
                ++emf->skipped;
            } else {
                Judge(line.scenario, line.path, PlayEmf(line.path, &picture), &picture, emf);
            }
        }
    }
    if (seamlessDir != NULL && picture.rows != NULL) {
        ParseLine(lines[first], &line);
        CheckSeamless(seamlessDir, line.scenario, &picture, tallies);
    }
    free(picture.file);
}

/* Splits the text into lines in place; returns their number. */
static int SplitLines(char *text, char ***lines) {
    int count = 0;
    int capacity = 1024;
    char *line = text;
    *lines = malloc(sizeof **lines * (size_t)capacity);
    while (*lines != NULL && line != NULL && *line != '\0') {
        char *end = strchr(line, '\n');
        if (end != NULL) *end = '\0';
        if (count == capacity) {
            char **grown = realloc(*lines, sizeof **lines * (size_t)(capacity *= 2));
            if (grown == NULL) break;
            *lines = grown;
        }
        (*lines)[count++] = line;
        line = end != NULL ? end + 1 : NULL;
    }
    return count;
}

static void PrintTally(const char *what, const Tally *tally) {
    printf("%s played back: %d equal to the BMP, %d differ, %d not played\n", what, tally->equal, tally->differing,
           tally->skipped);
}

int main(int argc, char **argv) {
    Tallies tallies;
    size_t size = 0;
    char *text;
    char **lines = NULL;
    int count, first, i;
    const char *seamlessDir = argc == 4 ? argv[3] : NULL;
    memset(&tallies, 0, sizeof tallies);
    if (argc != 3 && argc != 4) {
        fprintf(stderr, "usage: playback_check RESULTS DIR [SEAMLESS-DIR]\n");
        return 2;
    }
    text = (char *)ReadFileBytes(argv[1], &size);
    if (text == NULL || !SetCurrentDirectoryA(argv[2])) {
        fprintf(stderr, "cannot read %s or enter %s\n", argv[1], argv[2]);
        return 2;
    }
    count = SplitLines(text, &lines);
    /* Lines of one scenario are adjacent and start with its name. */
    for (first = 0; first < count; first = i) {
        const size_t nameLength = strcspn(lines[first], " ");
        for (i = first + 1; i < count && strncmp(lines[i], lines[first], nameLength + 1) == 0; ++i) {
        }
        CheckScenario(lines, first, i, seamlessDir, &tallies);
    }
    PrintTally("WMF", &tallies.wmf);
    PrintTally("EMF", &tallies.emf);
    if (seamlessDir != NULL) {
        PrintTally("seamless WMF", &tallies.seamlessWmf);
        PrintTally("seamless EMF", &tallies.seamlessEmf);
    }
    free(lines);
    free(text);
    return tallies.wmf.differing == 0 && tallies.emf.differing == 0 && tallies.seamlessWmf.differing == 0 &&
                   tallies.seamlessEmf.differing == 0 && (seamlessDir == NULL || tallies.seamlessWmf.equal > 0)
               ? 0
               : 1;
}
