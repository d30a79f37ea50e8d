"""The bytes a symbol holds, from what the caller passes."""
from typing import Optional, Tuple, Union

from ._exceptions import ArgumentTypeError, InvalidData
Data = Union[str, bytes, bytearray, memoryview]


def message_bytes(data: Data) -> bytes:
    """bytes, bytearray and memoryview as they are; str in ISO 8859-1, the
    symbol's default character set (ISO/IEC 16022 5.1), refused otherwise.
    The one place that decides how text becomes bytes."""
    if isinstance(data, str):
        try:
            return data.encode("latin-1")
        except UnicodeEncodeError as error:
            raise InvalidData(f"message character {data[error.start]!r} at index {error.start} is outside "
                             "ISO 8859-1; pass bytes to encode other data") from None
    if isinstance(data, (bytes, bytearray, memoryview)):
        return bytes(data)
    raise ArgumentTypeError(f"message must be str or bytes, not {type(data).__name__}")


UTF8_ECI = 26  # ECI 000026: UTF-8 (AIM ECI assignments)


def encoded_message(data: Data, eci: Optional[int]) -> Tuple[bytes, Optional[int]]:
    """The bytes and ECI that ecc200.encode() gives the library: a str in
    ISO 8859-1 as those bytes; any other str as UTF-8 under ECI 26, so that
    a reader gives back the same text (an ECI other than 26 asked for such a
    str is refused: pass bytes in that ECI's character set)."""
    if isinstance(data, str):
        try:
            return data.encode("latin-1"), eci
        except UnicodeEncodeError as error:
            if eci is not None and eci != UTF8_ECI:
                raise InvalidData(f"message character {data[error.start]!r} at index {error.start} is outside "
                                 f"ISO 8859-1 and ECI {eci} was asked for; pass bytes in its character set") from None
            return data.encode("utf-8"), UTF8_ECI
    return message_bytes(data), eci
