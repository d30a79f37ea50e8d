"""Square ECC 200 Data Matrix symbols (ISO/IEC 16022) from Python, through
the ecc200 shared library (ecc200.dll on Windows, libecc200.so.1 elsewhere).

    import ecc200
    ecc200.save_bmp("label.bmp", "Hello, world", module_cm=0.1)
    ecc200.save_wmf("label.wmf", b"\\x01\\x02 raw bytes", border="solid")
    ecc200.copy_to_clipboard("12")

Every call sets every setting of the library's one process-wide settings
record before it draws, so calls do not depend on one another; a lock keeps
the threads of this process from interleaving their settings.

Where the C functions quietly replace a value they cannot use (a size of 0
becomes 500, a colour component of 300 becomes 0, a message is cut after
1999 bytes), this layer refuses it instead, with ValueError (or TypeError for
a value of the wrong type), before calling the library. The nine C functions
themselves, with their exact types, are available through library().
"""
import ctypes
import errno as errno_codes
import math
import numbers
import operator
import os
import threading

from ._native import ENVIRONMENT_VARIABLE, LIBRARY_NAME, clear_error, last_error, library

__all__ = ["save_bmp", "save_wmf", "copy_to_clipboard", "encode_message", "Ecc200Error", "library",
           "ENVIRONMENT_VARIABLE", "LIBRARY_NAME", "MAX_MESSAGE_BYTES", "BORDERS"]
__version__ = "1.0.0"

MAX_MESSAGE_BYTES = 1999
BORDERS = {"none": 0, "dashed": 1, "solid": 2}
_INT_MAX = 2**31 - 1

_call_lock = threading.Lock()

_FAILURES = {
    "DMSaveAsBMP": "the message does not fit the largest symbol (144 x 144), the bitmap is too large for the "
                   "BMP format or for memory, or the file cannot be written",
    "DMSaveAsWMF": "the message does not fit the largest symbol (144 x 144), the picture is wider or taller "
                   "than 32767 pixels, or the file cannot be written",
    "DMCopyToClipboard": "the message does not fit the largest symbol (144 x 144) or the clipboard cannot "
                         "be opened",
}


class Ecc200Error(Exception):
    """An output of the library returned 0. `function` names it, `errno` is
    the system's error code it left (0 when none), `filename` the path."""

    def __init__(self, function, errno=0, filename=None):
        # The portable library leaves errno at the cause; E2BIG and EFBIG are
        # its own for a message or a picture too large. The DLL's last error
        # may come from any call it made, so it is only added as a hint.
        if errno and os.name == "nt":
            reason = f"{_FAILURES[function]} (last system error {errno}: {ctypes.FormatError(errno)})"
        elif errno == errno_codes.E2BIG:
            reason = "the message does not fit the largest symbol (144 x 144)"
        elif errno == errno_codes.EFBIG:
            reason = "the picture is too large for the file format"
        elif errno:
            reason = f"{os.strerror(errno)} (system error {errno})"
        else:
            reason = _FAILURES[function]
        where = f" {filename!r}" if filename is not None else ""
        super().__init__(f"{function}{where} failed: {reason}")
        self.function = function
        self.errno = errno
        self.filename = filename


def encode_message(message):
    """The bytes the symbol will hold: bytes and bytearray as they are, str in
    ISO 8859-1 (the symbol's default character set). Refuses a character
    outside ISO 8859-1, a zero byte (the C string would end there) and more
    than 1999 bytes (the library would cut the rest)."""
    if isinstance(message, str):
        try:
            data = message.encode("latin-1")
        except UnicodeEncodeError as error:
            raise ValueError(f"message character {message[error.start]!r} at index {error.start} is outside "
                             "ISO 8859-1; pass bytes to encode other data") from None
    elif isinstance(message, (bytes, bytearray)):
        data = bytes(message)
    else:
        raise TypeError(f"message must be str or bytes, not {type(message).__name__}")
    if b"\0" in data:
        raise ValueError(f"message holds a zero byte at index {data.index(0)}; the library reads up to the first one")
    if len(data) > MAX_MESSAGE_BYTES:
        raise ValueError(f"message is {len(data)} bytes long; the library takes at most {MAX_MESSAGE_BYTES}")
    return data


