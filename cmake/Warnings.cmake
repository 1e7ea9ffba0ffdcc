# SPDX-License-Identifier: GPL-3.0-or-later
# Every target of the project compiles with these warnings; they are fixed, not silenced.
# The test builds (tools/test.sh) make each warning an error.
option(VELLUMIX_WERROR "Treat compiler warnings as errors" OFF)
function(vellumix_target name)
  target_compile_options(${name} PRIVATE -Wall -Wextra -Wpedantic -Wnon-virtual-dtor
    -Wold-style-cast -Woverloaded-virtual -Wformat=2
    $<IF:$<CXX_COMPILER_ID:GNU>,-Wshadow=local,-Wshadow-uncaptured-local>
    $<$<BOOL:${VELLUMIX_WERROR}>:-Werror>)
  target_compile_definitions(${name} PRIVATE QT_NO_KEYWORDS QT_NO_CAST_FROM_BYTEARRAY QT_USE_QSTRINGBUILDER)
endfunction()

# vellumix_include_root(<target>)
# Makes the headers of the current source folder reachable to <target> and
# to every target linking it under the folder's path from the top of the tree,
# #include "spell/core/Dictionary.h". The include folder is a folder of the build tree of the
# target's own that holds a single link, named by that path, to the source folder: another
# folder's headers stay out of sight, so a target sees only the headers of the targets it links.
function(vellumix_include_root name)
  set(source ${CMAKE_CURRENT_SOURCE_DIR})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${source})
  set(root ${PROJECT_BINARY_DIR}/include/${name})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${source} ${root}/${folder} SYMBOLIC)
  get_target_property(type ${name} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${name} INTERFACE ${root})
  else()
    target_include_directories(${name} PUBLIC ${root})
  endif()
endfunction()

# vellumix_library(<name> [DEPS libs...] SOURCES files...)
# A library of one layer and folder, whose headers are included by the folder's path (see
# vellumix_include_root): a dependency pointing upward fails to build.
function(vellumix_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  vellumix_include_root(${name})
  target_link_libraries(${name} PUBLIC ${A_DEPS})
  vellumix_target(${name})
endfunction()

# vellumix_interface(<name> [DEPS libs...])
# Headers only (interfaces other layers implement), included like a library's.
function(vellumix_interface name)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  add_library(${name} INTERFACE)
  vellumix_include_root(${name})
  target_link_libraries(${name} INTERFACE ${A_DEPS})
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
