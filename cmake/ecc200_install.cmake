# What `cmake --install` puts where, and so what the packages hold.
#
# Linux and other POSIX systems, GNUInstallDirs:
#   include/ecc200.h, include/ecc200.hpp (C++ on the C functions), include/ecc200_version.h
#   lib/libecc200.so.1.0.0 with its links libecc200.so.1 (SONAME), libecc200.so
#   lib/cmake/ecc200/ (find_package: target ecc200::ecc200), lib/pkgconfig/ecc200.pc
#   bin/ecc200, share/man/man1/ecc200.1
#   share/doc/ecc200/ README.md, LICENSE, CHANGELOG.md and the Debian copyright,
#   docs/ the reference pages and pictures README.md links to
# Windows, everything side by side for callers that only want the DLL:
#   README-Windows.txt first, ecc200.dll, ecc200.exe, the import libraries
#   ecc200.lib (Microsoft's linker) and libecc200.dll.a (MinGW-w64),
#   ecc200.def, the three headers, bindings/ with a copy of ecc200.dll inside the
#   Python package, README.md with docs/, LICENSE, CHANGELOG.md

if(WIN32)
  set(ecc200_bin_dir .)
  set(ecc200_lib_dir .)
  set(ecc200_include_dir .)
  set(ecc200_doc_dir .)
else()
  set(ecc200_bin_dir ${CMAKE_INSTALL_BINDIR})
  set(ecc200_lib_dir ${CMAKE_INSTALL_LIBDIR})
  set(ecc200_include_dir ${CMAKE_INSTALL_INCLUDEDIR})
  set(ecc200_doc_dir ${CMAKE_INSTALL_DOCDIR})
endif()

install(TARGETS ecc200 EXPORT ecc200Targets
  RUNTIME DESTINATION ${ecc200_bin_dir}
  LIBRARY DESTINATION ${ecc200_lib_dir}
  ARCHIVE DESTINATION ${ecc200_lib_dir}
  INCLUDES DESTINATION ${ecc200_include_dir})
install(FILES ${PROJECT_SOURCE_DIR}/include/ecc200.h ${PROJECT_SOURCE_DIR}/include/ecc200.hpp
  ${PROJECT_BINARY_DIR}/include/ecc200_version.h
  DESTINATION ${ecc200_include_dir})
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/CHANGELOG.md
  DESTINATION ${ecc200_doc_dir})
# The reference pages README.md links to, and the pictures it and they show,
# under docs/ beside it so that its links lead somewhere.
install(FILES
  ${PROJECT_SOURCE_DIR}/docs/c.md ${PROJECT_SOURCE_DIR}/docs/cpp.md ${PROJECT_SOURCE_DIR}/docs/python.md
  ${PROJECT_SOURCE_DIR}/docs/javascript.md ${PROJECT_SOURCE_DIR}/docs/tool.md ${PROJECT_SOURCE_DIR}/docs/encoding.md
  ${PROJECT_SOURCE_DIR}/docs/formats.md ${PROJECT_SOURCE_DIR}/docs/windows.md ${PROJECT_SOURCE_DIR}/docs/speed.md
  ${PROJECT_SOURCE_DIR}/docs/development.md ${PROJECT_SOURCE_DIR}/docs/speed.png
  ${PROJECT_SOURCE_DIR}/docs/symbol-bmp.png ${PROJECT_SOURCE_DIR}/docs/symbol-wmf.png
  ${PROJECT_SOURCE_DIR}/docs/symbol-emf.png
  DESTINATION ${ecc200_doc_dir}/docs)

if(TARGET ecc200_tool)
  install(TARGETS ecc200_tool RUNTIME DESTINATION ${ecc200_bin_dir})
  if(NOT WIN32)
    install(FILES ${PROJECT_SOURCE_DIR}/docs/ecc200.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endif()

if(WIN32)
  # The plain export names, from which a caller can make an import library
  # of its own (lib /def:ecc200.def), and the language bindings without
  # what only their tests use (their CMakeLists.txt and tests/ folders).
  install(FILES ${PROJECT_SOURCE_DIR}/src/ecc200.def DESTINATION ${ecc200_lib_dir})
  # Made by src/CMakeLists.txt when llvm-dlltool is there.
  if(ECC200_MSVC_IMPORT_LIBRARY)
    install(FILES ${ECC200_MSVC_IMPORT_LIBRARY} DESTINATION ${ecc200_lib_dir})
  endif()
  # The README for Windows users, with CRLF line ends so that every editor
  # of theirs shows its lines, and this zip's version and bitness.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(ECC200_WINDOWS_BITS 32)
  else()
    set(ECC200_WINDOWS_BITS 64)
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/packaging/README-Windows.txt ${PROJECT_BINARY_DIR}/README-Windows.txt
    @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/README-Windows.txt DESTINATION ${ecc200_doc_dir})
  if(EXISTS ${PROJECT_SOURCE_DIR}/bindings)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/bindings/ DESTINATION bindings
      PATTERN CMakeLists.txt EXCLUDE
      PATTERN tests EXCLUDE
      PATTERN .git* EXCLUDE
      PATTERN __pycache__ EXCLUDE
      PATTERN .pytest_cache EXCLUDE
      PATTERN *.egg-info EXCLUDE
      PATTERN *.pyc EXCLUDE
      PATTERN build EXCLUDE)
    # _native.py loads the ecc200.dll that sits inside the package before
    # any other, so that the package works as unpacked (and pip installs
    # the copy with it as package data).
    install(FILES $<TARGET_FILE:ecc200> DESTINATION bindings/python/ecc200)
  endif()
  return()
endif()

# find_package(ecc200): the exported target ecc200::ecc200 (the shared
# library and the installed include directory, nothing of the build tree).
include(CMakePackageConfigHelpers)
set(ecc200_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/ecc200)
install(EXPORT ecc200Targets NAMESPACE ecc200:: DESTINATION ${ecc200_cmake_dir})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/ecc200Config.cmake.in
  ${PROJECT_BINARY_DIR}/ecc200Config.cmake
  INSTALL_DESTINATION ${ecc200_cmake_dir})
# Versions with the same major version keep the nine functions as they are.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ecc200ConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ecc200Config.cmake ${PROJECT_BINARY_DIR}/ecc200ConfigVersion.cmake
  DESTINATION ${ecc200_cmake_dir})

# pkg-config: paths relative to the .pc file, so that the installed tree
# can be moved (or installed with --prefix) and still be found.
file(RELATIVE_PATH ecc200_pc_to_prefix /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" ecc200_pc_to_prefix "${ecc200_pc_to_prefix}")
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(ecc200_pc_prefix ${CMAKE_INSTALL_PREFIX})
  set(ecc200_pc_libdir ${CMAKE_INSTALL_FULL_LIBDIR})
  set(ecc200_pc_includedir ${CMAKE_INSTALL_FULL_INCLUDEDIR})
else()
  set(ecc200_pc_prefix "\${pcfiledir}/${ecc200_pc_to_prefix}")
  set(ecc200_pc_libdir "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
  set(ecc200_pc_includedir "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/ecc200.pc.in ${PROJECT_BINARY_DIR}/ecc200.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/ecc200.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The license in Debian's machine-readable copyright format, for the package.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE ecc200_license_text)
string(STRIP "${ecc200_license_text}" ecc200_license_text)
string(REPLACE "\n\n" "\n.\n" ecc200_license_text "${ecc200_license_text}")
string(REPLACE "\n" "\n " ecc200_license_text " ${ecc200_license_text}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian-copyright.in ${PROJECT_BINARY_DIR}/copyright @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/copyright DESTINATION ${ecc200_doc_dir})
