"""What pyproject.toml cannot state: the wheel's tag, which names the
platform when the package carries the native library, and where the build
works, which is a temporary folder, so that building or installing from
this folder leaves nothing in it (setuptools would write build/ and
ecc200.egg-info/ here)."""
import pathlib
import tempfile
from typing import Tuple

from setuptools import Distribution, setup
from wheel.bdist_wheel import bdist_wheel

HERE = pathlib.Path(__file__).resolve().parent
LIBRARIES = ("ecc200.dll", "libecc200.so.1", "libecc200.1.dylib")


def carries_library() -> bool:
    return any((HERE / "ecc200" / name).exists() for name in LIBRARIES)


class PackageWithLibrary(Distribution):
    """With a native library inside, the package is built as a platform's
    (installed into platlib, the wheel's root not pure)."""

    def has_ext_modules(self) -> bool:
        return carries_library()


class PlatformWheel(bdist_wheel):
    """That wheel is for this platform only, but for any Python 3: the
    package loads the library with ctypes, it is not an extension module."""

    def get_tag(self) -> Tuple[str, str, str]:
        python, abi, platform = super().get_tag()
        return (python, abi, platform) if self.root_is_pure else ("py3", "none", platform)


with tempfile.TemporaryDirectory(prefix="ecc200-setup-") as scratch:
    setup(distclass=PackageWithLibrary, cmdclass={"bdist_wheel": PlatformWheel},
          options={"build": {"build_base": str(pathlib.Path(scratch, "build"))},
                   "egg_info": {"egg_base": scratch}})
