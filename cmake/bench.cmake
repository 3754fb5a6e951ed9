# Benchmarks, each file of bench/ one program, measured against a peer or a plain copy. stb_image
# is a peer for the benchmarks only, never part of the program. Both worlds build them: natively
# with the system's Google Benchmark, and for i686 (run under Wine: the figures users get) with
# the runner of bench/support, which speaks the same interface. A file named *_win.cpp needs
# Windows and is built for i686 only.
file(GLOB bench_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
if(WIN32)
  # The system's stb is a Linux library: its header is compiled here.
  find_path(STB_INCLUDE_DIR stb_image.h PATHS /usr/include/stb NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  add_library(bench_support STATIC ${PROJECT_SOURCE_DIR}/bench/support/benchmark.cpp
    ${PROJECT_SOURCE_DIR}/bench/support/stb_image.c)
  target_include_directories(bench_support PUBLIC ${PROJECT_SOURCE_DIR}/bench/support)
  target_include_directories(bench_support SYSTEM PUBLIC ${STB_INCLUDE_DIR})
  target_compile_options(bench_support PRIVATE ${warnings})
  set_source_files_properties(${PROJECT_SOURCE_DIR}/bench/support/stb_image.c PROPERTIES COMPILE_OPTIONS -w)
  # What the Windows-only ones may use besides: the test helpers that make pictures and folders,
  # the imaging component, and the shipped plug-in beside them (dist/).
  add_library(bench_win_support STATIC ${PROJECT_SOURCE_DIR}/tests/common/temp_folder.cpp
    ${PROJECT_SOURCE_DIR}/tests/common/test_pictures.cpp)
  target_include_directories(bench_win_support PUBLIC ${PROJECT_SOURCE_DIR}/tests/common)
  target_link_libraries(bench_win_support PUBLIC kembo_win windowscodecs)
  set(bench_libs bench_support kembo_win)
  set(bench_link_options ${static_runtime})
else()
  find_package(benchmark REQUIRED)
  find_path(STB_INCLUDE_DIR stb_image.h PATH_SUFFIXES stb REQUIRED)
  find_library(STB_LIBRARY stb REQUIRED)
  list(FILTER bench_sources EXCLUDE REGEX "_win\\.cpp$")
  set(bench_libs benchmark::benchmark ${STB_LIBRARY})
  set(bench_link_options)
endif()

add_custom_target(benchmarks)
foreach(source ${bench_sources})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/bench)
  target_include_directories(${name} SYSTEM PRIVATE ${STB_INCLUDE_DIR})
  target_link_libraries(${name} PRIVATE kembo_core ${bench_libs})
  if(name MATCHES "_win$")
    target_link_libraries(${name} PRIVATE bench_win_support)
    add_dependencies(${name} kembowic plugins)
  endif()
  target_link_options(${name} PRIVATE ${bench_link_options})
  target_compile_options(${name} PRIVATE ${warnings})
  add_dependencies(benchmarks ${name})
endforeach()

if(WIN32)
  # Live resizing timed from another program, over the KEMBO.EXE of this build (and others).
  add_executable(window_resize ${PROJECT_SOURCE_DIR}/bench/e2e/window_resize_win.cpp)
  target_include_directories(window_resize PRIVATE ${PROJECT_SOURCE_DIR}/bench)
  target_link_libraries(window_resize PRIVATE bench_win_support)
  target_link_options(window_resize PRIVATE ${static_runtime} -municode)
  target_compile_options(window_resize PRIVATE ${warnings})
  add_dependencies(benchmarks window_resize KEMBO)
  # The program's start timed from another program, against an empty window program's.
  add_executable(empty_window WIN32 ${PROJECT_SOURCE_DIR}/bench/e2e/empty_window_win.cpp)
  target_link_options(empty_window PRIVATE ${static_runtime} -municode)
  add_executable(program_start ${PROJECT_SOURCE_DIR}/bench/e2e/program_start_win.cpp)
  target_include_directories(program_start PRIVATE ${PROJECT_SOURCE_DIR}/bench)
  target_link_libraries(program_start PRIVATE bench_win_support)
  target_link_options(program_start PRIVATE ${static_runtime} -municode)
  target_compile_options(program_start PRIVATE ${warnings})
  add_dependencies(benchmarks program_start empty_window KEMBO kembowic)
endif()
