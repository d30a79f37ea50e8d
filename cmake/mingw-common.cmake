# Shared part of the MinGW-w64 toolchain files: cross-compiling for Windows
# with the Debian packages of mingw-w64. The including file sets
# ECC200_MINGW_TRIPLE (i686-w64-mingw32 or x86_64-w64-mingw32) first.
#
# The "-posix" compilers are used because the library's std::mutex needs the
# POSIX thread model; the win32 model of GCC 12 has no std::mutex. The thread
# library is linked statically along with the rest of the runtime.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${ECC200_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ECC200_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ECC200_MINGW_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${ECC200_MINGW_TRIPLE}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${ECC200_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
