# Win32 tests on the x86_64 vehicle; ctest runs them through tools/wine-run.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -Wno-error)
include(GoogleTest)

# The test programs carry the same resources as the product, so icon loads
# by name behave as in the real executable.
file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_executable(win_tests ${WIN_TEST_SOURCES} ${RESOURCE_SCRIPT})
target_link_libraries(win_tests PRIVATE brisvane_win gtest)
target_link_options(win_tests PRIVATE ${STATIC_LINK})
target_include_directories(win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/win)
gtest_discover_tests(win_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 120 ENVIRONMENT "BRISVANE_EXE=$<TARGET_FILE:Pellmorvaine>")

# The program's own pieces of the C++ runtime, linked as in the program.
add_executable(lean_runtime_test ${CMAKE_SOURCE_DIR}/tests/lean/lean_runtime_test.cpp
  ${CMAKE_SOURCE_DIR}/app/lean_runtime_win.cpp)
target_link_libraries(lean_runtime_test PRIVATE brisvane_win)
target_link_options(lean_runtime_test PRIVATE ${STATIC_LINK})
add_test(NAME lean_runtime COMMAND lean_runtime_test)

file(GLOB E2E_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(E2E_TEST_SOURCES)
  add_executable(e2e_tests ${E2E_TEST_SOURCES})
  target_link_libraries(e2e_tests PRIVATE gtest gtest_main user32 gdi32 kernel32)
  target_link_options(e2e_tests PRIVATE ${STATIC_LINK})
  target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/e2e ${CMAKE_SOURCE_DIR})
  add_dependencies(e2e_tests Pellmorvaine)
  gtest_discover_tests(e2e_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE ENVIRONMENT "BRISVANE_EXE=$<TARGET_FILE:Pellmorvaine>")
endif()

# Tests that look at the screen from outside (xdotool, ImageMagick).
file(GLOB SCREEN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/screen/*.sh)
foreach(script ${SCREEN_TESTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME screen.${name} COMMAND bash ${script} $<TARGET_FILE:Pellmorvaine>)
  set_tests_properties(screen.${name} PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE)
endforeach()
