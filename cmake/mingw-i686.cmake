# Cross-compiles the 32-bit Windows DLL with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ECC200_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
