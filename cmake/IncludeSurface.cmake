# Each library shows its dependants only its own headers, at their usual paths
# ("platform/raster/Bitmap.h"), through a folder of links in the build tree. A header
# that is not among a library's own or its dependencies' cannot be found, so an include
# from a lower layer into a higher one fails to compile.
function(vz_include_surface target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(surface ${PROJECT_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${surface})
  foreach(source IN LISTS sources)
    if(NOT source MATCHES "\\.h$")
      continue()
    endif()
    get_filename_component(header ${source} ABSOLUTE BASE_DIR ${source_dir})
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${header})
    get_filename_component(folder ${surface}/${relative} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    file(CREATE_LINK ${header} ${surface}/${relative} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${surface})
endfunction()
