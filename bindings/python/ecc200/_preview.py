"""The symbol as text for a terminal, two module rows per line in half-block
characters, like the tool's preview: the glyphs are inked where the symbol
is light, so that it reads on a dark terminal as light on dark would print."""
from typing import Sequence

QUIET_ZONE = 2  # modules of light margin on every side

BOTH_LIGHT = "\u2588"    # full block
TOP_LIGHT = "\u2580"     # upper half block
BOTTOM_LIGHT = "\u2584"  # lower half block
BOTH_DARK = " "


def preview(matrix: Sequence[bytes]) -> str:
    rows, columns = len(matrix), len(matrix[0]) if matrix else 0

    def dark(row: int, col: int) -> bool:
        return 0 <= row < rows and 0 <= col < columns and matrix[row][col] != 0

    lines = []
    for row in range(-QUIET_ZONE, rows + QUIET_ZONE, 2):
        glyphs = []
        for col in range(-QUIET_ZONE, columns + QUIET_ZONE):
            top, bottom = dark(row, col), dark(row + 1, col)
            glyphs.append((BOTH_DARK if bottom else BOTTOM_LIGHT) if top else (TOP_LIGHT if bottom else BOTH_LIGHT))
        lines.append("".join(glyphs))
    return "\n".join(lines)
