"""The parts of the build pyproject.toml cannot state: the version, which is
the project's, and the wheel's tag, which names the platform when the
package carries the native library."""
import os
import pathlib
import re
from typing import Tuple

from setuptools import Distribution, setup
from wheel.bdist_wheel import bdist_wheel

HERE = pathlib.Path(__file__).resolve().parent
LIBRARIES = ("ecc200.dll", "libecc200.so.1", "libecc200.1.dylib")


# Where the project's version is written down, from this folder: the
# project() call of the source tree, and the header installed beside the
# bindings in the Windows zip.
VERSION_SOURCES = (("../../CMakeLists.txt", r"project\(\s*ecc200\s+VERSION\s+([0-9.]+)"),
                   ("../../ecc200_version.h", r'#define ECC200_VERSION_STRING "([0-9.]+)"'))


def project_version() -> str:
    """ECC200_VERSION, set by CMake when it builds the wheel, else the
    version written in the source tree or the installed header."""
    given = os.environ.get("ECC200_VERSION")
    if given:
        return given
    for name, pattern in VERSION_SOURCES:
        path = HERE / name
        found = re.search(pattern, path.read_text()) if path.exists() else None
        if found:
            return found.group(1)
    raise SystemExit("ecc200: set ECC200_VERSION to the project's version to build outside the ecc200 sources")


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


setup(version=project_version(), distclass=PackageWithLibrary, cmdclass={"bdist_wheel": PlatformWheel})
