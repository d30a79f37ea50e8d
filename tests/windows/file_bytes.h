/* Whole files read into memory, for the runner and the checkers. */
#ifndef ECC200_CONFORMANCE_FILE_BYTES_H
#define ECC200_CONFORMANCE_FILE_BYTES_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The file's bytes followed by one zero byte (so that text can be parsed in
 * place), in memory from malloc; NULL when the file cannot be read. */
unsigned char *ReadFileBytes(const char *path, size_t *size);

#ifdef __cplusplus
}
#endif

#endif
