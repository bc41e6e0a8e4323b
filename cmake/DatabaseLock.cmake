# Tests on a server database. Which of their instances exist depends on the servers the test
# command started (TestDatabases reads QELVO_TEST_PG / QELVO_TEST_MARIADB), so their list is made
# afresh at every ctest run, in ctest's environment: the directory discovers tests with PRE_TEST
# (CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE), and the list of the last run is removed first.
# Each test also takes a CTest resource lock named after the database, so that under ctest -j no
# two of them (of any executable) use it at once. Call after qelvo_test, in the same directory.
function(qelvo_database_lock target database)
  set(relist "${CMAKE_CURRENT_BINARY_DIR}/${target}_relist.cmake")
  file(WRITE "${relist}" "file(REMOVE \"${CMAKE_CURRENT_BINARY_DIR}/${target}[1]_tests.cmake\")\n")
  set(lock "${CMAKE_CURRENT_BINARY_DIR}/${target}_lock_${database}.cmake")
  file(WRITE "${lock}"
       "if(DEFINED ${target}_TESTS)\n"
       "  set_tests_properties(\${${target}_TESTS} PROPERTIES RESOURCE_LOCK ${database})\n"
       "endif()\n")
  get_property(includes DIRECTORY PROPERTY TEST_INCLUDE_FILES)
  set_property(DIRECTORY PROPERTY TEST_INCLUDE_FILES "${relist}" ${includes} "${lock}")
endfunction()
