# Host build: the platform-free logic under GoogleTest, with sanitizers,
# plus the generator of the icon artwork and checks on the built product.
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_compile_options(brisvane_core PRIVATE ${SANITIZE})

find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(native_tests ${NATIVE_TEST_SOURCES})
target_compile_options(native_tests PRIVATE ${SANITIZE})
target_link_options(native_tests PRIVATE ${SANITIZE})
target_link_libraries(native_tests PRIVATE brisvane_core GTest::gtest GTest::gtest_main)
gtest_discover_tests(native_tests DISCOVERY_MODE PRE_TEST)

if(EXISTS ${CMAKE_SOURCE_DIR}/tools/native.cmake)
  include(${CMAKE_SOURCE_DIR}/tools/native.cmake)
endif()

# The decoder's property under libFuzzer, when clang is there: built with
# clang beside the g++ build, run for a bounded time as a test.
find_program(CLANGXX NAMES clang++ clang++-14)
if(CLANGXX)
  set(fuzz_sources ${CMAKE_SOURCE_DIR}/tests/fuzz/capture_decoder_fuzz.cpp
    ${CMAKE_SOURCE_DIR}/tests/native/capture_fakes.cpp ${CMAKE_SOURCE_DIR}/capture/decoder.cpp)
  set(fuzz_exe ${CMAKE_BINARY_DIR}/capture_decoder_fuzz)
  add_custom_command(OUTPUT ${fuzz_exe}
    COMMAND ${CLANGXX} -std=c++17 -g -O1 -Wall -Wextra -Werror
      -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
      -I${CMAKE_SOURCE_DIR} ${fuzz_sources} -o ${fuzz_exe}
    DEPENDS ${fuzz_sources} VERBATIM)
  add_custom_target(fuzz_capture_decoder ALL DEPENDS ${fuzz_exe})
  add_test(NAME fuzz.capture_decoder
    COMMAND ${fuzz_exe} -max_total_time=20 -seed=1 -max_len=512 -print_final_stats=1)
  set_tests_properties(fuzz.capture_decoder PROPERTIES TIMEOUT 60)
endif()
