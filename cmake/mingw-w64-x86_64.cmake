# 64-bit Windows.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TRAVIK_TRIPLET x86_64-w64-mingw32)
set(TRAVIK_WINEARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
