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

# trotwise_add_test(<name> SOURCES <files...> [LIBS <targets...>])
# One QtTest executable per unit, registered with CTest, always headless.
function(trotwise_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  trotwise_use_qttest(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  target_precompile_headers(${name} REUSE_FROM trotwise_test_pch)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false"
    TIMEOUT 120)
endfunction()
