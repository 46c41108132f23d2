# Windows builds: the program, and on the x86_64 test vehicle the Win32 tests.
option(BRISVANE_WIN_TESTS "Build the Win32 tests (run under Wine)" OFF)

set(STATIC_LINK -static -static-libgcc -static-libstdc++)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

file(GLOB WIN_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/forms/*.cpp
  ${CMAKE_SOURCE_DIR}/app/*_win.cpp ${CMAKE_SOURCE_DIR}/app/frm*.cpp
  ${CMAKE_SOURCE_DIR}/capture/*_win.cpp
  ${CMAKE_SOURCE_DIR}/about/*_win.cpp ${CMAKE_SOURCE_DIR}/about/frm*.cpp)
list(FILTER WIN_SOURCES EXCLUDE REGEX "/app/(main|lean_runtime)_win\\.cpp$")

add_library(brisvane_win STATIC ${WIN_SOURCES})
target_link_libraries(brisvane_win PUBLIC brisvane_core)
target_link_libraries(brisvane_win PUBLIC comctl32 shell32 user32 gdi32 kernel32)

set(RESOURCE_SCRIPT ${CMAKE_SOURCE_DIR}/res/Pellmorvaine.rc)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  # An X86 manifest in a 64-bit program makes Wine (and Windows) look for the
  # 32-bit common controls, which a 64-bit process cannot load.
  file(READ ${CMAKE_SOURCE_DIR}/res/Pellmorvaine.manifest manifest)
  string(REPLACE "processorArchitecture=\"X86\"" "processorArchitecture=\"amd64\"" manifest "${manifest}")
  file(WRITE ${CMAKE_BINARY_DIR}/res/Pellmorvaine-amd64.manifest "${manifest}")
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_BINARY_DIR}/res")
endif()

add_executable(Pellmorvaine WIN32 ${CMAKE_SOURCE_DIR}/app/main_win.cpp
  ${CMAKE_SOURCE_DIR}/app/lean_runtime_win.cpp ${RESOURCE_SCRIPT})
target_link_libraries(Pellmorvaine PRIVATE brisvane_win)
target_link_options(Pellmorvaine PRIVATE ${STATIC_LINK} -mwindows -municode)
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  target_link_options(Pellmorvaine PRIVATE -s -Wl,--gc-sections)
  target_compile_options(brisvane_core PRIVATE -ffunction-sections -fdata-sections)
  target_compile_options(brisvane_win PRIVATE -ffunction-sections -fdata-sections)
  target_compile_options(Pellmorvaine PRIVATE -ffunction-sections -fdata-sections)
endif()

if(BRISVANE_WIN_TESTS)
  include(${CMAKE_SOURCE_DIR}/cmake/wintests.cmake)
endif()
