# tolvar_add_qtest(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2)
# Builds one Qt Test executable and registers it with CTest. Widget tests run on the
# offscreen platform; QStandardPaths test mode is switched on by the tests themselves.
function(tolvar_add_qtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  target_compile_definitions(${name} PRIVATE TOLVAR_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                             TOLVAR_CORPUS_DIR="${PROJECT_SOURCE_DIR}/../shared/rtf-corpus")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
    TIMEOUT 600)
endfunction()
