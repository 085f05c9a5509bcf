# Cross build for Windows with MinGW-w64, for the target that the including
# toolchain file names. The -posix variants are needed because GoogleTest
# uses std::mutex.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TRAVIK_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRAVIK_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TRAVIK_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TRAVIK_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test programs run under Wine, always in the build tree's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-emulator.sh ${TRAVIK_WINEARCH})
