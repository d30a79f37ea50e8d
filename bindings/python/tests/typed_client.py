"""A client of the package written the way its users write one: checked by
mypy --strict (binding_python_types), and run with --installed from the wheel
in a fresh virtual environment (binding_python_wheel), where it must find the
library the wheel carries and report the project's version."""
import errno
import io
import os
import pathlib
import subprocess
import sys
import tempfile
from typing import Optional, Tuple

import ecc200

MESSAGE = "Wheel ½"


def read_back(path: pathlib.Path) -> bytes:
    command = ["ZXingReader", "-bytes", "-format", "DataMatrix", str(path)]
    return subprocess.run(command, capture_output=True, check=True).stdout


def check_symbol(sym: ecc200.Symbol) -> Tuple[int, int]:
    rows: int = sym.rows
    matrix: Tuple[bytes, ...] = sym.matrix
    corner: bool = sym[rows - 1, 0]  # the solid L's corner (ISO/IEC 16022 4.1)
    assert corner and len(matrix) == rows and len(sym.codewords) > len(sym.data_codewords)
    return rows, sym.columns


def check_saving(sym: ecc200.Symbol, folder: pathlib.Path) -> None:
    path = folder / "symbol.bmp"
    sym.save(path, module_px=4, dark="#000080", light=(255, 255, 224))
    stream = io.BytesIO()
    sym.save(stream, "bmp", module_px=4, dark="#000080", light=(255, 255, 224))
    assert stream.getvalue() == path.read_bytes() == sym.bmp(module_px=4, dark="#000080", light=(255, 255, 224))
    assert read_back(path) == MESSAGE.encode("latin-1")


def check_pictures(sym: ecc200.Symbol) -> None:
    pixels: ecc200.Pixels = sym.to_image(module_px=2, quiet_zone=1)
    assert (pixels.width, pixels.height) == (2 * (sym.columns + 2), 2 * (sym.rows + 2))
    metafile: bytes = sym.emf(size=(400, 400), quarter_turns=1, border="dashed")
    assert metafile[:4] == b"\x01\x00\x00\x00"  # EMR_HEADER
    try:
        uri: str = sym.png_data_uri(module_px=2)
        inline: str = sym.svg_inline(quiet_zone=4)
        assert uri.startswith("data:image/png;base64,") and inline.startswith("<svg")
    except ecc200.Unsupported as error:  # a library without PNG and SVG yet
        print(f"ecc200: {error}")


def check_errors() -> Optional[int]:
    try:
        ecc200.encode("x").save(pathlib.Path(tempfile.gettempdir(), "no such folder", "x.png"))
    except ecc200.FileError as error:  # any failure of the package is an Ecc200Error
        code: Optional[int] = error.errno
        assert code == errno.ENOENT and isinstance(error, (ecc200.Ecc200Error, FileNotFoundError)), error
    else:
        raise AssertionError("a save into a missing folder raised nothing")
    try:
        ecc200.encode(b"\xff" * 1600)
    except ecc200.MessageTooLong as error:
        return error.codewords_needed
    return None


def check_installation() -> None:
    expected = os.environ["ECC200_VERSION"]
    assert ecc200.__version__ == expected, (ecc200.__version__, expected)
    package = pathlib.Path(ecc200.__file__).resolve().parent
    loaded = pathlib.Path(ecc200.library()._name).resolve()
    assert loaded.parent == package, f"{loaded} is not the library inside {package}"
    assert ecc200.library_version() == expected


def main(installed: bool) -> None:
    sym = ecc200.encode(MESSAGE)
    size = check_symbol(sym)
    with tempfile.TemporaryDirectory() as folder:
        check_saving(sym, pathlib.Path(folder))
    check_pictures(sym)
    needed = check_errors()
    assert needed is not None and needed > 1558
    if installed:
        check_installation()
    print(f"ecc200 {ecc200.__version__}: {size[0]} x {size[1]} symbol read back; 1600 bytes need {needed} codewords")
    print(sym)


if __name__ == "__main__":
    main("--installed" in sys.argv[1:])
