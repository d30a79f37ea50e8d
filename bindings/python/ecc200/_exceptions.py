"""The exceptions and the warning of the package: one family. Everything
the package raises is an Ecc200Error; each class is also the built-in
exception a Python caller expects for its kind of failure (ValueError for a
value, TypeError for a type, OSError for the file system, ...), the way
the standard library's own errors subclass OSError. The translation of the
library's statuses into them is _errors.py's."""
from typing import Optional, Union

PathName = Union[str, bytes]


class Ecc200Error(Exception):
    """A call of the package failed. `status` is the library's ecc200_status
    (None when the package refused before calling it, or for the nine DM*
    functions), `function` the C function, `errno` the system's error code
    (0 when none), `filename` the file."""

    def __init__(self, message: str, *, status: Optional[int] = None, function: Optional[str] = None,
                 errno: int = 0, filename: Optional[PathName] = None) -> None:
        super().__init__(message)
        self.status = status
        self.function = function
        self.errno = errno
        self.filename = filename


class InvalidArgument(Ecc200Error, ValueError):
    """A value out of its range, refused by the package or by the library
    (ECC200_INVALID_ARGUMENT)."""


class ArgumentTypeError(Ecc200Error, TypeError):
    """An argument of a type the package does not take."""


class OutOfBounds(Ecc200Error, IndexError):
    """A module or pixel outside the symbol or picture."""


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
    provide (ECC200_UNSUPPORTED), e.g. a seamless EMF on the clipboard."""


class SymbolCropped(Ecc200Error, ValueError):
    """The picture's size cuts the symbol and allow_crop is not set:
    `needed_width` x `needed_height` pixels hold it with its quiet zone."""
    needed_width = 0
    needed_height = 0


class InvalidData(Ecc200Error, ValueError):
    """The data cannot be encoded as asked (a character outside the
    character set, a byte the forced encodation cannot hold, a malformed GS1
    element string, ...)."""


class _SystemFailure(Ecc200Error, OSError):
    """The members of the family that are OSErrors: built with OSError's own
    arguments, so that str() and args read as the standard library's
    ("[Errno 2] ...: 'name'", or the message alone without an errno)."""

    def __init__(self, message: str, *, status: Optional[int] = None, function: Optional[str] = None,
                 errno: int = 0, filename: Optional[PathName] = None) -> None:
        if errno:
            OSError.__init__(self, errno, message, *([] if filename is None else [filename]))
        else:
            OSError.__init__(self, message)
        self.status = status
        self.function = function


class FileError(_SystemFailure):
    """The file (or the clipboard) could not be written
    (ECC200_FILE_ERROR): an OSError with the system's `errno`, the message
    as its `strerror` and the `filename`. A raised one is also the OSError
    subclass the standard library gives that errno (FileNotFoundError,
    PermissionError, IsADirectoryError, ...)."""


class LibraryError(_SystemFailure):
    """The ecc200 shared library cannot be loaded, or is older than this
    package."""


class CroppedSymbolWarning(UserWarning):
    """save_bmp, save_wmf or copy_to_clipboard drew a symbol that the picture
    cuts (the nine functions of the first release always crop): the file is
    written, but a reader may not find the symbol."""
