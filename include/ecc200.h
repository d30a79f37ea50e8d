/* ecc200: square ECC 200 Data Matrix symbols (ISO/IEC 16022) drawn as a
 * placeable Windows metafile, a one-bit BMP file or an enhanced metafile on
 * the clipboard.
 *
 * The library keeps one settings record per process. The setters below only
 * store values in it; each output function then encodes the current message
 * from scratch, chooses the smallest square symbol that holds it and draws
 * it. All functions take one process-wide lock, so overlapping calls are
 * serialised; callers should still drive the library from one thread at a
 * time, since settings made by one caller apply to the outputs of all. */
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

#ifdef __cplusplus
extern "C" {
#endif

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

#ifdef __cplusplus
}
#endif

#endif /* ECC200_H */
