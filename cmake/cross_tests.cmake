# In a cross build the tests run through CMAKE_CROSSCOMPILING_EMULATOR (Wine), whose every start
# costs seconds. So each test program becomes one test that runs all its cases at once, instead of
# one start to list the cases at build time and one start per case.
function(gtest_discover_tests target)
  cmake_parse_arguments(arg "NO_PRETTY_TYPES;NO_PRETTY_VALUES"
    "TEST_PREFIX;TEST_SUFFIX;WORKING_DIRECTORY;DISCOVERY_TIMEOUT;DISCOVERY_MODE;TEST_LIST;XML_OUTPUT_DIR"
    "EXTRA_ARGS;PROPERTIES;TEST_FILTER" ${ARGN})
  set(test_name ${target}${arg_TEST_SUFFIX})
  if(arg_WORKING_DIRECTORY)
    add_test(NAME ${test_name} COMMAND ${target} ${arg_EXTRA_ARGS} WORKING_DIRECTORY ${arg_WORKING_DIRECTORY})
  else()
    add_test(NAME ${test_name} COMMAND ${target} ${arg_EXTRA_ARGS})
  endif()
  set_tests_properties(${test_name} PROPERTIES TIMEOUT 600 ${arg_PROPERTIES})
  # The window's tests keep their settings in the user's registry of the one Wine prefix.
  if(CMAKE_CURRENT_SOURCE_DIR MATCHES "/tests/(ui|view|service|app)$")
    set_tests_properties(${test_name} PROPERTIES RESOURCE_LOCK wine_user_registry)
  endif()
endfunction()
