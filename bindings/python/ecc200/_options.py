"""The keywords of encode() and of the rendering methods, checked and put
into ecc200_encode_options and ecc200_picture.

Where the library would refuse a value, this layer refuses it first with
ValueError (TypeError for a value of the wrong type), naming the keyword."""
import ctypes
import math
import numbers
import operator
from typing import Dict, Optional, Sequence, Tuple, Union

from ._native import EncodeOptions, Picture, calls

INT_MAX = 2**31 - 1

ENCODATIONS = {"auto": 0, "ascii": 1, "c40": 2, "text": 3, "x12": 4, "edifact": 5, "base256": 6}
SHAPES = {"square": 0, "rectangle": 1, "any": 2}
BORDERS = {"none": 0, "dashed": 1, "solid": 2}
FORMATS = {"bmp": 1, "wmf": 2, "emf": 3, "png": 4, "svg": 5}

MAX_ECI = 999999
MAX_APPENDED_SYMBOLS = 16
MAX_FILE_ID = 64516  # two codewords of 1 to 254 each (ISO/IEC 16022 5.6.2)

Colour = Union[str, Tuple[int, int, int]]
Size = Optional[Tuple[int, int]]
DARK: Colour = (0, 0, 0)
LIGHT: Colour = (255, 255, 255)


def integer(name: str, value: object, low: int, high: int) -> int:
    if isinstance(value, bool) or not isinstance(value, numbers.Integral):
        raise TypeError(f"{name} must be an int, not {type(value).__name__}")
    number = operator.index(value)
    if not low <= number <= high:
        raise ValueError(f"{name} must be from {low} to {high}, not {number}")
    return number


def flag(name: str, value: object) -> int:
    if not isinstance(value, bool):
        raise TypeError(f"{name} must be True or False, not {value!r}")
    return int(value)


def choice(name: str, value: object, choices: Dict[str, int]) -> int:
    if not isinstance(value, str):
        raise TypeError(f"{name} must be a str, not {type(value).__name__}")
    if value not in choices:
        raise ValueError(f"{name} must be one of {', '.join(map(repr, choices))}, not {value!r}")
    return choices[value]


def pair(name: str, value: object) -> Sequence[object]:
    if not isinstance(value, (tuple, list)) or len(value) != 2:
        raise TypeError(f"{name} must be a pair of ints, not {value!r}")
    return value


def module_cm(value: object) -> float:
    """A module edge in centimetres, greater than 0 even in single precision,
    where the nine functions keep it (else they would reuse the previous
    call's size)."""
    if isinstance(value, bool) or not isinstance(value, numbers.Real):
        raise TypeError(f"module_cm must be a number, not {type(value).__name__}")
    try:
        number = float(value)
    except OverflowError:
        number = math.inf
    single = ctypes.c_float(number).value
    if not (0 < single and math.isfinite(single)):
        raise ValueError(f"module_cm must be a finite number of centimetres greater than 0, not {number!r}")
    return number


def colour(name: str, value: object) -> Tuple[int, int, int]:
    """(red, green, blue) from 0 to 255, or "#rrggbb"."""
    if isinstance(value, str):
        digits = value[1:]
        if len(value) != 7 or value[0] != "#" or not all(c in "0123456789abcdefABCDEF" for c in digits):
            raise ValueError(f"{name} must be '#rrggbb' or (red, green, blue), not {value!r}")
        return int(digits[0:2], 16), int(digits[2:4], 16), int(digits[4:6], 16)
    if not isinstance(value, (tuple, list)) or len(value) != 3:
        raise TypeError(f"{name} must be a (red, green, blue) triple or '#rrggbb', not {value!r}")
    red, green, blue = (integer(name, component, 0, 255) for component in value)
    return red, green, blue


def rgb(name: str, value: object) -> int:
    """A colour as the library's 0xRRGGBB."""
    red, green, blue = colour(name, value)
    return red << 16 | green << 8 | blue


def encode_options(encodation: str, shape: str, dmre: bool, symbol_size: Size, gs1: bool, eci: Optional[int],
                   reader_init: bool, structured_append: Optional[Tuple[int, int, int]],
                   iso144: bool) -> EncodeOptions:
    options = EncodeOptions()
    calls().ecc200_encode_options_init(ctypes.byref(options))
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
    return options


def _structured_append(options: EncodeOptions, value: object) -> None:
    if not isinstance(value, (tuple, list)) or len(value) != 3:
        raise TypeError(f"structured_append must be (index, count, file_id), not {value!r}")
    index, count, file_id = value
    options.append_count = integer("structured_append count", count, 2, MAX_APPENDED_SYMBOLS)
    options.append_index = integer("structured_append index", index, 1, options.append_count)
    options.file_id = integer("structured_append file_id", file_id, 1, MAX_FILE_ID)


def picture(size: Size = None, quiet_zone: int = 2, module_cm_: Optional[float] = None,
            module_px: Optional[int] = None, dpi: Optional[int] = None, quarter_turns: int = 0,
            border: str = "none", dark: Colour = DARK, light: Colour = LIGHT, allow_crop: bool = False,
            seamless: bool = False) -> Picture:
    result = Picture()
    calls().ecc200_picture_init(ctypes.byref(result))
    if size is not None:
        width, height = pair("size", size)
        result.width, result.height = integer("width", width, 1, INT_MAX), integer("height", height, 1, INT_MAX)
    result.quiet_zone = integer("quiet_zone", quiet_zone, 0, INT_MAX)
    if module_cm_ is not None and module_px is not None:
        raise TypeError("give module_cm or module_px, not both")
    if module_cm_ is not None:
        result.module_cm = module_cm(module_cm_)
    if module_px is not None:
        result.module_px = integer("module_px", module_px, 1, INT_MAX)
    if dpi is not None:
        result.dpi = integer("dpi", dpi, 1, INT_MAX)
    result.quarter_turns = integer("quarter_turns", quarter_turns, 0, 3)
    result.border = choice("border", border, BORDERS)
    result.bar, result.background = rgb("dark", dark), rgb("light", light)
    result.allow_crop, result.seamless = flag("allow_crop", allow_crop), flag("seamless", seamless)
    return result


def format_code(name: object) -> int:
    if not isinstance(name, str):
        raise TypeError(f"format must be a str, not {type(name).__name__}")
    if name.lower() not in FORMATS:
        raise ValueError(f"format must be one of {', '.join(FORMATS)}, not {name!r}")
    return FORMATS[name.lower()]
