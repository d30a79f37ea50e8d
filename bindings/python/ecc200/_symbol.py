"""encode() and the Symbol it returns: the modules and codewords of one ECC
200 symbol, and its pictures in every format the library draws.

No lock: the ecc200_* functions keep no state, and ctypes releases the GIL
while they run, so threads encode and render in parallel."""
import base64
import ctypes
import importlib
import os
from typing import IO, TYPE_CHECKING, Any, Callable, Optional, Tuple, TypeVar, Union

from . import _options
from ._cached import cached
from ._errors import new_diagnostic, raise_status
from ._exceptions import ArgumentTypeError, InvalidArgument, OutOfBounds, Unsupported
from ._message import Data, encoded_message
from ._native import BytePointer, Picture, SymbolHandle, SymbolPointer, calls
from ._options import DARK, LIGHT, Colour, Size
from ._paths import PathLike, path_bytes
from ._pixels import Pixels, pixels_of_bmp
from ._preview import preview

if TYPE_CHECKING:
    # For the annotation of to_pil only: `import ecc200` never imports
    # Pillow. (Debian's Pillow 9 has no type information of its own.)
    import PIL.Image  # type: ignore[import]

Target = Union[PathLike, IO[bytes]]
T = TypeVar("T")

_XML_DECLARATION_END = "?>"


def encode(data: Data, *, encodation: str = "auto", shape: str = "square", dmre: bool = False,
           symbol_size: Optional[Tuple[int, int]] = None, gs1: bool = False, eci: Optional[int] = None,
           reader_init: bool = False, structured_append: Optional[Tuple[int, int, int]] = None,
           iso144: bool = False) -> "Symbol":
    """Encodes data (bytes as they are; a str in ISO 8859-1, any other str
    as UTF-8 under ECI 26) into the smallest symbol that holds it, or as the
    keywords ask: encodation ("auto", "ascii",
    "c40", "text", "x12", "edifact", "base256"), shape ("square",
    "rectangle", "any"), dmre (also the ISO/IEC 21471 sizes), symbol_size
    (rows, columns), gs1 (a GS1 element string in bracket form), eci,
    reader_init, structured_append (index, count, file_id), iso144."""
    payload, eci = encoded_message(data, eci)
    options = _options.encode_options(encodation, shape, dmre, symbol_size, gs1, eci, reader_init,
                                      structured_append, iso144)
    handle = SymbolPointer()
    _call_pure(calls().ecc200_encode, "ecc200_encode", payload, len(payload), ctypes.byref(options),
               ctypes.byref(handle))
    return Symbol(handle)


def _call_pure(function: "ctypes._NamedFuncPointer", name: str, *arguments: Any) -> None:
    """Calls a function of the library that writes nothing but its outputs
    (encoding, drawing into memory) without a diagnostic; only a failed call
    is made again, with one, to say why (which may then succeed, when
    memory was short)."""
    if function(*arguments, None) == 0:
        return
    diagnostic = new_diagnostic()
    status = function(*arguments, ctypes.byref(diagnostic))
    if status:
        raise_status(status, diagnostic, name)


def _bytes_at(pointer: "ctypes._Pointer[ctypes.c_uint8]", count: int) -> bytes:
    return ctypes.string_at(pointer, count) if count else b""


