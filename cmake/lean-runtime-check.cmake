# Run after travik.exe is linked (cmake -DMAP=... -DEXE=... -P): app/LeanRuntime.cpp
# keeps libstdc++'s exception machinery out of it. Should a toolchain bring it
# back by another way, the build fails here instead of the program growing
# silently.
file(READ "${MAP}" map)
string(REGEX MATCHALL "libstdc\\+\\+\\.a\\((functexcept|eh_throw|eh_alloc|vterminate)\\.o\\)" found "${map}")
if(found)
  list(REMOVE_DUPLICATES found)
  file(REMOVE "${EXE}")
  message(FATAL_ERROR "travik.exe links the C++ exception machinery (${found}): "
                      "app/LeanRuntime.cpp no longer fits this toolchain")
endif()
