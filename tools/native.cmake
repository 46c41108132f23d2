# The icon artwork generator, and checks of the resources in the built product.

add_executable(icongen ${CMAKE_SOURCE_DIR}/tools/icongen.cpp)
# No fused multiply-add, so every build type draws the same bytes.
target_compile_options(icongen PRIVATE -ffp-contract=off)

add_test(NAME res.generator_reproduces_committed_artwork
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/res/regenerate.sh $<TARGET_FILE:icongen> ${CMAKE_SOURCE_DIR})

add_executable(res_tests
  ${CMAKE_SOURCE_DIR}/tests/res/pe_resources.cpp
  ${CMAKE_SOURCE_DIR}/tests/res/exe_resources_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/res/design_images_test.cpp
  ${CMAKE_SOURCE_DIR}/about/design_images.cpp)
target_include_directories(res_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(res_tests PRIVATE ${SANITIZE})
target_link_options(res_tests PRIVATE ${SANITIZE})
target_link_libraries(res_tests PRIVATE GTest::gtest GTest::gtest_main)
gtest_discover_tests(res_tests TEST_PREFIX "res." DISCOVERY_MODE PRE_TEST
  PROPERTIES ENVIRONMENT "BRISVANE_SOURCE_DIR=${CMAKE_SOURCE_DIR}")

add_test(NAME res.product_imports_only_system_dlls
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/res/imports.sh ${CMAKE_SOURCE_DIR}/build/win32/Pellmorvaine.exe)
