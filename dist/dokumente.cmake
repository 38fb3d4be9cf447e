# The documents every Debian package carries, and the manual pages. Included by server/; the
# installed paths follow the install prefix:
#   share/man/man1/belnahilfe-anzeigen.1.gz (server), share/man/man1/hilfedb.1.gz (werkzeuge),
#   share/doc/<package>/copyright and changelog.Debian.gz for each package.
# The packages and their components are named in dist/pakete.cmake (must match there).
include(GNUInstallDirs)
set(_dokumente ${CMAKE_BINARY_DIR}/dokumente)
file(MAKE_DIRECTORY ${_dokumente})

# Compressed as dpkg expects: best compression, no name or time stamp in the gzip header, so
# the same sources give the same bytes.
function(_tolvar_gzip quelle ziel)
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${quelle})
  execute_process(COMMAND gzip -9 -n -c ${quelle} OUTPUT_FILE ${ziel} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gzip ${quelle} failed")
  endif()
endfunction()

_tolvar_gzip(${CMAKE_CURRENT_LIST_DIR}/man/belnahilfe-anzeigen.1
             ${_dokumente}/belnahilfe-anzeigen.1.gz)
_tolvar_gzip(${CMAKE_CURRENT_LIST_DIR}/man/hilfedb.1 ${_dokumente}/hilfedb.1.gz)
_tolvar_gzip(${CMAKE_CURRENT_LIST_DIR}/debian/changelog ${_dokumente}/changelog.Debian.gz)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_CURRENT_LIST_DIR}/debian/copyright)

install(FILES ${_dokumente}/belnahilfe-anzeigen.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT server)
install(FILES ${_dokumente}/hilfedb.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT werkzeuge)

foreach(paar server:tolvar-hilfe werkzeuge:tolvar-hilfe-werkzeuge
             beispiel:tolvar-hilfe-beispiel bibliothek:libbelnahilfe1
             entwicklung:libbelnahilfe-dev)
  string(REPLACE ":" ";" paar "${paar}")
  list(GET paar 0 komponente)
  list(GET paar 1 paket)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${_dokumente}/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${paket} COMPONENT ${komponente})
endforeach()
