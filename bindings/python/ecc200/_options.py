"""The keywords of encode() and of the rendering methods, checked and put
into ecc200_encode_options and ecc200_picture.

Where the library would refuse a value, this layer refuses it first with
InvalidArgument, a ValueError (ArgumentTypeError, a TypeError, for a value
of the wrong type), naming the keyword.

Each struct starts as a copy of the one for the keywords' defaults, built
and checked once; only the keywords given another value are checked and
set. The library only reads the structs (const pointers), so the one of the
defaults is shared by every thread as it is."""
import ctypes
import math
import numbers
import operator
from typing import Dict, Optional, Sequence, Tuple, Union

from ._exceptions import ArgumentTypeError, InvalidArgument
from ._native import EncodeOptions, Picture, calls

INT_MAX = 2**31 - 1

ENCODATIONS = {"auto": 0, "ascii": 1, "c40": 2, "text": 3, "x12": 4, "edifact": 5, "base256": 6}
SHAPES = {"square": 0, "rectangle": 1, "any": 2}
BORDERS = {"none": 0, "dashed": 1, "solid": 2}
FORMATS = {"bmp": 1, "wmf": 2, "emf": 3, "png": 4, "svg": 5, "zpl": 6, "pdf": 7, "eps": 8}

MAX_ECI = 999999
MAX_APPENDED_SYMBOLS = 16
MAX_FILE_ID = 64516  # two codewords of 1 to 254 each (ISO/IEC 16022 5.6.2)

Colour = Union[str, Tuple[int, int, int]]
Size = Optional[Tuple[int, int]]
DARK: Colour = (0, 0, 0)
LIGHT: Colour = (255, 255, 255)
QUIET_ZONE = 2  # modules, the rendering methods' default


def integer(name: str, value: object, low: int, high: int) -> int:
    if type(value) is int:  # the common case, without the slower ABC check
        number = value
    elif isinstance(value, bool) or not isinstance(value, numbers.Integral):
        raise ArgumentTypeError(f"{name} must be an int, not {type(value).__name__}")
    else:
        number = operator.index(value)
    if not low <= number <= high:
        raise InvalidArgument(f"{name} must be from {low} to {high}, not {number}")
    return number


def flag(name: str, value: object) -> int:
    if not isinstance(value, bool):
        raise ArgumentTypeError(f"{name} must be True or False, not {value!r}")
    return int(value)


def choice(name: str, value: object, choices: Dict[str, int]) -> int:
    if not isinstance(value, str):
        raise ArgumentTypeError(f"{name} must be a str, not {type(value).__name__}")
    if value not in choices:
        raise InvalidArgument(f"{name} must be one of {', '.join(map(repr, choices))}, not {value!r}")
    return choices[value]


def pair(name: str, value: object) -> Sequence[object]:
    if not isinstance(value, (tuple, list)) or len(value) != 2:
        raise ArgumentTypeError(f"{name} must be a pair of ints, not {value!r}")
    return value


def module_cm(value: object) -> float:
    """A module edge in centimetres, greater than 0 even in single precision,
    where the nine functions keep it (else they would reuse the previous
    call's size)."""
    if isinstance(value, bool) or not isinstance(value, numbers.Real):
        raise ArgumentTypeError(f"module_cm must be a number, not {type(value).__name__}")
    try:
        number = float(value)
    except OverflowError:
        number = math.inf
    single = ctypes.c_float(number).value
    if not (0 < single and math.isfinite(single)):
        raise InvalidArgument(f"module_cm must be a finite number of centimetres greater than 0, not {number!r}")
    return number


def colour(name: str, value: object) -> Tuple[int, int, int]:
    """(red, green, blue) from 0 to 255, or "#rrggbb"."""
    if isinstance(value, str):
        digits = value[1:]
        if len(value) != 7 or value[0] != "#" or not all(c in "0123456789abcdefABCDEF" for c in digits):
            raise InvalidArgument(f"{name} must be '#rrggbb' or (red, green, blue), not {value!r}")
        return int(digits[0:2], 16), int(digits[2:4], 16), int(digits[4:6], 16)
    if not isinstance(value, (tuple, list)) or len(value) != 3:
        raise ArgumentTypeError(f"{name} must be a (red, green, blue) triple or '#rrggbb', not {value!r}")
    red, green, blue = (integer(name, component, 0, 255) for component in value)
    return red, green, blue


def rgb(name: str, value: object) -> int:
    """A colour as the library's 0xRRGGBB."""
    red, green, blue = colour(name, value)
    return red << 16 | green << 8 | blue


def encode_options(encodation: str, shape: str, dmre: bool, symbol_size: Size, gs1: bool, eci: Optional[int],
                   reader_init: bool, structured_append: Optional[Tuple[int, int, int]],
                   iso144: bool) -> EncodeOptions:
    if (_unchanged(encodation, "auto") and _unchanged(shape, "square") and dmre is False and symbol_size is None
            and gs1 is False and eci is None and reader_init is False and structured_append is None
            and iso144 is False):
        return _default_encode_options()
    options = EncodeOptions.from_buffer_copy(_default_encode_options())
    _set_encode_options(options, encodation, shape, dmre, symbol_size, gs1, eci, reader_init, structured_append,
                        iso144)
    return options


