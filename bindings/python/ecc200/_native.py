"""Finding and loading the ecc200 shared library, with the exact C types of
its functions and structs (include/ecc200.h).

Without argtypes ctypes would pass a Python float as an int and let a str
through as a wide string, of which the library reads only the first
character; without restype it would read a one-byte or pointer result as an
int. The structs are laid out field by field as the header declares them,
so that their struct_size is the library's sizeof.
"""
import ctypes
import os
import sys
import threading
from typing import Any, Dict, List, Optional, Tuple

from ._exceptions import LibraryError
ENVIRONMENT_VARIABLE = "ECC200_LIBRARY"

if sys.platform == "win32":
    LIBRARY_NAME = "ecc200.dll"
elif sys.platform == "darwin":
    LIBRARY_NAME = "libecc200.1.dylib"
else:
    LIBRARY_NAME = "libecc200.so.1"

DIAGNOSTIC_MESSAGE_BYTES = 256


class EncodeOptions(ctypes.Structure):
    """ecc200_encode_options."""
    _fields_ = [("struct_size", ctypes.c_uint32), ("encodation", ctypes.c_int32), ("shape", ctypes.c_int32),
                ("dmre", ctypes.c_int32), ("rows", ctypes.c_int32), ("columns", ctypes.c_int32),
                ("gs1", ctypes.c_int32), ("eci", ctypes.c_int32), ("reader_init", ctypes.c_int32),
                ("append_index", ctypes.c_int32), ("append_count", ctypes.c_int32), ("file_id", ctypes.c_int32),
                ("iso144", ctypes.c_int32)]


class Picture(ctypes.Structure):
    """ecc200_picture."""
    _fields_ = [("struct_size", ctypes.c_uint32), ("width", ctypes.c_int32), ("height", ctypes.c_int32),
                ("quiet_zone", ctypes.c_int32), ("module_cm", ctypes.c_double), ("module_px", ctypes.c_int32),
                ("dpi", ctypes.c_int32), ("quarter_turns", ctypes.c_int32), ("border", ctypes.c_int32),
                ("bar", ctypes.c_uint32), ("background", ctypes.c_uint32), ("allow_crop", ctypes.c_int32),
                ("seamless", ctypes.c_int32), ("zpl_z64", ctypes.c_int32),
                ("zpl_field_only", ctypes.c_int32), ("hri", ctypes.c_int32)]


class Diagnostic(ctypes.Structure):
    """ecc200_diagnostic."""
    _fields_ = [("struct_size", ctypes.c_uint32), ("system_error", ctypes.c_int32),
                ("codewords_needed", ctypes.c_int32), ("capacity", ctypes.c_int32),
                ("message", ctypes.c_char * DIAGNOSTIC_MESSAGE_BYTES),
                ("needed_width", ctypes.c_int32), ("needed_height", ctypes.c_int32)]


class Layout(ctypes.Structure):
    """ecc200_layout."""
    _fields_ = [("struct_size", ctypes.c_uint32), ("width", ctypes.c_int32), ("height", ctypes.c_int32),
                ("module_px", ctypes.c_int32), ("dpi", ctypes.c_int32), ("svg_module_px", ctypes.c_double)]


class Segment(ctypes.Structure):
    """ecc200_segment."""
    _fields_ = [("data", ctypes.c_void_p), ("length", ctypes.c_size_t), ("eci", ctypes.c_int32)]


class SymbolHandle(ctypes.Structure):
    """ecc200_symbol: opaque, only ever behind a pointer."""


SymbolPointer = ctypes.POINTER(SymbolHandle)
BytePointer = ctypes.POINTER(ctypes.c_uint8)
SizePointer = ctypes.POINTER(ctypes.c_size_t)

# ecc200_write_fn: __stdcall on 32-bit Windows, like every function.
if sys.platform == "win32":
    WriteFunction = ctypes.WINFUNCTYPE(ctypes.c_int32, ctypes.c_void_p, BytePointer, ctypes.c_size_t)
else:
    WriteFunction = ctypes.CFUNCTYPE(ctypes.c_int32, ctypes.c_void_p, BytePointer, ctypes.c_size_t)

_options = ctypes.POINTER(EncodeOptions)
_picture = ctypes.POINTER(Picture)
_diagnostic = ctypes.POINTER(Diagnostic)
_status = ctypes.c_int32
_format = ctypes.c_int32

