# Fails when a file of a layer includes a header of a layer above it, or of the
# tests, benchmarks or fuzzer that sit on top of them all. The layers, from the
# bottom: toolkit, raster, model, export, windows, app.
#
#   cmake -DSOURCE_DIR=<source tree> -P check_includes.cmake
#
# An include is looked for next to the including file first, then from the root
# of the tree, as the compiler does with the tree's root on the include path;
# Qt's and the system's headers are found in neither place and are not checked.
cmake_minimum_required(VERSION 3.22)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()
set(layers toolkit raster model export windows app)
set(on_top tests bench fuzz)

set(faults "")
list(LENGTH layers layer_count)
foreach(layer IN LISTS layers)
  list(FIND layers ${layer} rank)
  file(GLOB_RECURSE files ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
  if(NOT files)
    # A renamed or emptied folder must not let the check pass unseen.
    list(APPEND faults "${layer}/ holds no source file")
  endif()
  foreach(file IN LISTS files)
    file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
    get_filename_component(dir ${file} DIRECTORY)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]+[\">]")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*$" "\\1" header "${line}")
      if(EXISTS ${dir}/${header})
        get_filename_component(found ${dir}/${header} ABSOLUTE)
      elseif(EXISTS ${SOURCE_DIR}/${header})
        get_filename_component(found ${SOURCE_DIR}/${header} ABSOLUTE)
      else()
        continue()
      endif()
      file(RELATIVE_PATH where ${SOURCE_DIR} ${found})
      string(REGEX REPLACE "/.*$" "" top "${where}")
      list(FIND layers "${top}" its_rank)
      list(FIND on_top "${top}" above_all)
      if(its_rank GREATER rank OR above_all GREATER -1)
        list(APPEND faults "${name} includes ${where} (${top} is above ${layer})")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "A layer reaches up:\n  ${text}")
endif()
message(STATUS "Every include stays in its layer or below it")
