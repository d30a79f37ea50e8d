# CPack: a Debian package on Linux (cpack --preset deb), a zip on Windows
# (cpack --preset win32 / win64: ecc200-<version>-win32.zip, -win64.zip).
# Each holds what the install rules (ecc200_install.cmake) install.

set(CPACK_PACKAGE_NAME ecc200)
set(CPACK_PACKAGE_VENDOR "the ecc200 authors")
set(CPACK_PACKAGE_CONTACT "the ecc200 authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "ECC 200 Data Matrix symbols (ISO/IEC 16022) drawn as BMP, WMF or clipboard EMF")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_PACKAGE_CHECKSUM SHA256)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win32)
  else()
    set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win64)
  endif()
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION libs)
  # Debian has no license field: the license is named in the description
  # and given in full in /usr/share/doc/ecc200/copyright.
  # (CPack puts the summary first and indents the lines as Debian wants.)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"The shared library libecc200.so.1 turns a text message into a square ECC 200
Data Matrix symbol and writes it as a one-bit BMP file, a placeable Windows
metafile, or an enhanced metafile on the clipboard: the nine C functions of
the first release and the per-call ecc200_* functions (ecc200.h), with a
header-only C++ interface on them (ecc200.hpp). Also the command-line tool ecc200, the CMake package files
(find_package(ecc200)) and ecc200.pc for pkg-config.

License: MIT")
  # Dependencies from the binaries (dpkg-shlibdeps); a shlibs file and an
  # ldconfig trigger for the library.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
endif()

include(CPack)
