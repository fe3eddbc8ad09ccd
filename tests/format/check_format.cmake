# Fails when a C++ file of the project differs from what clang-format makes of it
# with the committed .clang-format. Run with -DSOURCE=<tree> -DCLANG_FORMAT=<program>.
set(files)
foreach(dir toolkit raster model export windows app tests bench fuzz resources)
  file(GLOB_RECURSE found ${SOURCE}/${dir}/*.cpp ${SOURCE}/${dir}/*.h)
  list(APPEND files ${found})
endforeach()
list(SORT files)
execute_process(COMMAND ${CLANG_FORMAT} --style=file --dry-run --Werror ${files}
  WORKING_DIRECTORY ${SOURCE} RESULT_VARIABLE result ERROR_VARIABLE out)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Not formatted; run clang-format -i on these files:\n${out}")
endif()
list(LENGTH files n)
message(STATUS "${n} files formatted as .clang-format says")
