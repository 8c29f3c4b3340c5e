# Warnings are ours alone: they go on our targets through this interface
# library, never into CMAKE_CXX_FLAGS, so system headers stay quiet.
add_library(tf_warnings INTERFACE)
target_compile_options(tf_warnings INTERFACE
  $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wconversion
  -Wno-sign-conversion -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual>)

# tf_library(name SOURCES ... LIBS ...): one library per folder.
function(tf_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE tf_warnings)
endfunction()

# tf_test(name SOURCES ... LIBS ... [GTEST] [LABELS ...] [ENV ...]):
# every test goes through here so they all get the same flags and labels.
function(tf_test name)
  cmake_parse_arguments(ARG "GTEST" "TIMEOUT" "SOURCES;LIBS;LABELS;ENV;ARGS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tf_warnings)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
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
