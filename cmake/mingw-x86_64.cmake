# Test vehicle: the same sources for x86_64, run under Wine's 64-bit loader.
# The posix thread model is needed by googletest.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
