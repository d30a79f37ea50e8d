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


def project_version() -> str:
    """ECC200_VERSION, set by CMake when it builds the wheel, else the
    version of the project() call in the source tree's CMakeLists.txt."""
    given = os.environ.get("ECC200_VERSION")
    if given:
        return given
    project = HERE.parent.parent / "CMakeLists.txt"
    found = re.search(r"project\(\s*ecc200\s+VERSION\s+([0-9.]+)", project.read_text()) if project.exists() else None
    if not found:
        raise SystemExit("ecc200: set ECC200_VERSION to the project's version to build outside the source tree")
    return found.group(1)


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
