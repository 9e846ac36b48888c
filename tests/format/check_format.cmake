# cmake -DSRC=<tree> -DCLANG_FORMAT=<program> -P check_format.cmake
# Every C++ source of the tree, build folders and hidden folders left out, as clang-format would
# leave it.
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*.cpp ${SRC}/*.h)
list(FILTER files EXCLUDE REGEX "^(build[^/]*|\\.[^/]*)/")
list(LENGTH files count)
if(count EQUAL 0)
  message(FATAL_ERROR "no source files found below ${SRC}")
endif()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${files}
  WORKING_DIRECTORY ${SRC} RESULT_VARIABLE rc ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "clang-format would change these places (clang-format -i <file>):\n${out}")
endif()
message(STATUS "${count} files follow .clang-format")
