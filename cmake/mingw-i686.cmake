# Product build: 32-bit Windows, static, no runtime DLLs. Its tests run in the
# prefix with a 32-bit half, through qemu (tools/wine-run --i386).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER ${TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run --i386)
