"""The exceptions and the warning of the package, and the translation of an
ecc200_status with its diagnostic into one of them."""
import ctypes
import errno as errno_codes
import os
import sys
from typing import Dict, NoReturn, Optional, Type, Union

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

PathName = Union[str, bytes]


class Ecc200Error(Exception):
    """A call of the library failed. `status` is the ecc200_status (None for
    the nine DM* functions), `function` the C function, `errno` the system's
    error code it left (0 when none), `filename` the file."""

    def __init__(self, message: str, *, status: Optional[int] = None, function: Optional[str] = None,
                 errno: int = 0, filename: Optional[PathName] = None) -> None:
        super().__init__(message)
        self.status = status
        self.function = function
        self.errno = errno
        self.filename = filename


class InvalidArgument(Ecc200Error, ValueError):
    """The library refused a value (ECC200_INVALID_ARGUMENT)."""


class MessageTooLong(Ecc200Error, ValueError):
    """The message needs more data codewords than the largest allowed symbol
    holds: `codewords_needed` against `capacity`."""
    codewords_needed = 0
    capacity = 0


class PictureTooLarge(Ecc200Error, ValueError):
    """The picture is larger than the format can hold."""


class OutOfMemory(Ecc200Error, MemoryError):
    """The library could not allocate the symbol or the picture."""


class Unsupported(Ecc200Error):
    """An option, combination or format this build of the library does not
    provide (ECC200_UNSUPPORTED), e.g. the clipboard outside Windows."""


class SymbolCropped(Ecc200Error, ValueError):
    """The picture's size cuts the symbol and allow_crop is not set:
    `needed_width` x `needed_height` pixels hold it with its quiet zone."""
    needed_width = 0
    needed_height = 0


class InvalidData(Ecc200Error, ValueError):
    """The data cannot be encoded as asked (a byte the forced encodation
    cannot hold, a malformed GS1 element string, ...)."""


class CroppedSymbolWarning(UserWarning):
    """save_bmp, save_wmf or copy_to_clipboard drew a symbol that the picture
    cuts (the nine functions of the first release always crop): the file is
    written, but a reader may not find the symbol."""


_EXCEPTIONS: Dict[int, Type[Ecc200Error]] = {
    INVALID_ARGUMENT: InvalidArgument, MESSAGE_TOO_LONG: MessageTooLong, PICTURE_TOO_LARGE: PictureTooLarge,
    OUT_OF_MEMORY: OutOfMemory, UNSUPPORTED: Unsupported, SYMBOL_CROPPED: SymbolCropped, INVALID_DATA: InvalidData,
}


def new_diagnostic() -> Diagnostic:
    diagnostic = Diagnostic()
    diagnostic.struct_size = ctypes.sizeof(Diagnostic)
    return diagnostic


def status_text(status: int) -> str:
    """The library's text of a status ("message too long")."""
    text: bytes = library().ecc200_status_text(status)
    return text.decode("utf-8", "replace")


def raise_status(status: int, diagnostic: Diagnostic, function: str, filename: Optional[PathName] = None) -> NoReturn:
    """Raises the exception of a status other than OK: a file error as the
    OSError of its errno (FileNotFoundError, PermissionError, ...) with the
    file's name, the others as Ecc200Error subclasses with the diagnostic's
    message."""
    message = diagnostic.message.decode("utf-8", "replace") or status_text(status)
    if status == FILE_ERROR:
        # The message already names the system's reason.
        raise OSError(diagnostic.system_error or errno_codes.EIO, message, filename)
    error = _EXCEPTIONS.get(status, Ecc200Error)(f"{function}: {message}", status=status, function=function,
                                                    filename=filename)
    if isinstance(error, MessageTooLong):
        error.codewords_needed = diagnostic.codewords_needed
        error.capacity = diagnostic.capacity
    if isinstance(error, SymbolCropped):
        error.needed_width = diagnostic.needed_width
        error.needed_height = diagnostic.needed_height
    raise error


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
    # The portable library leaves errno at the cause; E2BIG and EFBIG are its
    # own for a message or a picture too large. The DLL's last error may come
    # from any call it made, so it is only added as a hint.
    if sys.platform == "win32":
        hint = f" (last system error {errno}: {ctypes.FormatError(errno)})" if errno else ""
        reason = _LEGACY_FAILURES[function] + hint
    elif errno == errno_codes.E2BIG:
        reason = "the message does not fit the largest symbol (144 x 144)"
    elif errno == errno_codes.EFBIG:
        reason = "the picture is too large for the file format"
    elif errno:
        reason = f"{os.strerror(errno)} (system error {errno})"
    else:
        reason = _LEGACY_FAILURES[function]
    where = f" {filename!r}" if filename is not None else ""
    return Ecc200Error(f"{function}{where} failed: {reason}", function=function, errno=errno, filename=filename)
