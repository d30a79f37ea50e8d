#include "file_bytes.h"

#include <stdio.h>
#include <stdlib.h>

unsigned char *ReadFileBytes(const char *path, size_t *size) {
    FILE *file = fopen(path, "rb");
    unsigned char *bytes = NULL;
    long length;
    if (file == NULL) return NULL;
    if (fseek(file, 0, SEEK_END) == 0 && (length = ftell(file)) >= 0 && fseek(file, 0, SEEK_SET) == 0) {
        bytes = malloc((size_t)length + 1);
        if (bytes != NULL && fread(bytes, 1, (size_t)length, file) == (size_t)length) {
            bytes[length] = 0;
            *size = (size_t)length;
        } else {
            free(bytes);
            bytes = NULL;
        }
    }
    fclose(file);
    return bytes;
}
