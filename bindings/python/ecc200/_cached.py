"""An attribute computed on first read and kept, for what a Symbol reads
from the library only when asked (its matrix, its codewords)."""
from typing import Any, Callable, Generic, TypeVar, overload

T = TypeVar("T")


class cached(Generic[T]):
    """Computes the attribute on the first read and stores it in the
    instance's __dict__ under the same name, where every later read finds it
    without calling this descriptor (it defines no __set__). Unlike
    functools.cached_property before Python 3.12 it takes no lock, which
    there is one per attribute shared by every instance: the computation
    only reads the library's immutable symbol, so two threads that race
    store equal values."""

    def __init__(self, compute: Callable[[Any], T]) -> None:
        self._compute = compute
        self._name = compute.__name__
        self.__doc__ = compute.__doc__

    @overload
    def __get__(self, instance: None, owner: type) -> "cached[T]": ...

    @overload
    def __get__(self, instance: object, owner: type) -> T: ...

    def __get__(self, instance: object, owner: type) -> Any:
        if instance is None:
            return self
        value = self._compute(instance)
        instance.__dict__[self._name] = value
        return value