class Symbol:
    """An encoded symbol: immutable. rows and columns in modules, matrix (one
    bytes per row, row 0 at the top, 1 dark), codewords (the final stream as
    placed) and data_codewords (before padding); sym[row, col] is True where
    the module is dark. Made by ecc200.encode()."""

    # None until __init__ holds the function that frees it.
    _handle: Optional["ctypes._Pointer[SymbolHandle]"] = None

    def __init__(self, handle: "ctypes._Pointer[SymbolHandle]") -> None:
        # Kept on the instance so that __del__ needs no module global, which
        # may already be gone when the interpreter shuts down.
        self._free = calls().ecc200_symbol_free
        self._handle = handle

    def __del__(self) -> None:
        # Freed when the last reference goes or the cycle collector takes
        # the symbol: cheaper per symbol than a weakref.finalize entry.
        if self._handle:
            self._free(self._handle)

    # Read from the library on first use only: most callers of encode() draw
    # the symbol and never look at its modules or codewords.
    @cached
    def rows(self) -> int:
        rows: int = calls().ecc200_symbol_rows(self._handle)
        return rows

    @cached
    def columns(self) -> int:
        columns: int = calls().ecc200_symbol_columns(self._handle)
        return columns

    @cached
    def matrix(self) -> Tuple[bytes, ...]:
        rows, columns = self.rows, self.columns
        modules = _bytes_at(calls().ecc200_symbol_modules(self._handle), rows * columns)
        return tuple(modules[row * columns:(row + 1) * columns] for row in range(rows))

    @cached
    def codewords(self) -> bytes:
        return self._stream(calls().ecc200_symbol_codewords)

    @cached
    def data_codewords(self) -> bytes:
        return self._stream(calls().ecc200_symbol_data_codewords)

    def _stream(self, accessor: "ctypes._NamedFuncPointer") -> bytes:
        count = ctypes.c_size_t()
        return _bytes_at(accessor(self._handle, ctypes.byref(count)), count.value)

    def __getitem__(self, position: Tuple[int, int]) -> bool:
        row, col = position
        if not (0 <= row < self.rows and 0 <= col < self.columns):
            raise OutOfBounds(f"module ({row}, {col}) is outside the {self.rows} x {self.columns} symbol")
        return self.matrix[row][col] != 0

    def __repr__(self) -> str:
        return f"<ecc200.Symbol {self.rows} x {self.columns}, {len(self.data_codewords)} data codewords>"

    def __str__(self) -> str:
        return preview(self.matrix)

    def _render(self, format: str, picture: Picture) -> bytes:
        """The picture in `format` ("bmp", "wmf", "emf", "png", "svg", "zpl", "pdf", "eps") as the
        rendering methods' keywords describe it."""
        code = _options.format_code(format)
        lib = calls()
        output, size = BytePointer(), ctypes.c_size_t()
        _call_pure(lib.ecc200_render_alloc, "ecc200_render_alloc", self._handle, ctypes.byref(picture), code,
                   ctypes.byref(output), ctypes.byref(size))
        try:
            return _bytes_at(output, size.value)
        finally:
            lib.ecc200_free(output)

    # The rendering methods: each takes the picture keywords of
    # _options.picture; Python itself refuses any other keyword.
    def bmp(self, *, size: Size = None, quiet_zone: int = 2, module_cm: Optional[float] = None,
            module_px: Optional[int] = None, dpi: Optional[int] = None, quarter_turns: int = 0,
            border: str = "none", dark: Colour = DARK, light: Colour = LIGHT, allow_crop: bool = False,
            seamless: bool = False) -> bytes:
        """A one-bit BMP. size=(width, height) in pixels or None to fit the
        symbol and quiet_zone modules of margin; module_cm or module_px;
        dpi (None: the screen's); quarter_turns counter-clockwise; border
        "none", "dashed" or "solid"; dark and light colours as (r, g, b) or
        "#rrggbb"; allow_crop draws a symbol the size cuts instead of
        raising; seamless draws WMF and EMF modules as one shape."""
        return self._render("bmp", _options.picture(size, quiet_zone, module_cm, module_px, dpi, quarter_turns,
                                                   border, dark, light, allow_crop, seamless))

    def png(self, *, size: Size = None, quiet_zone: int = 2, module_cm: Optional[float] = None,
            module_px: Optional[int] = None, dpi: Optional[int] = None, quarter_turns: int = 0,
            border: str = "none", dark: Colour = DARK, light: Colour = LIGHT, allow_crop: bool = False,
            seamless: bool = False) -> bytes:
        """A two-colour PNG; keywords as bmp()."""
        return self._render("png", _options.picture(size, quiet_zone, module_cm, module_px, dpi, quarter_turns,
                                                   border, dark, light, allow_crop, seamless))

    def wmf(self, *, size: Size = None, quiet_zone: int = 2, module_cm: Optional[float] = None,
            module_px: Optional[int] = None, dpi: Optional[int] = None, quarter_turns: int = 0,
            border: str = "none", dark: Colour = DARK, light: Colour = LIGHT, allow_crop: bool = False,
            seamless: bool = False) -> bytes:
        """A placeable Windows metafile; keywords as bmp()."""
        return self._render("wmf", _options.picture(size, quiet_zone, module_cm, module_px, dpi, quarter_turns,
                                                   border, dark, light, allow_crop, seamless))

    def emf(self, *, size: Size = None, quiet_zone: int = 2, module_cm: Optional[float] = None,
            module_px: Optional[int] = None, dpi: Optional[int] = None, quarter_turns: int = 0,
            border: str = "none", dark: Colour = DARK, light: Colour = LIGHT, allow_crop: bool = False,
            seamless: bool = False) -> bytes:
        """An enhanced metafile; keywords as bmp()."""
        return self._render("emf", _options.picture(size, quiet_zone, module_cm, module_px, dpi, quarter_turns,
                                                   border, dark, light, allow_crop, seamless))

    def svg(self, *, size: Size = None, quiet_zone: int = 2, module_cm: Optional[float] = None,
            module_px: Optional[int] = None, dpi: Optional[int] = None, quarter_turns: int = 0,
            border: str = "none", dark: Colour = DARK, light: Colour = LIGHT, allow_crop: bool = False,
            seamless: bool = False, hri: bool = False) -> str:
        """An SVG document, sized in millimetres; keywords as bmp(), and hri
        for the human-readable text under the symbol."""
        return self._render("svg", _options.picture(size, quiet_zone, module_cm, module_px, dpi, quarter_turns,
                                                   border, dark, light, allow_crop, seamless,
                                                   hri)).decode("utf-8")

    def pdf(self, *, size: Size = None, quiet_zone: int = 2, module_cm: Optional[float] = None,
            module_px: Optional[int] = None, dpi: Optional[int] = None, quarter_turns: int = 0,
            border: str = "none", dark: Colour = DARK, light: Colour = LIGHT, allow_crop: bool = False,
            hri: bool = False) -> bytes:
        """A one-page PDF at the exact physical size; keywords as svg()."""
        return self._render("pdf", _options.picture(size, quiet_zone, module_cm, module_px, dpi, quarter_turns,
                                                   border, dark, light, allow_crop, False, hri))

    def eps(self, *, size: Size = None, quiet_zone: int = 2, module_cm: Optional[float] = None,
            module_px: Optional[int] = None, dpi: Optional[int] = None, quarter_turns: int = 0,
            border: str = "none", dark: Colour = DARK, light: Colour = LIGHT, allow_crop: bool = False,
            hri: bool = False) -> bytes:
        """Encapsulated PostScript at the exact physical size; keywords as svg()."""
        return self._render("eps", _options.picture(size, quiet_zone, module_cm, module_px, dpi, quarter_turns,
                                                   border, dark, light, allow_crop, False, hri))

    def zpl(self, *, size: Size = None, quiet_zone: int = 2, module_cm: Optional[float] = None,
            module_px: Optional[int] = None, dpi: Optional[int] = None, quarter_turns: int = 0,
            border: str = "none", allow_crop: bool = False, zpl_z64: bool = False,
            zpl_field_only: bool = False) -> bytes:
        """A ZPL label for label printers: the picture's pixels as a ^GFA
        graphic field in the printer's dots, dark printed. dpi is the
        printer's (None: 203); module_cm is rounded to whole dots. zpl_z64
        compresses the field; zpl_field_only gives ^FO..^FS alone. Other
        keywords as bmp()."""
        settings = _options.picture(size, quiet_zone, module_cm, module_px, dpi, quarter_turns, border,
                                    allow_crop=allow_crop)
        return self._render("zpl", _options.zpl_form(settings, zpl_z64, zpl_field_only))

    def svg_inline(self, *, size: Size = None, quiet_zone: int = 2, module_cm: Optional[float] = None,
                   module_px: Optional[int] = None, dpi: Optional[int] = None, quarter_turns: int = 0,
                   border: str = "none", dark: Colour = DARK, light: Colour = LIGHT,
                   allow_crop: bool = False, seamless: bool = False) -> str:
        """The SVG without its XML declaration, to place inside HTML."""
        document = self.svg(size=size, quiet_zone=quiet_zone, module_cm=module_cm, module_px=module_px, dpi=dpi,
                            quarter_turns=quarter_turns, border=border, dark=dark, light=light,
                            allow_crop=allow_crop, seamless=seamless)
        if document.startswith("<?xml"):
            document = document[document.index(_XML_DECLARATION_END) + len(_XML_DECLARATION_END):]
        return document.lstrip()

    def png_data_uri(self, *, size: Size = None, quiet_zone: int = 2, module_cm: Optional[float] = None,
                     module_px: Optional[int] = None, dpi: Optional[int] = None, quarter_turns: int = 0,
                     border: str = "none", dark: Colour = DARK, light: Colour = LIGHT,
                     allow_crop: bool = False, seamless: bool = False) -> str:
        """The PNG as a data: URI, for an <img src=...>."""
        png = self.png(size=size, quiet_zone=quiet_zone, module_cm=module_cm, module_px=module_px, dpi=dpi,
                       quarter_turns=quarter_turns, border=border, dark=dark, light=light,
                       allow_crop=allow_crop, seamless=seamless)
        return "data:image/png;base64," + base64.b64encode(png).decode("ascii")

    def to_image(self, *, size: Size = None, quiet_zone: int = 2, module_cm: Optional[float] = None,
                 module_px: Optional[int] = None, dpi: Optional[int] = None, quarter_turns: int = 0,
                 border: str = "none", dark: Colour = DARK, light: Colour = LIGHT, allow_crop: bool = False,
                 seamless: bool = False) -> Pixels:
        """The picture's pixels (0 dark, 255 light) as drawn into the BMP:
        numpy.asarray(sym.to_image()) is a 2-D uint8 array."""
        settings = _options.picture(size, quiet_zone, module_cm, module_px, dpi, quarter_turns, border, dark,
                                    light, allow_crop, seamless)
        return pixels_of_bmp(self._render("bmp", settings), settings.bar)

    def to_pil(self, *, size: Size = None, quiet_zone: int = 2, module_cm: Optional[float] = None,
               module_px: Optional[int] = None, dpi: Optional[int] = None, quarter_turns: int = 0,
               border: str = "none", dark: Colour = DARK, light: Colour = LIGHT, allow_crop: bool = False,
               seamless: bool = False) -> "PIL.Image.Image":
        """The picture as a PIL.Image.Image in mode "L" (Pillow is imported
        here, not by `import ecc200`)."""
        image = importlib.import_module("PIL.Image")
        pixels = self.to_image(size=size, quiet_zone=quiet_zone, module_cm=module_cm, module_px=module_px,
                               dpi=dpi, quarter_turns=quarter_turns, border=border, dark=dark, light=light,
                               allow_crop=allow_crop, seamless=seamless)
        converted: "PIL.Image.Image" = image.frombytes("L", (pixels.width, pixels.height), pixels.data)
        return converted

    def save(self, target: Target, format: Optional[str] = None, *, size: Size = None, quiet_zone: int = 2,
             module_cm: Optional[float] = None, module_px: Optional[int] = None, dpi: Optional[int] = None,
             quarter_turns: int = 0, border: str = "none", dark: Colour = DARK, light: Colour = LIGHT,
             allow_crop: bool = False, seamless: bool = False, hri: bool = False, zpl_z64: bool = False,
             zpl_field_only: bool = False) -> None:
        """Saves the picture to a path (replaced whole or not at all) or
        writes it to a binary file object. format: "bmp", "wmf", "emf",
        "png", "svg", "zpl", "pdf" or "eps"; None takes it from the name's
        extension. hri: the human-readable text (SVG, PDF and EPS);
        zpl_z64, zpl_field_only: the ZPL label's form (see zpl())."""
        settings = _options.zpl_form(_options.picture(size, quiet_zone, module_cm, module_px, dpi, quarter_turns,
                                                      border, dark, light, allow_crop, seamless, hri),
                                     zpl_z64, zpl_field_only)
        if isinstance(target, (str, bytes, os.PathLike)):
            self._save_file(target, format, settings)
        elif not callable(getattr(target, "write", None)):
            raise ArgumentTypeError(f"save() takes a path or a binary file object, not {type(target).__name__}")
        else:
            target.write(self._render(format or _format_of(getattr(target, "name", None)), settings))

    def _save_file(self, path: PathLike, format: Optional[str], settings: Picture) -> None:
        name = os.fspath(path)
        code = _options.format_code(format or _format_of(name))
        diagnostic = new_diagnostic()
        status = calls().ecc200_save(self._handle, ctypes.byref(settings), code, path_bytes(name),
                                     ctypes.byref(diagnostic))
        if status:
            raise_status(status, diagnostic, "ecc200_save", name)

    # Notebooks (IPython) show the first of these that returns something.
    def _repr_png_(self) -> Optional[bytes]:
        return _unless_unsupported(lambda: self.png(module_px=4))

    def _repr_svg_(self) -> Optional[str]:
        return _unless_unsupported(lambda: self.svg_inline())


def _format_of(name: object) -> str:
    """The format named by a file name's extension."""
    if isinstance(name, (str, bytes)):
        extension = os.path.splitext(os.fsdecode(name))[1].lower().lstrip(".")
        if extension in _options.FORMATS:
            return extension
    raise InvalidArgument(f"the format cannot be told from {name!r}: name it with format= "
                     f"({', '.join(_options.FORMATS)})")


def _unless_unsupported(render: Callable[[], T]) -> Optional[T]:
    try:
        return render()
    except Unsupported:
        return None
