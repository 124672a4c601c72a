# How test programs are built. Compiling the tests is most of the suite's build time, so the test
# tree is compiled without optimisation in both builds (the code under test keeps the build's own),
# in unity batches, against one precompiled GoogleTest header that all of it shares.
option(DW_TEST_UNITY "Compile the test programs' files in unity batches" ON)
set(DW_TEST_UNITY_BATCH 8 CACHE STRING "Files per unity batch of a test program")

# dw_test_program(name SOURCES ... LIBS ...): one GoogleTest program, run whole as one CTest test:
# a process of its own for each case cost the sanitizer build a third of a second of start and leak
# check, a thousand times over. One case alone: the program with --gtest_filter. How it is compiled
# is set for the whole test tree below.
function(dw_test_program name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  add_test(NAME ${name} COMMAND ${name})
endfunction()

# The command that runs a test program on a virtual X display of its own (-a takes a free one).
# Without -noreset the server resets whenever its last client goes, and a program that opens the
# display again at once (the next case of an SDL test) can find it refusing on a busy machine.
set(DW_XVFB xvfb-run -a -s "-screen 0 1024x768x24 -noreset")

# The name the test folders have always used.
function(dw_add_test name)
  dw_test_program(${name} ${ARGN})
endfunction()

# SDL's compile flags bring _REENTRANT to what links the window library. A precompiled header is
# used only where the macros match the ones it was made with, so all of the test tree has it.
set(DW_TEST_DEFINITIONS _REENTRANT)

# In a unity batch every source but the batch file counts as a header, so GCC would warn of each
# test fixture in an anonymous namespace. Without optimisation GCC knows no value ranges and takes
# every formatted number for the widest the type allows.
function(dw_test_target_flags target)
  target_compile_definitions(${target} PRIVATE ${DW_TEST_DEFINITIONS})
  target_compile_options(${target} PRIVATE -Wno-subobject-linkage -O0 -Wno-format-truncation)
endfunction()

# The shared precompiled header, made once and reused by every program and library of the tests.
function(dw_test_make_pch)
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/dw_test_pch.cpp
    CONTENT "// Holds the precompiled header that the test programs share.\n")
  add_library(dw_test_pch STATIC ${CMAKE_BINARY_DIR}/dw_test_pch.cpp)
  target_link_libraries(dw_test_pch PRIVATE GTest::gtest)
  target_precompile_headers(dw_test_pch PRIVATE <gtest/gtest.h> <string> <vector> <map> <memory>)
  dw_test_target_flags(dw_test_pch)
endfunction()

# Gives every program and static library under dir (and its subfolders) the test settings; the
# folders' own lists then need to say nothing about them.
function(dw_test_tree_settings dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY)$" OR target STREQUAL dw_test_pch)
      continue()
    endif()
    dw_test_target_flags(${target})
    # GoogleTest's own definitions are part of the shared header's, so even a helper program of the
    # tests that uses none of it takes them.
    target_link_libraries(${target} PRIVATE GTest::gtest)
    target_precompile_headers(${target} REUSE_FROM dw_test_pch)
    if(DW_TEST_UNITY)
      set_target_properties(${target} PROPERTIES
        UNITY_BUILD ON UNITY_BUILD_MODE BATCH UNITY_BUILD_BATCH_SIZE ${DW_TEST_UNITY_BATCH})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir ${subdirs})
    dw_test_tree_settings(${subdir})
  endforeach()
endfunction()

# dw_unity_apart(dir file ...): sources of the test folder dir that stay out of the unity batches,
# because a file-level helper of theirs has the name of a helper in another source of their program.
function(dw_unity_apart dir)
  list(TRANSFORM ARGN PREPEND ${CMAKE_SOURCE_DIR}/tests/${dir}/ OUTPUT_VARIABLE files)
  set_source_files_properties(${files} DIRECTORY ${CMAKE_SOURCE_DIR}/tests/${dir}
    PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
endfunction()
