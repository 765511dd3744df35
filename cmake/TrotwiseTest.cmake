# trotwise_add_test(<name> SOURCES <files...> [LIBS <targets...>] [BOTH_ENGINES | SERVER_ONLY])
# One QtTest executable per unit, registered with CTest, always headless. BOTH_ENGINES registers
# it a second time as <name>_server, whose meets are databases on the throwaway test server
# (the pgserver fixture; see tests/support/testengine.h); SERVER_ONLY registers only that one.
function(trotwise_add_test name)
  cmake_parse_arguments(T "BOTH_ENGINES;SERVER_ONLY" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE trotwise_testsupport Qt6::Test ${T_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(environment "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false")
  if(NOT T_SERVER_ONLY)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 120)
  endif()
  if(T_BOTH_ENGINES OR T_SERVER_ONLY)
    add_test(NAME ${name}_server COMMAND ${name})
    set_tests_properties(${name}_server PROPERTIES
      ENVIRONMENT "${environment};TROTWISE_TEST_SERVER=${TROTWISE_TEST_SERVER};TROTWISE_PGSERVER_SCRIPT=${TROTWISE_PGSERVER_SCRIPT};TROTWISE_PGSERVER_DIR=${TROTWISE_PGSERVER_DIR}"
      FIXTURES_REQUIRED pgserver
      RESOURCE_LOCK pgserver
      SKIP_RETURN_CODE 77
      TIMEOUT 120)
  endif()
endfunction()

# The throwaway PostgreSQL server the _server tests use: its own cluster in the build folder,
# reached through a Unix socket there. Under CI=true a server that cannot start fails the run;
# elsewhere its tests are reported as skipped.
set(TROTWISE_PGSERVER_DIR ${CMAKE_BINARY_DIR}/pgserver)
string(REPLACE "/" "%2F" _trotwise_pghost "${TROTWISE_PGSERVER_DIR}")
set(TROTWISE_TEST_SERVER "postgresql://postgres@${_trotwise_pghost}:5432/postgres")
set(TROTWISE_PGSERVER_SCRIPT ${PROJECT_SOURCE_DIR}/scripts/pgserver.sh)
