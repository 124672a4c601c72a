# dw_add_test(name SOURCES ... LIBS ...): one GoogleTest program, its cases discovered at test time.
function(dw_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  # GoogleTest's header is the bulk of every test file's compile.
  target_precompile_headers(${name} PRIVATE <gtest/gtest.h> <string> <vector> <map> <memory>)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endfunction()