def _set_encode_options(options: EncodeOptions, encodation: str, shape: str, dmre: bool, symbol_size: Size,
                        gs1: bool, eci: Optional[int], reader_init: bool,
                        structured_append: Optional[Tuple[int, int, int]], iso144: bool) -> None:
    options.encodation = choice("encodation", encodation, ENCODATIONS)
    options.shape = choice("shape", shape, SHAPES)
    options.dmre, options.gs1 = flag("dmre", dmre), flag("gs1", gs1)
    options.reader_init, options.iso144 = flag("reader_init", reader_init), flag("iso144", iso144)
    if symbol_size is not None:
        rows, columns = pair("symbol_size", symbol_size)
        options.rows, options.columns = integer("rows", rows, 1, INT_MAX), integer("columns", columns, 1, INT_MAX)
    if eci is not None:
        options.eci = integer("eci", eci, 0, MAX_ECI)
    if structured_append is not None:
        _structured_append(options, structured_append)


_encode_defaults: Optional[EncodeOptions] = None


def _default_encode_options() -> EncodeOptions:
    """ecc200_encode_options_init's struct with encode()'s defaults set,
    never changed after (two threads racing to build it build equal ones)."""
    global _encode_defaults
    if _encode_defaults is None:
        options = EncodeOptions()
        calls().ecc200_encode_options_init(ctypes.byref(options))
        _set_encode_options(options, "auto", "square", False, None, False, None, False, None, False)
        _encode_defaults = options
    return _encode_defaults


def _structured_append(options: EncodeOptions, value: object) -> None:
    if not isinstance(value, (tuple, list)) or len(value) != 3:
        raise ArgumentTypeError(f"structured_append must be (index, count, file_id), not {value!r}")
    index, count, file_id = value
    options.append_count = integer("structured_append count", count, 2, MAX_APPENDED_SYMBOLS)
    options.append_index = integer("structured_append index", index, 1, options.append_count)
    options.file_id = integer("structured_append file_id", file_id, 1, MAX_FILE_ID)


def picture(size: Size = None, quiet_zone: int = QUIET_ZONE, module_cm_: Optional[float] = None,
            module_px: Optional[int] = None, dpi: Optional[int] = None, quarter_turns: int = 0,
            border: str = "none", dark: Colour = DARK, light: Colour = LIGHT, allow_crop: bool = False,
            seamless: bool = False, hri: bool = False) -> Picture:
    result = Picture.from_buffer_copy(_default_picture())
    if size is not None:
        width, height = pair("size", size)
        result.width, result.height = integer("width", width, 1, INT_MAX), integer("height", height, 1, INT_MAX)
    if not _unchanged(quiet_zone, QUIET_ZONE):
        result.quiet_zone = integer("quiet_zone", quiet_zone, 0, INT_MAX)
    if module_cm_ is not None and module_px is not None:
        raise ArgumentTypeError("give module_cm or module_px, not both")
    if module_cm_ is not None:
        result.module_cm = module_cm(module_cm_)
    if module_px is not None:
        result.module_px = integer("module_px", module_px, 1, INT_MAX)
    if dpi is not None:
        result.dpi = integer("dpi", dpi, 1, INT_MAX)
    _set_look(result, quarter_turns, border, dark, light, allow_crop, seamless)
    if hri is not False:
        result.hri = flag("hri", hri)
    return result


def _set_look(result: Picture, quarter_turns: int, border: str, dark: Colour, light: Colour, allow_crop: bool,
              seamless: bool) -> None:
    if not _unchanged(quarter_turns, 0):
        result.quarter_turns = integer("quarter_turns", quarter_turns, 0, 3)
    if not _unchanged(border, "none"):
        result.border = choice("border", border, BORDERS)
    if dark is not DARK:
        result.bar = rgb("dark", dark)
    if light is not LIGHT:
        result.background = rgb("light", light)
    if allow_crop is not False:
        result.allow_crop = flag("allow_crop", allow_crop)
    if seamless is not False:
        result.seamless = flag("seamless", seamless)


def zpl_form(result: Picture, zpl_z64: bool, zpl_field_only: bool) -> Picture:
    """A ZPL label's form: the graphic field compressed (Z64), and the
    field alone without ^XA and ^XZ."""
    if zpl_z64 is not False:
        result.zpl_z64 = flag("zpl_z64", zpl_z64)
    if zpl_field_only is not False:
        result.zpl_field_only = flag("zpl_field_only", zpl_field_only)
    return result


_picture_defaults: Optional[Picture] = None


def _default_picture() -> Picture:
    """ecc200_picture_init's struct with the rendering methods' defaults
    set, never changed after (it is only copied)."""
    global _picture_defaults
    if _picture_defaults is None:
        defaults = Picture()
        calls().ecc200_picture_init(ctypes.byref(defaults))
        defaults.quiet_zone, defaults.quarter_turns, defaults.border = QUIET_ZONE, 0, BORDERS["none"]
        defaults.bar, defaults.background = rgb("dark", DARK), rgb("light", LIGHT)
        defaults.allow_crop = defaults.seamless = 0
        _picture_defaults = defaults
    return _picture_defaults


def _unchanged(value: object, default: object) -> bool:
    """value is the default int or str itself (the same type, not a bool
    for an int nor a str subclass), so the default struct holds it, checked."""
    return type(value) is type(default) and value == default


def format_code(name: object) -> int:
    if type(name) is str and name in FORMATS:
        return FORMATS[name]
    if not isinstance(name, str):
        raise ArgumentTypeError(f"format must be a str, not {type(name).__name__}")
    if name.lower() not in FORMATS:
        raise InvalidArgument(f"format must be one of {', '.join(FORMATS)}, not {name!r}")
    return FORMATS[name.lower()]
