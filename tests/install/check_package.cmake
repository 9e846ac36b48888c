# cmake -DBUILD=<build> -DSRC=<tree> -DPREFIX=<folder> -DHOST_SOURCE=<host> -DHOST_BUILD=<folder>
#       -DGENERATOR=<generator> -DCXX=<compiler> [-DLAUNCHER=<ccache>] [-DFLAGS=<flags>]
#       -DBINDIR=.. -DPLUGINDIR=.. -P check_package.cmake
# Installs the build into PREFIX, builds the host in HOST_SOURCE against PREFIX alone, registers the
# installed control libraries with the installed regsvr and runs the host.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${PREFIX} ${HOST_BUILD})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${err}")
endif()

# Nothing of the build may be found: no package registry, no path but the prefix.
set(configure ${CMAKE_COMMAND} -S ${HOST_SOURCE} -B ${HOST_BUILD} -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${PREFIX} -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF
    -DCMAKE_BUILD_TYPE=Debug)
if(LAUNCHER)
  list(APPEND configure -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER})
endif()
if(FLAGS)
  list(APPEND configure "-DCMAKE_CXX_FLAGS=${FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}")
endif()
execute_process(COMMAND ${configure} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the host does not configure against the installed tree:\n${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${HOST_BUILD} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the host does not build against the installed tree:\n${out}")
endif()

# Its compiler saw headers of the installed tree and of the system only.
file(READ ${HOST_BUILD}/compile_commands.json commands)
string(REGEX MATCHALL "(-I|-isystem )[^ \"]+" includes "${commands}")
foreach(include ${includes})
  string(REGEX REPLACE "^(-I|-isystem )" "" dir "${include}")
  string(FIND "${dir}" "${PREFIX}/" inPrefix)
  string(FIND "${dir}" "${HOST_BUILD}/" inHostBuild)
  string(FIND "${dir}" "${SRC}/" inSource)
  string(FIND "${dir}" "${BUILD}/" inBuild)
  if(NOT inPrefix EQUAL 0 AND NOT inHostBuild EQUAL 0 AND (inSource EQUAL 0 OR inBuild EQUAL 0))
    message(FATAL_ERROR "the host compiles with headers outside the installed tree: ${dir}")
  endif()
endforeach()
string(FIND "${commands}" "${PREFIX}/include/torvana" seesInstalled)
if(seesInstalled EQUAL -1)
  message(FATAL_ERROR "the host does not include the installed headers:\n${commands}")
endif()

# The package names the installed files; the installed tool registers the installed libraries.
file(STRINGS ${HOST_BUILD}/libraries.txt named)
list(POP_FRONT named regsvr)
if(NOT regsvr STREQUAL "${PREFIX}/${BINDIR}/regsvr")
  message(FATAL_ERROR "the package names the registration tool ${regsvr}")
endif()
set(ENV{TORVANA_REGISTRY} ${HOST_BUILD}/registry)
unset(ENV{LD_LIBRARY_PATH})
foreach(library ${named})
  string(FIND "${library}" "${PREFIX}/${PLUGINDIR}/" inPlugins)
  if(NOT inPlugins EQUAL 0)
    message(FATAL_ERROR "the package names ${library}, not a library of ${PREFIX}/${PLUGINDIR}")
  endif()
  execute_process(COMMAND ${regsvr} ${library} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "regsvr ${library} answered ${rc}: ${out}")
  endif()
endforeach()

execute_process(COMMAND ${HOST_BUILD}/controlhost RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "DateFormat=13 SplitterWidth=9")
  message(FATAL_ERROR "the host answered ${rc}: ${out}${err}")
endif()
file(REMOVE_RECURSE ${PREFIX} ${HOST_BUILD})
message(STATUS "a host built against the installed controls: ${out}")
