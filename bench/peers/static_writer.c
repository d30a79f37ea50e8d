/* ecc200_static_writer FILE: the least a program can do to give what
 * `ecc200 -o FILE 12` gives: create FILE (it must not exist) and write the
 * tool's BMP bytes of "12", embedded at build time (reference_bmp.h from
 * the tool's own output), then exit. Linked statically, like the tool, so
 * that the start-up comparison measures what the tool adds to this. */
#include <fcntl.h>
#include <stddef.h>
#include <unistd.h>

#include "reference_bmp.h"

enum { kNewFileMode = 0666 };

int main(int argc, char **argv) {
    size_t written = 0;
    int file = -1;
    if (argc != 2) return 2;
    file = open(argv[1], O_WRONLY | O_CREAT | O_EXCL, kNewFileMode);
    if (file < 0) return 1;
    while (written < sizeof kReferenceBmp) {
        const ssize_t count = write(file, kReferenceBmp + written, sizeof kReferenceBmp - written);
        if (count <= 0) {
            close(file);
            return 1;
        }
        written += (size_t)count;
    }
    return close(file) == 0 ? 0 : 1;
}
