# 32-bit Windows, and 32-bit Wine prefixes.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TRAVIK_TRIPLET i686-w64-mingw32)
set(TRAVIK_WINEARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
