# SPDX-License-Identifier: GPL-3.0-or-later
# Every target of the project compiles with these warnings; they are fixed, not silenced.
function(vellumix_target name)
  target_compile_options(${name} PRIVATE -Wall -Wextra -Wpedantic -Wnon-virtual-dtor
    $<IF:$<CXX_COMPILER_ID:GNU>,-Wshadow=local,-Wshadow-uncaptured-local>)
  target_compile_definitions(${name} PRIVATE QT_NO_KEYWORDS QT_NO_CAST_FROM_BYTEARRAY QT_USE_QSTRINGBUILDER)
endfunction()

# vellumix_library(<name> <folder> [DEPS libs...] SOURCES files...)
# A library of one layer and folder. Its folder is its public include folder, so a target
# sees only the headers of the targets it links: a dependency pointing upward fails to build.
function(vellumix_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_DEPS})
  vellumix_target(${name})
endfunction()

# vellumix_test(<name> DEPS libs... SOURCES files...)
# One GoogleTest executable; each test case becomes a ctest test, run headless.
function(vellumix_test name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gtest GTest::gmock Qt6::Test)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
  vellumix_target(${name})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    # One variable only: the test main sets the data and source folders itself.
    PROPERTIES TIMEOUT 180 ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()
