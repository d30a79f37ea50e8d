"""The one place where a failure the library reports becomes an exception:
an ecc200_status with its diagnostic, or the errno the nine DM* functions
leave. The classes are _exceptions.py's."""
import ctypes
import errno as errno_codes
import os
import sys
from typing import Dict, NoReturn, Optional, Type

from ._exceptions import (Ecc200Error, FileError, InvalidArgument, InvalidData, MessageTooLong, OutOfMemory,
                          PathName, PictureTooLarge, SymbolCropped, Unsupported)
from ._native import Diagnostic, library

# The ecc200_status values (include/ecc200.h).
OK = 0
INVALID_ARGUMENT = 1
MESSAGE_TOO_LONG = 2
PICTURE_TOO_LARGE = 3
OUT_OF_MEMORY = 4
FILE_ERROR = 5
UNSUPPORTED = 6
SYMBOL_CROPPED = 7
BUFFER_TOO_SMALL = 8
WRITE_REFUSED = 9
INVALID_DATA = 10

_EXCEPTIONS: Dict[int, Type[Ecc200Error]] = {
    INVALID_ARGUMENT: InvalidArgument, MESSAGE_TOO_LONG: MessageTooLong, PICTURE_TOO_LARGE: PictureTooLarge,
    OUT_OF_MEMORY: OutOfMemory, UNSUPPORTED: Unsupported, SYMBOL_CROPPED: SymbolCropped, INVALID_DATA: InvalidData,
}

# The errno values the portable library leaves for the nine functions'
# failures that are not the file's (E2BIG and EFBIG are its own choice), and
# what they mean; any other is the file's.
_LEGACY_STATUSES = {errno_codes.E2BIG: MESSAGE_TOO_LONG, errno_codes.EFBIG: PICTURE_TOO_LARGE,
                    errno_codes.ENOMEM: OUT_OF_MEMORY, errno_codes.EINVAL: INVALID_ARGUMENT}
_LEGACY_REASONS = {errno_codes.E2BIG: "the message does not fit the largest symbol (144 x 144)",
                   errno_codes.EFBIG: "the picture is too large for the file format"}

_file_errors: Dict[Type[OSError], Type[FileError]] = {}


def _file_error_class(errno: int) -> Type[FileError]:
    """FileError joined with the OSError subclass that the standard library
    raises for errno (PEP 3151), made once per subclass."""
    system = type(OSError(errno, ""))
    if system is OSError:
        return FileError
    joined = _file_errors.get(system)
    if joined is None:
        joined = type(FileError.__name__, (FileError, system), {"__module__": FileError.__module__,
                                                                "__doc__": FileError.__doc__})
        _file_errors[system] = joined
    return joined


def error_for(status: int, message: str, *, function: str, errno: int = 0, filename: Optional[PathName] = None,
              diagnostic: Optional[Diagnostic] = None) -> Ecc200Error:
    """The exception of a status other than OK."""
    if status == FILE_ERROR:
        return _file_error_class(errno or errno_codes.EIO)(message, status=status, function=function,
                                                           errno=errno or errno_codes.EIO, filename=filename)
    error = _EXCEPTIONS.get(status, Ecc200Error)(message, status=status, function=function, errno=errno,
                                                   filename=filename)
    if isinstance(error, MessageTooLong) and diagnostic is not None:
        error.codewords_needed = diagnostic.codewords_needed
        error.capacity = diagnostic.capacity
    if isinstance(error, SymbolCropped) and diagnostic is not None:
        error.needed_width = diagnostic.needed_width
        error.needed_height = diagnostic.needed_height
    return error


def new_diagnostic() -> Diagnostic:
    diagnostic = Diagnostic()
    diagnostic.struct_size = ctypes.sizeof(Diagnostic)
    return diagnostic


def status_text(status: int) -> str:
    """The library's text of a status ("message too long")."""
    text: bytes = library().ecc200_status_text(status)
    return text.decode("utf-8", "replace")


def raise_status(status: int, diagnostic: Diagnostic, function: str, filename: Optional[PathName] = None) -> NoReturn:
    """Raises the exception of a status of the per-call interface with the
    diagnostic's message: a file error as a FileError of its errno with the
    file's name (its message already names the system's reason), the others
    prefixed with the C function."""
    message = diagnostic.message.decode("utf-8", "replace") or status_text(status)
    if status != FILE_ERROR:
        message = f"{function}: {message}"
    raise error_for(status, message, function=function, errno=diagnostic.system_error, filename=filename,
                    diagnostic=diagnostic)


_LEGACY_FAILURES = {
    "DMSaveAsBMP": "the message does not fit the largest symbol (144 x 144), the bitmap is too large for the "
                   "BMP format or for memory, or the file cannot be written",
    "DMSaveAsWMF": "the message does not fit the largest symbol (144 x 144), the picture is wider or taller "
                   "than 32767 pixels, or the file cannot be written",
    "DMCopyToClipboard": "the message does not fit the largest symbol (144 x 144) or the clipboard cannot "
                         "be opened",
}


def legacy_error(function: str, errno: int = 0, filename: Optional[PathName] = None) -> Ecc200Error:
    """The error of one of the nine functions that returned 0."""
    # The portable library leaves errno at the cause. The DLL's last error
    # may come from any call it made, so it is only added as a hint and
    # says nothing of the kind of failure.
    status = -1  # none of the library's: a plain Ecc200Error
    if sys.platform == "win32":
        hint = f" (last system error {errno}: {ctypes.FormatError(errno)})" if errno else ""
        reason = _LEGACY_FAILURES[function] + hint
    elif errno:
        status = _LEGACY_STATUSES.get(errno, FILE_ERROR)
        reason = _LEGACY_REASONS.get(errno) or f"{os.strerror(errno)} (system error {errno})"
    else:
        reason = _LEGACY_FAILURES[function]
    where = f" {filename!r}" if filename is not None else ""
    error = error_for(status, f"{function}{where} failed: {reason}", function=function, errno=errno,
                      filename=filename)
    error.status = None  # the nine functions return no status
    return error
