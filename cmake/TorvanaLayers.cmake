# The layers of the tree, kept by the build rather than by habit.
#
# Every library has two include roots: a PUBLIC one that its users see, holding only its public
# headers under the library's folder name ("dao/dao.h", "core/modStart.h"), and its own source
# folder, which only its sources (and its tests, when they ask for it) see. A header whose name ends
# in "_p.h" is internal and never reaches the public root. There is no project-wide include root: a
# target reaches a header only by linking the library that publishes it, so an include across the
# layers (platform/ -> app/, a control library -> the program or the other library) finds no file
# and fails to compile. tests/layers checks this with includes that must fail.

# tv_public_headers(<target> <name> [INSTALL])
# Publishes the headers of the current source folder, except *_p.h, as "<name>/<header>" on the
# PUBLIC (for an INTERFACE library: INTERFACE) include root of <target>. Several folders may publish
# into one target (platform/com and platform/ole both into tvcom). The root holds links to the
# headers, so an edit of a header needs no new configure run; a new or removed header does, and the
# glob asks for it.
# INSTALL: cmake --install puts the same headers under include/torvana/<name>/, for hosts built
# against the installed tree; the tests' stand-ins (fake*.h) stay behind.
function(tv_public_headers target name)
  cmake_parse_arguments(H "INSTALL" "" "" ${ARGN})
  file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER headers EXCLUDE REGEX "_p\\.h$")
  if(H_INSTALL)
    set(installed ${headers})
    list(FILTER installed EXCLUDE REGEX "^fake")
    install(FILES ${installed} DESTINATION ${TORVANA_INSTALL_INCLUDEDIR}/${name})
  endif()
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root}/${name})
  file(MAKE_DIRECTORY ${root}/${name})
  foreach(header ${headers})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${root}/${name}/${header} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE $<BUILD_INTERFACE:${root}>)
  else()
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}>)
  endif()
endfunction()

# tv_forbid_include(<check> AS <target> INCLUDE <header>)
# A test that compiles one line, #include "<header>", with the include roots of <target>'s own
# sources, and passes only when the compiler reports that the header cannot be found.
function(tv_forbid_include check)
  if(NOT TORVANA_TESTS)
    return()
  endif()
  cmake_parse_arguments(F "" "AS;INCLUDE" "" ${ARGN})
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${check}.cpp)
  file(CONFIGURE OUTPUT ${source} CONTENT "#include \"${F_INCLUDE}\"\n")
  add_library(${check} OBJECT EXCLUDE_FROM_ALL ${source})
  set_target_properties(${check} PROPERTIES
    INCLUDE_DIRECTORIES "$<TARGET_PROPERTY:${F_AS},INCLUDE_DIRECTORIES>"
    AUTOMOC OFF)
  string(REPLACE "." "\\." pattern "${F_INCLUDE}")
  add_test(NAME layers.${check} COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target ${check})
  # gcc and clang word it differently.
  set_tests_properties(layers.${check} PROPERTIES
    PASS_REGULAR_EXPRESSION "${pattern}: No such file|'${pattern}' file not found"
    RESOURCE_LOCK build_tree
    TIMEOUT 120)
endfunction()
