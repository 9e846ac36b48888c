# tv_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One test executable per component; it runs headless under the offscreen platform plugin.
function(tv_add_test name)
  if(NOT TORVANA_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} tv_testmain GTest::gtest GTest::gmock)
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
