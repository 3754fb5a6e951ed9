# libFuzzer targets (clang): the readers of outside input under ASan and UBSan, and a short CTest
# run of each. Only the sources the targets need are built; `tools/fuzz` runs longer.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "The fuzz targets need clang: use the preset fuzz")
endif()
if(KEMBO_SANITIZE)
  message(FATAL_ERROR "The fuzz build brings its own sanitizers: leave KEMBO_SANITIZE OFF")
endif()
set_target_properties(kembo_core PROPERTIES EXCLUDE_FROM_ALL ON)

set(fuzz_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
file(GLOB catalog_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/base/catalog*.cpp)
set(base_sources ${PROJECT_SOURCE_DIR}/src/base/errors.cpp ${PROJECT_SOURCE_DIR}/src/base/text.cpp
  ${PROJECT_SOURCE_DIR}/src/base/numbers.cpp ${catalog_sources} ${PROJECT_SOURCE_DIR}/src/image/pixel_buffer.cpp)
file(GLOB bmp_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/image/bmp_*.cpp)
add_library(kembo_fuzz_core STATIC ${base_sources} ${bmp_sources})
target_include_directories(kembo_fuzz_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_options(kembo_fuzz_core PUBLIC ${fuzz_sanitizers} -fsanitize=fuzzer-no-link)
target_compile_options(kembo_fuzz_core PRIVATE ${warnings})
target_link_options(kembo_fuzz_core PUBLIC ${fuzz_sanitizers})

add_executable(bmp_reader_fuzz ${PROJECT_SOURCE_DIR}/fuzz/bmp_reader_fuzz.cpp)
target_link_libraries(bmp_reader_fuzz PRIVATE kembo_fuzz_core)
target_compile_options(bmp_reader_fuzz PRIVATE ${warnings})
target_link_options(bmp_reader_fuzz PRIVATE -fsanitize=fuzzer)

# Seeds: BMP Suite's files from the project's test data. The fuzzer adds what it finds to the
# corpus folder; both stay in the build folder.
set(fuzz_dir ${CMAKE_BINARY_DIR}/fuzz-bmp)
set(suite_dir ${PROJECT_SOURCE_DIR}/tests/data/bmpsuite)
file(MAKE_DIRECTORY ${fuzz_dir}/corpus ${fuzz_dir}/seeds ${fuzz_dir}/crashes)
file(GLOB suite_files ${suite_dir}/g/*.bmp ${suite_dir}/q/*.bmp ${suite_dir}/b/*.bmp)
if(NOT suite_files)
  message(FATAL_ERROR "No BMP Suite files under ${suite_dir}")
endif()
file(COPY ${suite_files} DESTINATION ${fuzz_dir}/seeds
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

add_test(NAME fuzz_bmp COMMAND bmp_reader_fuzz -max_total_time=20 -timeout=10
  -artifact_prefix=${fuzz_dir}/crashes/ ${fuzz_dir}/corpus ${fuzz_dir}/seeds)
set_tests_properties(fuzz_bmp PROPERTIES TIMEOUT 120)

# A further target: its own sources, a corpus folder in the build tree and a short CTest run.
function(kembo_fuzz_target name seconds)
  add_executable(${name}_fuzz ${PROJECT_SOURCE_DIR}/fuzz/${name}_fuzz.cpp ${ARGN})
  target_link_libraries(${name}_fuzz PRIVATE kembo_fuzz_core)
  target_compile_options(${name}_fuzz PRIVATE ${warnings})
  target_link_options(${name}_fuzz PRIVATE -fsanitize=fuzzer)
  set(dir ${CMAKE_BINARY_DIR}/fuzz-${name})
  file(MAKE_DIRECTORY ${dir}/corpus)
  add_test(NAME fuzz_${name} COMMAND ${name}_fuzz -max_total_time=${seconds} -timeout=10
    -artifact_prefix=${dir}/ ${dir}/corpus)
  set_tests_properties(fuzz_${name} PROPERTIES TIMEOUT 60)
endfunction()

# Icon and metafile headers, and the bitmaps plug-ins hand back.
kembo_fuzz_target(picture_header 10 ${PROJECT_SOURCE_DIR}/src/loading/icon.cpp
  ${PROJECT_SOURCE_DIR}/src/loading/metafile.cpp ${PROJECT_SOURCE_DIR}/src/loading/graphic.cpp)
kembo_fuzz_target(plugin_dib 10 ${PROJECT_SOURCE_DIR}/src/loading/spi_dib.cpp)
# The shipped import plug-in: signatures, Exif, truncation checks and the bitmap it builds.
include(${PROJECT_SOURCE_DIR}/plugins/kembowic/kembowic.cmake)
kembo_fuzz_target(kembowic 10 ${kembowic_portable_sources})
target_include_directories(kembowic_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/plugins)
# Both sides' parsers of the messages to and from the plug-in helper, and the description cache.
kembo_fuzz_target(plugin_messages 10 ${PROJECT_SOURCE_DIR}/src/loading/plugin_messages.cpp)
