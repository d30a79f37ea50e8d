"""save_bmp, save_wmf and copy_to_clipboard: the nine DM* functions of the
first release, which share one process-wide settings record.

Every call sets every setting before it draws, so calls do not depend on one
another; a lock keeps the threads of this process from interleaving their
settings. Where the C functions quietly replace a value they cannot use (a
size of 0 becomes 500, a colour component of 300 becomes 0, a message is cut
after 1999 bytes), this layer refuses it instead, before calling the
library. The nine always draw a symbol the picture cuts; such a call warns
with CroppedSymbolWarning, found out by drawing the same picture through the
per-call interface, which reports ECC200_SYMBOL_CROPPED for it."""
import ctypes
import os
import threading
import warnings
from typing import Optional, Tuple, Union

from . import _options
from ._errors import SYMBOL_CROPPED, legacy_error, new_diagnostic
from ._exceptions import CroppedSymbolWarning, InvalidArgument, InvalidData
from ._message import Data, message_bytes
from ._native import CALL_PROTOTYPES, SymbolPointer, WriteFunction, clear_error, last_error, library
from ._options import INT_MAX
from ._paths import PathLike, path_bytes

MAX_MESSAGE_BYTES = 1999
BORDERS = _options.BORDERS
Rgb = Tuple[int, int, int]

_call_lock = threading.Lock()

# What each output draws, in the per-call interface's formats.
_OUTPUT_FORMATS = {"DMSaveAsBMP": "bmp", "DMSaveAsWMF": "wmf", "DMCopyToClipboard": "emf"}


def encode_message(message: Data) -> bytes:
    """The bytes the symbol will hold: bytes and bytearray as they are, str in
    ISO 8859-1 (the symbol's default character set). Refuses a character
    outside ISO 8859-1, a zero byte (the C string would end there) and more
    than 1999 bytes (the library would cut the rest)."""
    data = message_bytes(message)
    if b"\0" in data:
        raise InvalidData(f"message holds a zero byte at index {data.index(0)}; the library reads up to the first one")
    if len(data) > MAX_MESSAGE_BYTES:
        raise InvalidArgument(f"message is {len(data)} bytes long; the library takes at most {MAX_MESSAGE_BYTES}")
    return data


def _border(value: Union[str, int]) -> int:
    if isinstance(value, str):
        return _options.choice("border", value, BORDERS)
    return _options.integer("border", value, 0, 2)


class _Settings:
    """The checked settings of one call of the nine functions."""

    def __init__(self, message: Data, width: int, height: int, module_cm: float, orientation: int,
                 border: Union[str, int], bar: Rgb, background: Rgb) -> None:
        self.data = encode_message(message)
        self.width = _options.integer("width", width, 1, INT_MAX)
        self.height = _options.integer("height", height, 1, INT_MAX)
        self.module_cm = _options.module_cm(module_cm)
        self.orientation = _options.integer("orientation", orientation, 0, 3)
        self.border = _border(border)
        self.border_name = next(name for name, value in BORDERS.items() if value == self.border)
        self.bar = _options.colour("bar", bar)
        self.background = _options.colour("background", background)


def _draw(function: str, target: Optional[PathLike], settings: _Settings) -> None:
    """Sets every setting, then calls the output."""
    path = path_bytes(target) if target is not None else None
    lib = library()
    with _call_lock:
        lib.DMSetSize(settings.width, settings.height)
        lib.DMSetMessage(settings.data)
        lib.DMSetInfo(settings.module_cm, settings.orientation, settings.border)
        lib.DMSetBarColor(*settings.bar)
        lib.DMSetBackColor(*settings.background)
        clear_error()
        output = getattr(lib, function)
        ok = output(path) if path is not None else output()
        error = last_error()
    if not ok:
        raise legacy_error(function, error, os.fspath(target) if target is not None else None)


def _refuse(context: Optional[int], data: object, size: int) -> int:
    return 0  # ECC200_WRITE_REFUSED: only the status before the first byte is wanted


_refuse_writes = WriteFunction(_refuse)


def is_cropped(function: str, settings: _Settings) -> bool:
    """Whether the picture of this call cuts the symbol: the same picture
    drawn through the per-call interface without allow_crop. False for a
    library of the first release, which cannot tell."""
    lib = library()
    if not all(hasattr(lib, name) for name in CALL_PROTOTYPES):
        return False
    handle, diagnostic = SymbolPointer(), new_diagnostic()
    if lib.ecc200_encode(settings.data, len(settings.data), None, ctypes.byref(handle), ctypes.byref(diagnostic)):
        return False
    try:
        picture = _options.picture(size=(settings.width, settings.height), module_cm_=settings.module_cm,
                                   quarter_turns=settings.orientation, border=settings.border_name,
                                   dark=settings.bar, light=settings.background)
        status = lib.ecc200_render_to(handle, ctypes.byref(picture), _options.FORMATS[_OUTPUT_FORMATS[function]],
                                      _refuse_writes, None, ctypes.byref(diagnostic))
        return bool(status == SYMBOL_CROPPED)
    finally:
        lib.ecc200_symbol_free(handle)


def _draw_and_warn(function: str, target: Optional[PathLike], settings: _Settings) -> None:
    _draw(function, target, settings)
    if is_cropped(function, settings):
        where = f" {os.fspath(target)!r}" if target is not None else ""
        warnings.warn(f"{function}{where}: the {settings.width} x {settings.height} picture cuts the symbol; "
                      "enlarge it or make the modules smaller", CroppedSymbolWarning, stacklevel=3)


def save_bmp(path: PathLike, message: Data, *, width: int = 500, height: int = 300, module_cm: float = 0.2,
             orientation: int = 0, border: Union[str, int] = "none", bar: Rgb = (0, 0, 0),
             background: Rgb = (255, 255, 255)) -> None:
    """Writes the symbol for message into a one-bit BMP file of width x height
    pixels: modules of module_cm centimetres at the screen's resolution,
    turned counter-clockwise by orientation quarter turns (0 to 3), with a
    border of "none", "dashed" or "solid" (or 0, 1, 2), bar and background
    colours as (red, green, blue) from 0 to 255. The defaults are
    DMSetDefault's. Raises Ecc200Error when the library returns 0; an
    existing file is then left as it was. Warns with CroppedSymbolWarning
    when the picture cuts the symbol."""
    settings = _Settings(message, width, height, module_cm, orientation, border, bar, background)
    _draw_and_warn("DMSaveAsBMP", path, settings)


def save_wmf(path: PathLike, message: Data, *, width: int = 500, height: int = 300, module_cm: float = 0.2,
             orientation: int = 0, border: Union[str, int] = "none", bar: Rgb = (0, 0, 0),
             background: Rgb = (255, 255, 255)) -> None:
    """Writes the symbol into a placeable Windows metafile; as save_bmp."""
    settings = _Settings(message, width, height, module_cm, orientation, border, bar, background)
    _draw_and_warn("DMSaveAsWMF", path, settings)


def copy_to_clipboard(message: Data, *, width: int = 500, height: int = 300, module_cm: float = 0.2,
                      orientation: int = 0, border: Union[str, int] = "none", bar: Rgb = (0, 0, 0),
                      background: Rgb = (255, 255, 255)) -> None:
    """Puts the symbol on the clipboard as an enhanced metafile; as save_bmp.
    Off Windows the library keeps its own clipboard inside the process."""
    settings = _Settings(message, width, height, module_cm, orientation, border, bar, background)
    _draw_and_warn("DMCopyToClipboard", None, settings)
