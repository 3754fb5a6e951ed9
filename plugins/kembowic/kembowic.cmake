# kembowic.spi: the import plug-in that ships beside KEMBO.EXE and reads every picture format the
# system's imaging component decodes. Its portable parts (signatures, orientation, bitmap
# building) are also built natively for the unit tests and the fuzzer.
set(kembowic_dir ${PROJECT_SOURCE_DIR}/plugins/kembowic)
file(GLOB kembowic_sources CONFIGURE_DEPENDS ${kembowic_dir}/*.cpp)
set(kembowic_portable_sources ${kembowic_sources})
list(FILTER kembowic_portable_sources EXCLUDE REGEX "_win\\.cpp$")

if(WIN32)
  # Plain export names, the C and C++ runtimes linked in: the library needs system DLLs only.
  add_library(kembowic MODULE ${kembowic_sources})
  target_include_directories(kembowic PRIVATE ${kembowic_dir} ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(kembowic PRIVATE ${warnings})
  target_link_options(kembowic PRIVATE ${static_runtime} -Wl,--kill-at)
  target_link_libraries(kembowic PRIVATE ole32 uuid windowscodecs)
  set_target_properties(kembowic PROPERTIES PREFIX "" SUFFIX .spi OUTPUT_NAME kembowic
    LIBRARY_OUTPUT_DIRECTORY ${dist_dir})
endif()
