# Cross-compiles the 64-bit Windows DLL with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ECC200_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
