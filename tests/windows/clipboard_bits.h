/* The enhanced metafile on the real clipboard, read back as bytes. */
#ifndef ECC200_CONFORMANCE_CLIPBOARD_BITS_H
#define ECC200_CONFORMANCE_CLIPBOARD_BITS_H

/* GetClipboardData(CF_ENHMETAFILE) and GetEnhMetaFileBits: the bytes in
 * memory from malloc, or NULL when the clipboard cannot be opened or holds
 * no enhanced metafile. */
unsigned char *ClipboardBits(unsigned int *size);

#endif
