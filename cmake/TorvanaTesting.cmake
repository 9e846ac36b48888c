include(GoogleTest)

# The environment of every test: headless, and under the
# sanitizers the leak checker's suppressions for third-party libraries.
set(TV_TEST_ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
if(TORVANA_SANITIZE)
  list(APPEND TV_TEST_ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp")
endif()

# tv_add_test(<name> [WINDOW] SOURCES <files...> LIBS <targets...>
#             [INCLUDES <dirs...>] [DEFINITIONS <defs...>] [DEPENDS <targets...>])
# One test executable per component; it runs headless under the offscreen platform plugin.
# WINDOW marks tests that show windows and drive them with simulated input: they carry the label
# "window", and scripts/test.sh runs them once more on an X server (TORVANA_TEST_PLATFORM=xcb, read
# by the tests' main), where the window system activates and places windows in its own time.
# scripts/test.sh builds them with -Werror (TORVANA_WERROR): the code is free of warnings and
# stays so.
# INCLUDES are private include roots (a library's own folder, for tests of its internal headers),
# DEFINITIONS private compile definitions, DEPENDS targets that must be built before the tests run
# (the control libraries and tools the tests load or start by path).
function(tv_add_test name)
  if(NOT TORVANA_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "WINDOW" "" "SOURCES;LIBS;INCLUDES;DEFINITIONS;DEPENDS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} tv_testmain GTest::gtest GTest::gmock)
  target_include_directories(${name} PRIVATE ${T_INCLUDES})
  target_compile_definitions(${name} PRIVATE ${T_DEFINITIONS})
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  # CTest lists every test case, read from the executable right after it is built. Each case runs
  # in a process of its own.
  set(labels "")
  if(T_WINDOW)
    set(labels window)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE POST_BUILD
    DISCOVERY_TIMEOUT 120
    TEST_PREFIX "${name}."
    NO_PRETTY_VALUES
    PROPERTIES ENVIRONMENT "${TV_TEST_ENVIRONMENT}" TIMEOUT 600 LABELS "${labels}")
endfunction()

# tv_add_bench(<name> SOURCES <files...> LIBS <targets...>)
# One benchmark program per area; it links the benchmarks' shared support (bench/support:
# bench/bench_support.h), which brings Google Benchmark.
function(tv_add_bench name)
  if(NOT TORVANA_BENCH)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} tvbench)
endfunction()
