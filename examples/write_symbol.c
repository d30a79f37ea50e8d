/* Writes a message as an ECC 200 Data Matrix symbol into a BMP file:
 *
 *     write_symbol FILE.bmp [MESSAGE]
 *
 * The plainest use of the C interface: set what differs from the defaults,
 * then call one output, which returns 1 when the file is written. */
#include <stdio.h>

#include <ecc200.h>

int main(int argc, char **argv) {
    const char *message = argc == 3 ? argv[2] : "Hello from C";
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: write_symbol FILE.bmp [MESSAGE]\n");
        return 2;
    }

    DMSetDefault();          /* every setting is zero until then */
    DMSetSize(400, 400);     /* the picture, in pixels */
    DMSetMessage(message);   /* up to 1999 bytes, each 1 to 255 */
    DMSetInfo(0.2, 0, 2);    /* modules of 0.2 cm, no turn, a solid frame */
    if (DMSaveAsBMP(argv[1]) != 1) {
        fprintf(stderr, "write_symbol: cannot write %s\n", argv[1]);
        return 1;
    }
    printf("ecc200 %s: wrote %s\n", ECC200_VERSION_STRING, argv[1]);
    return 0;
}
