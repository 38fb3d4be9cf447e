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

# tolvar_library(NAME GLOB_DIR) : a static library of all *.cpp/*.h in GLOB_DIR, or an
# interface library while the folder holds no sources yet; the folder is the include path.
function(tolvar_library name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  list(FILTER srcs INCLUDE REGEX "\\.cpp$")
  file(GLOB all CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(srcs)
    add_library(${name} STATIC ${all})
    target_include_directories(${name} PUBLIC ${dir})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${dir})
  endif()
endfunction()

# tolvar_link(NAME libs...) : links publicly, whichever kind of library NAME is.
function(tolvar_link name)
  get_target_property(kind ${name} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${name} INTERFACE ${ARGN})
  else()
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()
