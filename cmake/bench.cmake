# Benchmarks (Google Benchmark), each file of bench/ one program, measured against a peer or a
# plain copy. stb_image is a peer for the benchmarks only, never part of the program.
find_package(benchmark REQUIRED)
find_path(STB_INCLUDE_DIR stb_image.h PATH_SUFFIXES stb REQUIRED)
find_library(STB_LIBRARY stb REQUIRED)

file(GLOB bench_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
list(FILTER bench_sources EXCLUDE REGEX "_win\\.cpp$")  # those are built by the win32 preset
add_custom_target(benchmarks)
foreach(source ${bench_sources})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_include_directories(${name} SYSTEM PRIVATE ${STB_INCLUDE_DIR})
  target_link_libraries(${name} PRIVATE kembo_core benchmark::benchmark ${STB_LIBRARY})
  target_compile_options(${name} PRIVATE ${warnings})
  add_dependencies(benchmarks ${name})
endforeach()
