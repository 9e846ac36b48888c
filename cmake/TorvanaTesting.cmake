# tv_add_test(<name> SOURCES <files...> LIBS <targets...>
#             [INCLUDES <dirs...>] [DEFINITIONS <defs...>] [DEPENDS <targets...>])
# One test executable per component; it runs headless under the offscreen platform plugin.
# INCLUDES are private include roots (a library's own folder, for tests of its internal headers),
# DEFINITIONS private compile definitions, DEPENDS targets that must be built before the tests run
# (the control libraries and tools the tests load or start by path).
function(tv_add_test name)
  if(NOT TORVANA_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;INCLUDES;DEFINITIONS;DEPENDS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} tv_testmain GTest::gtest GTest::gmock)
  target_include_directories(${name} PRIVATE ${T_INCLUDES})
  target_compile_definitions(${name} PRIVATE ${T_DEFINITIONS})
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TORVANA_TESTING=1"
    TIMEOUT 600)
endfunction()

# tv_add_bench(<name> SOURCES <files...> LIBS <targets...>)
function(tv_add_bench name)
  if(NOT TORVANA_BENCH)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
endfunction()
