# Zips the program folder's shipped files into <release_dir>/<release_name>.zip, all inside one
# folder of that name, so unpacking never scatters files. Run by the `dist` target:
#   cmake -D dist_dir=... -D release_dir=... -D release_name=... -D release_files=a;b;... -P release.cmake
# Besides release_files (relative to dist_dir) it takes every plug-in (*.spi) the folder holds.
cmake_minimum_required(VERSION 3.25)

set(stage ${release_dir}/${release_name})
file(REMOVE_RECURSE ${stage})
file(GLOB old_zips ${release_dir}/KEMBO-*.zip)
if(old_zips)
  file(REMOVE ${old_zips})
endif()

file(GLOB plugins RELATIVE ${dist_dir} ${dist_dir}/*.spi)
foreach(f IN LISTS release_files plugins)
  if(NOT EXISTS ${dist_dir}/${f})
    message(FATAL_ERROR "release: ${f} is missing from ${dist_dir}")
  endif()
  get_filename_component(sub ${f} DIRECTORY)
  file(COPY ${dist_dir}/${f} DESTINATION ${stage}/${sub})
endforeach()

file(ARCHIVE_CREATE OUTPUT ${release_dir}/${release_name}.zip PATHS ${release_name} FORMAT zip)
