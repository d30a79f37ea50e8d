/* clipboard_to_file FILE: writes the enhanced metafile that another program
 * put on the real clipboard to FILE, so that it can be compared with the
 * same picture saved as a file. Exits 1 when the clipboard holds none. */
#include <stdio.h>
#include <stdlib.h>

#include "clipboard_bits.h"

int main(int argc, char **argv) {
    unsigned int size = 0;
    unsigned char *bits;
    FILE *file;
    int written;
    if (argc != 2) {
        fprintf(stderr, "usage: clipboard_to_file FILE\n");
        return 2;
    }
    bits = ClipboardBits(&size);
    if (bits == NULL || size == 0) {
        fprintf(stderr, "clipboard_to_file: the clipboard holds no enhanced metafile\n");
        return 1;
    }
    file = fopen(argv[1], "wb");
    written = file != NULL && fwrite(bits, 1, size, file) == size;
    if (file != NULL && fclose(file) != 0) written = 0;
    free(bits);
    if (!written) fprintf(stderr, "clipboard_to_file: cannot write %s\n", argv[1]);
    return written ? 0 : 1;
}
