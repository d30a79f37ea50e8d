"""Finding and loading the ecc200 shared library, with the exact C types of
its nine functions (include/ecc200.h).

Without argtypes ctypes would pass a Python float as an int and let a str
through as a wide string, of which the library reads only the first
character; without restype it would read the one-byte result as a full int.
"""
import ctypes
import ctypes.util
import os
import sys
import threading

ENVIRONMENT_VARIABLE = "ECC200_LIBRARY"

if os.name == "nt":
    LIBRARY_NAME = "ecc200.dll"
elif sys.platform == "darwin":
    LIBRARY_NAME = "libecc200.1.dylib"
else:
    LIBRARY_NAME = "libecc200.so.1"

# name: (result, parameter types), in the header's order.
PROTOTYPES = {
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


def _open(path):
    # __stdcall on 32-bit Windows; use_errno/use_last_error keep the cause of
    # a failed save for the exception.
    if os.name == "nt":
        return ctypes.WinDLL(path, use_last_error=True)
    return ctypes.CDLL(path, use_errno=True)


def load_library():
    """Loads the library from the file named by ECC200_LIBRARY if that is
    set, else from beside this package, else from the system: PATH, the
    folders of os.add_dll_directory and the system folders on Windows,
    LD_LIBRARY_PATH and ld.so's cache elsewhere. Declares the nine functions
    on it."""
    chosen = os.environ.get(ENVIRONMENT_VARIABLE)
    if chosen:
        try:
            library = _open(chosen)
        except OSError as error:
            raise OSError(f"{ENVIRONMENT_VARIABLE}={chosen!r} cannot be loaded: {error}") from error
    else:
        beside = os.path.join(os.path.dirname(os.path.abspath(__file__)), LIBRARY_NAME)
        attempts = [beside] if os.path.exists(beside) else []
        if os.name == "nt":
            # ctypes loads a bare DLL name from the system folders and those
            # of os.add_dll_directory only; find_library looks along PATH.
            attempts += filter(None, [ctypes.util.find_library("ecc200")])
        attempts.append(LIBRARY_NAME)
        library = None
        reasons = []
        for candidate in attempts:
            try:
                library = _open(candidate)
                break
            except OSError as error:
                reasons.append(f"{candidate}: {error}")
        if library is None:
            raise OSError(f"the ecc200 library was not found ({'; '.join(reasons)}); set {ENVIRONMENT_VARIABLE} "
                          f"to its file, place {LIBRARY_NAME} beside the package or install it for the system")
    for name, (result, parameters) in PROTOTYPES.items():
        function = getattr(library, name)
        function.restype = result
        function.argtypes = parameters
    return library


_library = None
_load_lock = threading.Lock()


def library():
    """The loaded library (loaded once, on first use)."""
    global _library
    with _load_lock:
        if _library is None:
            _library = load_library()
        return _library


def clear_error():
    if os.name == "nt":
        ctypes.set_last_error(0)
    else:
        ctypes.set_errno(0)


def last_error():
    """The system's error code left by the last call, 0 when none."""
    return ctypes.get_last_error() if os.name == "nt" else ctypes.get_errno()
