# Warnings are ours alone: they go on our targets through this interface
# library, never into CMAKE_CXX_FLAGS, so system headers stay quiet.
add_library(tf_warnings INTERFACE)
target_compile_options(tf_warnings INTERFACE
  $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wconversion
  -Wno-sign-conversion -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual>)

# Each folder is seen by others through a folder of its own in the build
# tree that holds nothing but a link named after it: a target that includes
# "squish/vocabulary.h" must link tf_squish (or something that links it), so
# an include against the layering fails to build.
function(tf_expose target folder)
  set(dir ${PROJECT_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${dir})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${dir}/${folder} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${dir})
  else()
    target_include_directories(${target} PUBLIC ${dir})
  endif()
endfunction()

# tf_library(name SOURCES ... [LIBS ...] [PRIVATE_LIBS ...]): the library of
# the current folder. LIBS are the layers below it that its headers use.
function(tf_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  tf_expose(${name} ${folder})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE ${ARG_PRIVATE_LIBS} tf_warnings)
endfunction()

# tf_test(name SOURCES ... LIBS ... [GTEST] [LABELS ...] [ENV ...] [ARGS ...]):
# every test goes through here so they all get the same flags and labels.
# Tests see the tests/ folder (fixtures, the literal reference) besides the
# libraries they link.
function(tf_test name)
  cmake_parse_arguments(ARG "GTEST" "TIMEOUT" "SOURCES;LIBS;LABELS;ENV;ARGS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tf_warnings)
  target_include_directories(${name} PRIVATE ${PROJECT_BINARY_DIR}/include/tests)
  if(ARG_GTEST)
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
  endif()
  add_test(NAME ${name} COMMAND ${name} ${ARG_ARGS})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
  if(ARG_ENV)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ARG_ENV}")
  endif()
endfunction()
