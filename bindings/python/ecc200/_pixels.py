"""The pixels of a picture as a 2-D array of bytes, read from the library's
one-bit BMP, for numpy and Pillow without importing either."""
import struct
from typing import Any, Dict, List, Tuple

from ._exceptions import InvalidData, OutOfBounds
DARK_PIXEL = 0
LIGHT_PIXEL = 255

# BITMAPFILEHEADER and BITMAPINFOHEADER fields read here (offsets in the file).
_PIXEL_OFFSET = 10
_WIDTH = 18
_HEIGHT = 22
_BITS_PER_PIXEL = 28
_PALETTE = 54        # two RGBQUAD entries (blue, green, red, reserved)
_ROW_ALIGNMENT = 4   # each row padded to a multiple of four bytes


class Pixels:
    """`height` rows of `width` bytes in `data`, row 0 at the top, 0 where
    the picture is dark and 255 where it is light. Exposes
    __array_interface__ (numpy.asarray, PIL.Image.fromarray) and tobytes()."""

    def __init__(self, width: int, height: int, data: bytes) -> None:
        self.width = width
        self.height = height
        self.data = data

    @property
    def __array_interface__(self) -> Dict[str, Any]:
        return {"version": 3, "shape": (self.height, self.width), "typestr": "|u1", "data": self.data,
                "strides": (self.width, 1)}

    def tobytes(self) -> bytes:
        return self.data

    def __getitem__(self, position: Tuple[int, int]) -> int:
        y, x = position
        if not (0 <= y < self.height and 0 <= x < self.width):
            raise OutOfBounds(f"pixel ({y}, {x}) is outside {self.height} x {self.width}")
        return self.data[y * self.width + x]


def _expansions(dark_index: int) -> List[bytes]:
    """For every byte of eight pixels (first pixel in the high bit), their
    eight grey values."""
    grey = [LIGHT_PIXEL, LIGHT_PIXEL]
    grey[dark_index] = DARK_PIXEL
    return [bytes(grey[(value >> (7 - bit)) & 1] for bit in range(8)) for value in range(256)]


def pixels_of_bmp(bmp: bytes, bar: int) -> Pixels:
    """The pixels of a one-bit bottom-up BMP whose palette holds the bar
    colour 0xRRGGBB (the entry that is not the bar colour is light)."""
    offset, = struct.unpack_from("<I", bmp, _PIXEL_OFFSET)
    width, height = struct.unpack_from("<ii", bmp, _WIDTH)
    bits, = struct.unpack_from("<H", bmp, _BITS_PER_PIXEL)
    if bits != 1 or width <= 0 or height <= 0:
        raise InvalidData(f"not a bottom-up one-bit BMP: {width} x {height}, {bits} bits per pixel")
    blue, green, red = bmp[_PALETTE], bmp[_PALETTE + 1], bmp[_PALETTE + 2]
    dark_index = 0 if (red << 16 | green << 8 | blue) == bar else 1
    expansions = _expansions(dark_index)
    stride = (width + 8 * _ROW_ALIGNMENT - 1) // (8 * _ROW_ALIGNMENT) * _ROW_ALIGNMENT
    rows = []
    for y in range(height):
        start = offset + (height - 1 - y) * stride
        rows.append(b"".join(expansions[value] for value in bmp[start:start + stride])[:width])
    return Pixels(width, height, b"".join(rows))
