# Test plug-ins: real 32-bit DLLs built from tests/fixtures/plugins, each in a folder of its set
# under plugins/ so that a test can point a plug-in search at one folder. They use no C runtime
# (kernel32 only) and export plain stdcall names, as plug-in hosts look them up.
set(plugin_source_dir ${PROJECT_SOURCE_DIR}/tests/fixtures/plugins)
set(plugin_dir ${CMAKE_BINARY_DIR}/plugins)
add_custom_target(plugins)

# The shared parts are compiled once; a plug-in adds only its choice of variant.
foreach(part core misbehave picture archive)
  add_library(kpic_${part} OBJECT ${plugin_source_dir}/kpic_${part}.c)
  # Keeps GCC from turning loops into memcpy/memset calls, which would need a C runtime.
  target_compile_options(kpic_${part} PRIVATE ${warnings} -fno-tree-loop-distribute-patterns)
endforeach()

set(plugin_link_options -nostdlib -Wl,--kill-at -Wl,-e,_DllMain@12)

# kembo_plugin(<set> <file name without .spi> <variant> [PICTURE] [ARCHIVE] [SOURCES <file>...])
function(kembo_plugin set name variant)
  cmake_parse_arguments(arg "PICTURE;ARCHIVE" "" "SOURCES" ${ARGN})
  set(objects $<TARGET_OBJECTS:kpic_core> $<TARGET_OBJECTS:kpic_misbehave>)
  if(arg_PICTURE)
    list(APPEND objects $<TARGET_OBJECTS:kpic_picture>)
  endif()
  if(arg_ARCHIVE)
    list(APPEND objects $<TARGET_OBJECTS:kpic_archive>)
  endif()
  set(target plugin_${set}_${name})
  add_library(${target} MODULE ${plugin_source_dir}/kpic_variants.c ${objects} ${arg_SOURCES})
  target_compile_definitions(${target} PRIVATE KPIC_VARIANT=${variant})
  target_compile_options(${target} PRIVATE ${warnings})
  target_link_options(${target} PRIVATE ${plugin_link_options})
  target_link_libraries(${target} PRIVATE kernel32 gcc)
  set_target_properties(${target} PROPERTIES PREFIX "" SUFFIX .spi OUTPUT_NAME ${name}
    LIBRARY_OUTPUT_DIRECTORY ${plugin_dir}/${set})
  add_dependencies(plugins ${target})
endfunction()

# basic: one import plug-in with two pattern texts, and a text file named like a plug-in.
kembo_plugin(basic a basic PICTURE)
configure_file(${plugin_source_dir}/not_a_library.txt ${plugin_dir}/basic/x.spi COPYONLY)
# An import plug-in that lacks GetPicture.
kembo_plugin(nopicture b noPicture)
# The other plug-in types.
kembo_plugin(kinds xn typeXn)
kembo_plugin(kinds am typeAm ARCHIVE)
kembo_plugin(kinds other typeOther)
# The bitmaps a plug-in may hand back, each claiming its own extension.
foreach(variant bits1 bits4 bits8 bits16 bits24 bits32 topDown v5)
  string(TOLOWER ${variant} name)
  kembo_plugin(depths ${name} ${variant} PICTURE)
endforeach()
# A plug-in that imports from kpicdep.dll, which lies in a folder of its own, so tests can place
# copies where a loader should or should not look.
add_library(kpicdep SHARED ${plugin_source_dir}/kpic_dependency.c)
target_compile_options(kpicdep PRIVATE ${warnings})
target_link_options(kpicdep PRIVATE ${plugin_link_options})
target_link_libraries(kpicdep PRIVATE kernel32)
set_target_properties(kpicdep PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${plugin_dir}/dependency
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/plugin-libs)
kembo_plugin(dependent needsdep basic PICTURE SOURCES ${plugin_source_dir}/kpic_dependent.c)
target_link_libraries(plugin_dependent_needsdep PRIVATE kpicdep)
# One plug-in per set for the rest.
kembo_plugin(progress progress progress PICTURE)
kembo_plugin(header header header PICTURE)
kembo_plugin(fails fails fails PICTURE)
kembo_plugin(liar liar liar PICTURE)
kembo_plugin(bmp bmp bmp PICTURE)
# Plug-ins that fault (in each exported function, after reporting progress, by overflowing the
# stack) or misbehave otherwise, each in a set of its own: a reading offers its file to every
# picture plug-in in turn. A second overflowing one, for a second overflow in one run.
foreach(variant faultInfo faultSupported faultPictureInfo faultPicture faultStack faultProgress strangerProgress
        floatChange)
  string(TOLOWER ${variant} name)
  kembo_plugin(${name} ${name} ${variant} PICTURE)
endforeach()
kembo_plugin(faultstack second faultStack PICTURE)
# Plug-ins that never return, end their process, fault while loading or claim an absurd picture,
# all in one set: each of them costs the helper only, and claims extensions of its own.
foreach(variant hangInfo hangSupported hangPictureInfo hangPicture exitPicture faultDllMain hugeLiar)
  string(TOLOWER ${variant} name)
  kembo_plugin(outside ${name} ${variant} PICTURE)
endforeach()

# An outside plug-in that imports COM and relies on its host to have started it.
kembo_plugin(outside needscom needsCom PICTURE SOURCES ${plugin_source_dir}/kpic_com.c)
target_compile_definitions(plugin_outside_needscom PRIVATE KPIC_WITH_COM)
target_link_libraries(plugin_outside_needscom PRIVATE ole32)

add_dependencies(win32_tests plugins)
add_dependencies(e2e_tests plugins)
target_include_directories(win32_tests PRIVATE ${plugin_source_dir})
target_include_directories(e2e_tests PRIVATE ${plugin_source_dir})
set_property(TEST win32 APPEND PROPERTY ENVIRONMENT "KEMBO_PLUGINS=${plugin_dir}")
set_property(TEST e2e APPEND PROPERTY ENVIRONMENT "KEMBO_PLUGINS=${plugin_dir}")
