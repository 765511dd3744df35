# Every test compiles against the same precompiled Qt headers, made once. QtTest is taken without
# its per-folder build path definition (no test looks for files there), which would otherwise
# make each folder's tests differ from the header.
function(trotwise_use_qttest target)
  target_link_libraries(${target} PRIVATE trotwise_testsupport trotwise_ui $<LINK_ONLY:Qt6::Test>)
  target_include_directories(${target} PRIVATE $<TARGET_PROPERTY:Qt6::Test,INTERFACE_INCLUDE_DIRECTORIES>)
  target_compile_definitions(${target} PRIVATE QT_TESTLIB_LIB)
endfunction()
add_library(trotwise_test_pch OBJECT ${CMAKE_CURRENT_LIST_DIR}/pch.cpp)
trotwise_use_qttest(trotwise_test_pch)
target_precompile_headers(trotwise_test_pch PRIVATE <QtTest> <QSqlDatabase> <QWidget> <QLabel>
                          <QPushButton> <QComboBox> <QLineEdit> <QListWidget> <QApplication>
                          <QTemporaryDir> <QDir> <memory> <functional> <optional> <vector>)

# trotwise_add_test(<name> SOURCES <files...> [LIBS <targets...>] [BOTH_ENGINES | SERVER_ONLY])
# One QtTest executable per unit, registered with CTest, always headless. BOTH_ENGINES registers
# it a second time as <name>_server, whose meets are databases on the throwaway test server
# (the pgserver fixture; see tests/support/testengine.h); SERVER_ONLY registers only that one.
function(trotwise_add_test name)
  cmake_parse_arguments(T "BOTH_ENGINES;SERVER_ONLY" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  trotwise_use_qttest(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  target_precompile_headers(${name} REUSE_FROM trotwise_test_pch)
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

# The throwaway PostgreSQL server the _server tests use: its own cluster, reached through a Unix
# socket beside it (and on a loopback port for the tests of sign-in, TLS and a standby). It lives
# in /tmp, not in the build folder: the server runs as its own user, who may not reach a checkout
# in a private home folder. The folder's name (and so the port, which scripts/pgserver.sh takes
# from it the same way) is told by the build folder's, as several checkouts run tests at once.
# Under CI=true a server that cannot start fails the run; elsewhere its tests are reported as
# skipped.
string(SHA1 _trotwise_build_hash "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${_trotwise_build_hash}" 0 12 _trotwise_build_hash)
set(TROTWISE_PGSERVER_DIR /tmp/trotwise-pg-${_trotwise_build_hash})
string(SHA1 _trotwise_port_hash "${TROTWISE_PGSERVER_DIR}")
string(SUBSTRING "${_trotwise_port_hash}" 0 4 _trotwise_port_hash)
math(EXPR TROTWISE_PGSERVER_PORT "10000 + 0x${_trotwise_port_hash} % 20000")
string(REPLACE "/" "%2F" _trotwise_pghost "${TROTWISE_PGSERVER_DIR}")
set(TROTWISE_TEST_SERVER "postgresql://postgres@${_trotwise_pghost}:${TROTWISE_PGSERVER_PORT}/postgres")
set(TROTWISE_PGSERVER_SCRIPT ${PROJECT_SOURCE_DIR}/scripts/pgserver.sh)
