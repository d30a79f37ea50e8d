"""The bytes a symbol holds, from what the caller passes."""
from typing import Union

Data = Union[str, bytes, bytearray, memoryview]


def message_bytes(data: Data) -> bytes:
    """bytes, bytearray and memoryview as they are; str in ISO 8859-1, the
    symbol's default character set (ISO/IEC 16022 5.1), refused otherwise.
    The one place that decides how text becomes bytes."""
    if isinstance(data, str):
        try:
            return data.encode("latin-1")
        except UnicodeEncodeError as error:
            raise ValueError(f"message character {data[error.start]!r} at index {error.start} is outside "
                             "ISO 8859-1; pass bytes to encode other data") from None
    if isinstance(data, (bytes, bytearray, memoryview)):
        return bytes(data)
    raise TypeError(f"message must be str or bytes, not {type(data).__name__}")
