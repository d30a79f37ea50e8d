/* Plays a scenario list against a bound library, line by line.
 *
 * A scenario list is text, one command per line; blank lines and lines
 * starting with '#' are skipped, words are separated by single spaces:
 *
 *   scenario NAME              names the results that follow
 *   default                    DMSetDefault()
 *   size W H                   DMSetSize(W, H)
 *   message [HEX]              DMSetMessage with these bytes (none: "")
 *   message-fill HEX COUNT     DMSetMessage with HEX repeated to COUNT bytes
 *   message-null               DMSetMessage(NULL)
 *   info BITS ORIENT BORDER    DMSetInfo; BITS is the double's IEEE 754
 *                              bit pattern in 16 hexadecimal digits, so
 *                              every platform passes the very same value
 *   back R G B / bar R G B     DMSetBackColor / DMSetBarColor
 *   bmp PATH / wmf PATH        DMSaveAsBMP / DMSaveAsWMF; the PATH words
 *                              NULL and EMPTY pass NULL and ""
 *   clip PATH                  DMCopyToClipboard, then the enhanced metafile
 *                              on the clipboard written to PATH
 *   mkdir PATH                 creates a directory (to save onto)
 *   readonly PATH              marks a file read-only (chmod 0444, FILE_ATTRIBUTE_READONLY)
 *   note WORD                  copies WORD into the results, for the
 *                              checkers that read them
 *
 * Each output writes one result line: "NAME bmp PATH 1", "NAME clip 0", and
 * after a clip "NAME clipboard PATH SIZE", "NAME clipboard empty" or
 * "NAME clipboard unreadable". */
#ifndef ECC200_CONFORMANCE_SCENARIO_PLAYER_H
#define ECC200_CONFORMANCE_SCENARIO_PLAYER_H

#include <stdio.h>

#include "binding.h"

typedef struct PlayCounts {
    long scenarios;
    long calls;  /* calls into the library */
} PlayCounts;

/* Plays `text` (the whole list, zero-terminated; modified while parsed).
 * Returns 0, or -1 after printing the line that could not be understood. */
int PlayScenarios(char *text, const DmLibrary *library, FILE *results, PlayCounts *counts);

#endif
