# The portable core on Linux: unit tests under AddressSanitizer and UBSan.
set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
option(KEMBO_SANITIZE "Build the native core and its tests with ASan and UBSan" ON)
if(KEMBO_SANITIZE)
  target_compile_options(kembo_core PUBLIC ${sanitizers})
  target_link_options(kembo_core PUBLIC ${sanitizers})
endif()

find_package(GTest REQUIRED)
file(GLOB unit_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${unit_sources})
target_include_directories(unit_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/unit)
target_link_libraries(unit_tests PRIVATE kembo_core GTest::gtest_main)
target_compile_options(unit_tests PRIVATE ${warnings})
add_test(NAME unit COMMAND unit_tests --gtest_brief=1)
set_tests_properties(unit PROPERTIES ENVIRONMENT
  "KEMBO_TESTDATA=${PROJECT_SOURCE_DIR}/tests/data;UBSAN_OPTIONS=print_stacktrace=1")

# The portable parts of the import plug-in that ships with the program, under the same checks.
include(${PROJECT_SOURCE_DIR}/plugins/kembowic/kembowic.cmake)
add_library(kembowic_portable STATIC ${kembowic_portable_sources})
target_include_directories(kembowic_portable PUBLIC ${PROJECT_SOURCE_DIR}/plugins)
target_link_libraries(kembowic_portable PUBLIC kembo_core)
target_compile_options(kembowic_portable PRIVATE ${warnings})
target_link_libraries(unit_tests PRIVATE kembowic_portable)
