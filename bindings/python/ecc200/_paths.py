"""File names as the library opens them."""
import os
import sys
from typing import Union

from ._exceptions import InvalidArgument
PathLike = Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]


def path_bytes(path: PathLike) -> bytes:
    """The zero-terminated name the library takes: the file system's bytes
    (UTF-8) outside Windows, the ANSI code page on Windows, where the DLL
    opens its files by their name in that code page."""
    name = os.fspath(path)
    if isinstance(name, str) and sys.platform == "win32":
        try:
            name = name.encode("mbcs", "strict")
        except UnicodeEncodeError:
            raise InvalidArgument(f"path {name!r} cannot be written in the ANSI code page") from None
    data = os.fsencode(name)
    if not data or b"\0" in data:
        raise InvalidArgument(f"path {name!r} is empty or holds a zero byte")
    return data
