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
