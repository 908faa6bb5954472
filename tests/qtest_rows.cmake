# Run by a Qt Test executable's POST_BUILD step: asks it for its data rows (-datatags) and writes
# a CTest file that registers one test per row, so that `ctest -j` runs the rows side by side.
# Inputs: TEST_EXECUTABLE, TEST_NAME, TEST_ENVIRONMENT (a list), OUTPUT.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env ${TEST_ENVIRONMENT} ${TEST_EXECUTABLE} -datatags
  OUTPUT_VARIABLE listing
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TEST_EXECUTABLE} -datatags failed (${status})")
endif()

set(script "")
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
  # "<class> <function> <row>"; a function without rows is "<class> <function>".
  if(NOT line MATCHES "^[A-Za-z0-9_]+ ([A-Za-z0-9_]+)( (.+))?$")
    continue()
  endif()
  set(function "${CMAKE_MATCH_1}")
  set(row "${CMAKE_MATCH_3}")
  if(row STREQUAL "")
    set(name "${TEST_NAME}/${function}")
    set(argument "${function}")
  else()
    set(name "${TEST_NAME}/${function}/${row}")
    set(argument "${function}:${row}")
  endif()
  string(APPEND script "add_test([==[${name}]==] [==[${TEST_EXECUTABLE}]==] [==[${argument}]==])\n")
  string(APPEND script
    "set_tests_properties([==[${name}]==] PROPERTIES ENVIRONMENT [==[${TEST_ENVIRONMENT}]==])\n")
endforeach()
if(script STREQUAL "")
  message(FATAL_ERROR "${TEST_EXECUTABLE} -datatags listed no rows")
endif()
file(WRITE "${OUTPUT}" "${script}")
