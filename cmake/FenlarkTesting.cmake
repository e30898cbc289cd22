# fenlark_test(NAME SOURCES a.cpp b.cpp LIBS x y) adds a Qt Test executable run by CTest.
# Widget tests run offscreen, so the suite needs no display.
function(fenlark_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE fenlark_options Qt6::Test ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;FENLARK_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
    TIMEOUT 300)
endfunction()

# fenlark_server_test(NAME) runs the Qt Test executable NAME a second time as NAME_pg, on a
# PostgreSQL register (FENLARK_TEST_ENGINE=postgresql). One throwaway cluster serves every such
# test: the CTest fixture pg_cluster starts it before the first and stops it after the last
# (tests/support/pg_cluster.sh). Without the server installed the cluster does not start and
# the tests skip their cases, so the test command works on any machine.
function(fenlark_server_test name)
  set(_script ${PROJECT_SOURCE_DIR}/tests/support/pg_cluster.sh)
  set(_state ${PROJECT_BINARY_DIR}/pg-cluster)
  # Tests are named per folder but fixtures project-wide: the first folder defines the cluster.
  get_property(_cluster_defined GLOBAL PROPERTY FENLARK_PG_CLUSTER_DEFINED)
  if(NOT _cluster_defined)
    set_property(GLOBAL PROPERTY FENLARK_PG_CLUSTER_DEFINED TRUE)
    add_test(NAME pg_cluster_start COMMAND ${_script} start ${_state})
    add_test(NAME pg_cluster_stop COMMAND ${_script} stop ${_state})
    set_tests_properties(pg_cluster_start PROPERTIES FIXTURES_SETUP pg_cluster TIMEOUT 120)
    set_tests_properties(pg_cluster_stop PROPERTIES FIXTURES_CLEANUP pg_cluster TIMEOUT 120)
  endif()
  add_test(NAME ${name}_pg COMMAND ${_script} run ${_state} $<TARGET_FILE:${name}>)
  set_tests_properties(${name}_pg PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;FENLARK_SOURCE_DIR=${PROJECT_SOURCE_DIR};FENLARK_TEST_ENGINE=postgresql"
    FIXTURES_REQUIRED pg_cluster
    TIMEOUT 300)
endfunction()
