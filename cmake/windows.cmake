# KEMBO.EXE for 32-bit Windows, the Win32 layer, and the test programs that run under Wine.
set(win_libs user32 gdi32 shell32 ole32 oleaut32 uuid comctl32 comdlg32 advapi32 version shlwapi bcrypt)
set(static_runtime -static -static-libgcc -static-libstdc++)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# The entry point is KEMBO.EXE's alone; the rest of the Win32 layer is a library the tests share.
set(entry_source ${PROJECT_SOURCE_DIR}/src/kembo/main_win.cpp)
set(helper_entry_source ${PROJECT_SOURCE_DIR}/src/helper/plugin_helper_main_win.cpp)
list(REMOVE_ITEM win_sources ${entry_source} ${helper_entry_source})
add_library(kembo_win STATIC ${win_sources})
target_link_libraries(kembo_win PUBLIC kembo_core ${win_libs})
target_compile_options(kembo_win PRIVATE ${warnings})

# The one version number of the program: the resources, the manifest and the release name.
set(generated_dir ${CMAKE_BINARY_DIR}/generated)
set(KEMBO_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
configure_file(${PROJECT_SOURCE_DIR}/resources/kembo_version.h.in ${generated_dir}/kembo_version.h @ONLY)
# The manifest names the processor it was built for (amd64 only in the 64-bit test stand-in).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(KEMBO_MANIFEST_ARCH amd64)
else()
  set(KEMBO_MANIFEST_ARCH x86)
endif()
configure_file(${PROJECT_SOURCE_DIR}/resources/kembo.manifest.in ${generated_dir}/kembo.manifest @ONLY)

set(dist_dir ${CMAKE_BINARY_DIR}/dist)
set(resources_dir ${PROJECT_SOURCE_DIR}/resources)
add_executable(KEMBO WIN32 ${entry_source} ${resources_dir}/kembo.rc)
target_link_libraries(KEMBO PRIVATE kembo_win)
target_link_options(KEMBO PRIVATE ${static_runtime} -municode)
target_compile_options(KEMBO PRIVATE ${warnings})
# windres finds the files the script names in these folders.
target_include_directories(KEMBO PRIVATE ${resources_dir} ${generated_dir})
set_target_properties(KEMBO PROPERTIES OUTPUT_NAME KEMBO SUFFIX .EXE
  RUNTIME_OUTPUT_DIRECTORY ${dist_dir})
set_property(SOURCE ${resources_dir}/kembo.rc APPEND PROPERTY OBJECT_DEPENDS
  ${resources_dir}/kembo.ico ${resources_dir}/title1.bmp ${resources_dir}/title2.bmp
  ${resources_dir}/title_mask.bmp ${resources_dir}/ok_glyph.bmp ${generated_dir}/kembo.manifest ${generated_dir}/kembo_version.h)

# The plug-in helper, beside the program: it loads the outside plug-ins in a process of its own.
add_executable(KEMBOSPI WIN32 ${helper_entry_source})
target_link_libraries(KEMBOSPI PRIVATE kembo_win)
target_link_options(KEMBOSPI PRIVATE ${static_runtime} -municode)
target_compile_options(KEMBOSPI PRIVATE ${warnings})
set_target_properties(KEMBOSPI PROPERTIES OUTPUT_NAME KEMBOSPI SUFFIX .EXE RUNTIME_OUTPUT_DIRECTORY ${dist_dir})
add_dependencies(KEMBO KEMBOSPI)

# What ships beside the program.
file(GLOB dist_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/dist/*)
foreach(f ${dist_files})
  get_filename_component(name ${f} NAME)
  configure_file(${f} ${dist_dir}/${name} COPYONLY)
endforeach()
file(GLOB_RECURSE doc_files CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/doc ${PROJECT_SOURCE_DIR}/doc/*)
foreach(f ${doc_files})
  configure_file(${PROJECT_SOURCE_DIR}/doc/${f} ${dist_dir}/doc/${f} COPYONLY)
endforeach()
# The read-me as Windows' Notepad reads it best: a byte-order mark and CRLF line ends.
string(ASCII 239 187 191 utf8_bom)
file(READ ${resources_dir}/README.txt.in readme)
file(CONFIGURE OUTPUT ${dist_dir}/README.txt CONTENT "${utf8_bom}${readme}" @ONLY NEWLINE_STYLE CRLF)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${resources_dir}/README.txt.in)

# The release: `cmake --build --preset dist` zips what ships (after the whole build, so every
# plug-in built into the program folder is there).
set(release_name KEMBO-${PROJECT_VERSION})
set(release_dir ${CMAKE_BINARY_DIR}/release)
file(MAKE_DIRECTORY ${release_dir})
list(TRANSFORM doc_files PREPEND doc/ OUTPUT_VARIABLE release_doc_files)
set(release_files KEMBO.EXE KEMBOSPI.EXE README.txt ${release_doc_files})
foreach(f ${dist_files})
  get_filename_component(name ${f} NAME)
  list(APPEND release_files ${name})
endforeach()
add_custom_target(dist
  COMMAND ${CMAKE_COMMAND} -D dist_dir=${dist_dir} -D release_dir=${release_dir}
    -D release_name=${release_name} "-D release_files=${release_files}"
    -P ${PROJECT_SOURCE_DIR}/cmake/release.cmake
  WORKING_DIRECTORY ${release_dir}
  COMMENT "Release ${release_dir}/${release_name}.zip" VERBATIM)
add_dependencies(dist KEMBO)

# The import plug-in that ships with the program.
include(${PROJECT_SOURCE_DIR}/plugins/kembowic/kembowic.cmake)

# GoogleTest from the system's sources, built with MinGW.
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)

# A Windows test program from tests/<name>/ (and any further sources), run under Wine.
function(kembo_wine_program name)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${name}/*.cpp
    ${PROJECT_SOURCE_DIR}/tests/common/*.cpp)
  add_executable(${name}_tests ${sources} ${ARGN})
  target_include_directories(${name}_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/${name}
    ${PROJECT_SOURCE_DIR}/tests/common)
  target_link_libraries(${name}_tests PRIVATE kembo_win gtest gtest_main)
  target_link_options(${name}_tests PRIVATE ${static_runtime})
  target_compile_options(${name}_tests PRIVATE ${warnings})
endfunction()

function(kembo_wine_test name)
  kembo_wine_program(${name})
  add_test(NAME ${name} COMMAND ${name}_tests --gtest_brief=1)
  # Passed only when GoogleTest says so: a process that Wine ends without a word (an overflowing
  # stack it cannot report, say) may leave an exit code of 0 behind.
  set_tests_properties(${name} PROPERTIES PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]"
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endfunction()

kembo_wine_test(win32)
# The benchmark runner of the i686 build (bench/support) is tested where it runs.
target_sources(win32_tests PRIVATE ${PROJECT_SOURCE_DIR}/bench/support/benchmark.cpp)
target_include_directories(win32_tests PRIVATE ${PROJECT_SOURCE_DIR}/bench/support)
kembo_wine_test(e2e)
add_dependencies(e2e_tests KEMBO)
add_dependencies(win32_tests KEMBO)
target_include_directories(win32_tests PRIVATE ${generated_dir})
set_tests_properties(e2e PROPERTIES ENVIRONMENT "KEMBO_DIST=${dist_dir}" TIMEOUT 600)
set_tests_properties(win32 PROPERTIES TIMEOUT 300
  ENVIRONMENT "KEMBO_DIST=${dist_dir};KEMBO_FIXTURES=${PROJECT_SOURCE_DIR}/tests/fixtures")
add_dependencies(win32_tests kembowic)
# Title pictures of the splash's tests, with masks that have black pixels.
set(splash_fixtures ${PROJECT_SOURCE_DIR}/tests/fixtures/splash)
target_sources(win32_tests PRIVATE ${splash_fixtures}/splash_test.rc)
target_include_directories(win32_tests PRIVATE ${splash_fixtures})
file(GLOB splash_fixture_bitmaps CONFIGURE_DEPENDS ${splash_fixtures}/*.bmp)
set_property(SOURCE ${splash_fixtures}/splash_test.rc APPEND PROPERTY OBJECT_DEPENDS ${splash_fixture_bitmaps})

# The release zip as a user gets it: unpacked into a fresh folder, its contents checked, the
# program in it started and closed under Wine.
kembo_wine_program(release ${PROJECT_SOURCE_DIR}/tests/e2e/harness.cpp)
target_include_directories(release_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/e2e)
add_test(NAME release COMMAND ${PROJECT_SOURCE_DIR}/tests/release/check_release
  ${release_dir}/${release_name}.zip ${release_name} ${dist_dir} $<TARGET_FILE:release_tests>)
set_tests_properties(release PROPERTIES TIMEOUT 300)
include(cmake/plugins.cmake)