def _path_bytes(path):
    path = os.fspath(path)
    if isinstance(path, str) and os.name == "nt":
        # The DLL opens its files by their name in the ANSI code page.
        try:
            path = path.encode("mbcs", "strict")
        except UnicodeEncodeError:
            raise ValueError(f"path {path!r} cannot be written in the ANSI code page") from None
    data = os.fsencode(path)
    if not data or b"\0" in data:
        raise ValueError(f"path {path!r} is empty or holds a zero byte")
    return data


def _integer(name, value, low, high):
    if isinstance(value, bool) or not isinstance(value, numbers.Integral):
        raise TypeError(f"{name} must be an int, not {type(value).__name__}")
    value = operator.index(value)
    if not low <= value <= high:
        raise ValueError(f"{name} must be from {low} to {high}, not {value}")
    return value


def _module_size(value):
    if isinstance(value, bool) or not isinstance(value, numbers.Real):
        raise TypeError(f"module_cm must be a number, not {type(value).__name__}")
    # The library keeps the size in single precision; a value that becomes 0
    # there would silently reuse the previous call's module size.
    try:
        value = float(value)
    except OverflowError:
        value = math.inf
    single = ctypes.c_float(value).value
    if not (0 < single and math.isfinite(single)):
        raise ValueError(f"module_cm must be a finite number of centimetres greater than 0, not {value!r}")
    return value


def _colour(name, value):
    if not isinstance(value, (tuple, list)) or len(value) != 3:
        raise TypeError(f"{name} must be a (red, green, blue) triple, not {value!r}")
    return [_integer(name, component, 0, 255) for component in value]


def _border(value):
    if isinstance(value, str):
        if value not in BORDERS:
            raise ValueError(f"border must be one of {', '.join(BORDERS)} or 0 to 2, not {value!r}")
        return BORDERS[value]
    return _integer("border", value, 0, 2)


def _draw(function, target, message, width, height, module_cm, orientation, border, bar, background):
    """Checks every argument, then sets every setting and calls the output."""
    data = encode_message(message)
    settings = (_integer("width", width, 1, _INT_MAX), _integer("height", height, 1, _INT_MAX),
                _module_size(module_cm), _integer("orientation", orientation, 0, 3), _border(border),
                _colour("bar", bar), _colour("background", background))
    path = _path_bytes(target) if target is not None else None
    width, height, module_cm, orientation, border, bar, background = settings
    lib = library()
    with _call_lock:
        lib.DMSetSize(width, height)
        lib.DMSetMessage(data)
        lib.DMSetInfo(module_cm, orientation, border)
        lib.DMSetBarColor(*bar)
        lib.DMSetBackColor(*background)
        clear_error()
        output = getattr(lib, function)
        ok = output(path) if path is not None else output()
        error = last_error()
    if not ok:
        raise Ecc200Error(function, error, os.fspath(target) if target is not None else None)


def save_bmp(path, message, *, width=500, height=300, module_cm=0.2, orientation=0, border="none",
             bar=(0, 0, 0), background=(255, 255, 255)):
    """Writes the symbol for message into a one-bit BMP file of width x height
    pixels: modules of module_cm centimetres at the screen's resolution,
    turned counter-clockwise by orientation quarter turns (0 to 3), with a
    border of "none", "dashed" or "solid" (or 0, 1, 2), bar and background
    colours as (red, green, blue) from 0 to 255. The defaults are
    DMSetDefault's. Raises Ecc200Error when the library returns 0; an
    existing file is then left as it was."""
    _draw("DMSaveAsBMP", path, message, width, height, module_cm, orientation, border, bar, background)


def save_wmf(path, message, *, width=500, height=300, module_cm=0.2, orientation=0, border="none",
             bar=(0, 0, 0), background=(255, 255, 255)):
    """Writes the symbol into a placeable Windows metafile; as save_bmp."""
    _draw("DMSaveAsWMF", path, message, width, height, module_cm, orientation, border, bar, background)


def copy_to_clipboard(message, *, width=500, height=300, module_cm=0.2, orientation=0, border="none",
                      bar=(0, 0, 0), background=(255, 255, 255)):
    """Puts the symbol on the clipboard as an enhanced metafile; as save_bmp.
    Off Windows the library keeps its own clipboard inside the process."""
    _draw("DMCopyToClipboard", None, message, width, height, module_cm, orientation, border, bar, background)
