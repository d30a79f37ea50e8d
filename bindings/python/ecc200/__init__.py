"""ECC 200 Data Matrix symbols (ISO/IEC 16022) from Python, through the
ecc200 shared library (libecc200.so.1 beside this package or the system's;
ecc200.dll on Windows).

    import ecc200
    sym = ecc200.encode("Hello, world")
    sym.rows, sym.columns, sym[0, 0]      # 16, 16, True
    png = sym.png(module_px=4)            # bytes, also bmp(), wmf(), emf(), zpl(); svg() is str
    sym.save("label.svg", quiet_zone=4)   # the format from the extension
    print(sym)                            # a preview in half-block characters

Every call of the per-call interface (encode, the rendering methods, save)
is independent and takes no lock: threads run them in parallel.

Every exception the package raises is an Ecc200Error, and also the
built-in one its kind calls for: a bad value raises InvalidArgument (a
ValueError), a value of the wrong type ArgumentTypeError (a TypeError), the
library's refusals MessageTooLong, InvalidData, SymbolCropped,
PictureTooLarge (ValueErrors), OutOfMemory (a MemoryError) or Unsupported;
a file that cannot be written raises FileError, an OSError with errno and
the file name that is also the standard library's class for that errno
(FileNotFoundError, PermissionError, ...).

The nine functions of the first release remain as save_bmp, save_wmf and
copy_to_clipboard; library() gives the C functions themselves.
"""
from importlib import metadata as _metadata

from ._exceptions import (ArgumentTypeError, CroppedSymbolWarning, Ecc200Error, FileError, InvalidArgument,
                          InvalidData, LibraryError, MessageTooLong, OutOfBounds, OutOfMemory, PictureTooLarge,
                          SymbolCropped, Unsupported)
from ._legacy import BORDERS, MAX_MESSAGE_BYTES, copy_to_clipboard, encode_message, save_bmp, save_wmf
from ._native import ENVIRONMENT_VARIABLE, LIBRARY_NAME, library
from ._options import ENCODATIONS, FORMATS, SHAPES
from ._pixels import Pixels
from ._symbol import Symbol, encode

__all__ = ["encode", "Symbol", "Pixels", "Ecc200Error", "MessageTooLong", "InvalidArgument", "InvalidData",
           "ArgumentTypeError", "OutOfBounds", "FileError", "LibraryError", "PictureTooLarge", "OutOfMemory",
           "Unsupported", "SymbolCropped", "CroppedSymbolWarning",
           "save_bmp", "save_wmf", "copy_to_clipboard", "encode_message", "library", "library_version",
           "ENVIRONMENT_VARIABLE", "LIBRARY_NAME", "MAX_MESSAGE_BYTES", "BORDERS", "ENCODATIONS", "SHAPES",
           "FORMATS"]


def _package_version() -> str:
    """The installed distribution's version, which is the project's (the
    build takes it from CMake); "unknown" when run from the source tree."""
    try:
        return _metadata.version("ecc200")
    except _metadata.PackageNotFoundError:
        return "unknown"


__version__ = _package_version()


def library_version() -> str:
    """The loaded library's version (ecc200_version)."""
    version: bytes = library().ecc200_version()
    return version.decode("ascii")