# name: (result, parameter types), in the header's order.
LEGACY_PROTOTYPES: Dict[str, Tuple[Any, List[Any]]] = {
    "DMSetDefault": (None, []),
    "DMSetSize": (None, [ctypes.c_int, ctypes.c_int]),
    "DMSetMessage": (None, [ctypes.c_char_p]),
    "DMSetInfo": (None, [ctypes.c_double, ctypes.c_int, ctypes.c_int]),
    "DMSetBackColor": (None, [ctypes.c_int, ctypes.c_int, ctypes.c_int]),
    "DMSetBarColor": (None, [ctypes.c_int, ctypes.c_int, ctypes.c_int]),
    "DMCopyToClipboard": (ctypes.c_ubyte, []),
    "DMSaveAsWMF": (ctypes.c_ubyte, [ctypes.c_char_p]),
    "DMSaveAsBMP": (ctypes.c_ubyte, [ctypes.c_char_p]),
}
CALL_PROTOTYPES: Dict[str, Tuple[Any, List[Any]]] = {
    "ecc200_version": (ctypes.c_char_p, []),
    "ecc200_status_text": (ctypes.c_char_p, [_status]),
    "ecc200_encode_options_init": (None, [_options]),
    "ecc200_picture_init": (None, [_picture]),
    "ecc200_encode": (_status, [ctypes.c_void_p, ctypes.c_size_t, _options, ctypes.POINTER(SymbolPointer),
                                _diagnostic]),
    "ecc200_encode_segments": (_status, [ctypes.POINTER(Segment), ctypes.c_size_t, _options,
                                         ctypes.POINTER(SymbolPointer), _diagnostic]),
    "ecc200_symbol_free": (None, [SymbolPointer]),
    "ecc200_symbol_rows": (ctypes.c_int32, [SymbolPointer]),
    "ecc200_symbol_columns": (ctypes.c_int32, [SymbolPointer]),
    "ecc200_symbol_modules": (BytePointer, [SymbolPointer]),
    "ecc200_symbol_codewords": (BytePointer, [SymbolPointer, SizePointer]),
    "ecc200_symbol_data_codewords": (BytePointer, [SymbolPointer, SizePointer]),
    "ecc200_render": (_status, [SymbolPointer, _picture, _format, BytePointer, ctypes.c_size_t, SizePointer,
                                _diagnostic]),
    "ecc200_render_to": (_status, [SymbolPointer, _picture, _format, WriteFunction, ctypes.c_void_p,
                                   _diagnostic]),
    "ecc200_render_alloc": (_status, [SymbolPointer, _picture, _format, ctypes.POINTER(BytePointer), SizePointer,
                                      _diagnostic]),
    "ecc200_free": (None, [ctypes.c_void_p]),
    "ecc200_save": (_status, [SymbolPointer, _picture, _format, ctypes.c_char_p, _diagnostic]),
    "ecc200_copy_to_clipboard": (_status, [SymbolPointer, _picture, _diagnostic]),
    "ecc200_picture_layout": (_status, [SymbolPointer, _picture, _format, ctypes.POINTER(Layout), _diagnostic]),
}
PROTOTYPES = {**LEGACY_PROTOTYPES, **CALL_PROTOTYPES}


def _open(path: str) -> ctypes.CDLL:
    # __stdcall on 32-bit Windows; use_errno/use_last_error keep the cause of
    # a failed save of the nine functions for the exception.
    if sys.platform == "win32":
        return ctypes.WinDLL(path, use_last_error=True)
    return ctypes.CDLL(path, use_errno=True)


def _candidates() -> List[str]:
    """Beside this package first, then the system's."""
    beside = os.path.join(os.path.dirname(os.path.abspath(__file__)), LIBRARY_NAME)
    attempts = [beside] if os.path.exists(beside) else []
    if sys.platform == "win32":
        # ctypes loads a bare DLL name from the system folders and those of
        # os.add_dll_directory only; find_library looks along PATH.
        import ctypes.util
        attempts += filter(None, [ctypes.util.find_library("ecc200")])
    attempts.append(LIBRARY_NAME)
    return attempts


def _open_first() -> ctypes.CDLL:
    reasons = []
    for candidate in _candidates():
        try:
            return _open(candidate)
        except OSError as error:
            reasons.append(f"{candidate}: {error}")
    raise LibraryError(f"the ecc200 library was not found ({'; '.join(reasons)}); set {ENVIRONMENT_VARIABLE} "
                  f"to its file, place {LIBRARY_NAME} beside the package or install it for the system")


def load_library() -> ctypes.CDLL:
    """Loads the library from the file named by ECC200_LIBRARY if that is
    set, else from beside this package, else from the system: PATH, the
    folders of os.add_dll_directory and the system folders on Windows,
    LD_LIBRARY_PATH and ld.so's cache elsewhere. Declares every function it
    exports; a library of the first release has only the nine DM* ones."""
    chosen = os.environ.get(ENVIRONMENT_VARIABLE)
    if chosen:
        try:
            library = _open(chosen)
        except OSError as error:
            raise LibraryError(f"{ENVIRONMENT_VARIABLE}={chosen!r} cannot be loaded: {error}") from error
    else:
        library = _open_first()
    for name, (result, parameters) in PROTOTYPES.items():
        if name in LEGACY_PROTOTYPES or hasattr(library, name):
            function = getattr(library, name)
            function.restype = result
            function.argtypes = parameters
    return library


_library: Optional[ctypes.CDLL] = None
_load_lock = threading.Lock()


def library() -> ctypes.CDLL:
    """The loaded library (loaded once, on first use)."""
    global _library
    with _load_lock:
        if _library is None:
            _library = load_library()
        return _library


_complete: Optional[ctypes.CDLL] = None


def calls() -> ctypes.CDLL:
    """The loaded library, which must have the ecc200_* functions."""
    global _complete
    if _complete is None:
        loaded = library()
        missing = [name for name in CALL_PROTOTYPES if not hasattr(loaded, name)]
        if missing:
            raise LibraryError(f"the loaded ecc200 library {loaded._name!r} lacks {', '.join(missing)}: "
                          "it is older than this package")
        _complete = loaded
    return _complete


def clear_error() -> None:
    if sys.platform == "win32":
        ctypes.set_last_error(0)
    else:
        ctypes.set_errno(0)


def last_error() -> int:
    """The system's error code left by the last call, 0 when none."""
    if sys.platform == "win32":
        return ctypes.get_last_error()
    return ctypes.get_errno()
