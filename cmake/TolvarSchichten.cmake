# The layers of the project's libraries, and the check that every link points downward.
#
# Every library target of the project has a rank below. A library may link only libraries of a
# lower rank; two libraries of one rank never link each other. tolvar_schichten_pruefen(), called
# at the end of the top-level CMakeLists.txt, walks every library target of the tree and stops the
# configuration when a library links one of its own or a higher rank, or when a library has no rank
# at all (a new library is placed here first). An include of a higher layer's header then fails at
# compile time, because include paths travel only along links.
#
# The ranks follow the layer picture of the source tree: platform/ at the bottom, then routinen/,
# then komponenten/ and helpdb/, the widget-free cores of viewer/ and printing/, the windows, the
# server and the tools; the test support libraries sit above all of them, so no production
# library can link them. A link that does not fit the table is a design question: move the code,
# not the rank.

# tolvar_schicht(RANG ziel...) : gives the library targets the rank RANG (a whole number).
function(tolvar_schicht rang)
  if(NOT rang MATCHES "^[0-9]+$")
    message(FATAL_ERROR "tolvar_schicht: rank '${rang}' is not a whole number")
  endif()
  foreach(ziel IN LISTS ARGN)
    get_property(alt GLOBAL PROPERTY TOLVAR_SCHICHT_${ziel})
    if(NOT "${alt}" STREQUAL "" AND NOT alt STREQUAL rang)
      message(FATAL_ERROR "tolvar_schicht: ${ziel} has rank ${alt} already, not ${rang}")
    endif()
    set_property(GLOBAL PROPERTY TOLVAR_SCHICHT_${ziel} ${rang})
  endforeach()
endfunction()

# client/: the host application's C library over libdbus-1; links nothing of the project.
tolvar_schicht(5 TolvarClient)
# platform/: the layer to the desktop, Qt Core/Gui only.
tolvar_schicht(10 TolvarPlatform)
# The platform implementations that need widgets or Qt PrintSupport and libcups.
tolvar_schicht(15 TolvarPlatformWidgets TolvarPlatformDrucker)
# routinen/: the shared routines and global values.
tolvar_schicht(20 TolvarRoutinen)
# komponenten/ (component library) and helpdb/ (queries): independent of each other.
tolvar_schicht(30 TolvarKomponenten TolvarHelpDb)
# The widget-free cores: the help window's logic, then the print-out, which uses its print
# preparation.
tolvar_schicht(40 TolvarViewerKern)
tolvar_schicht(45 TolvarPrintingKern)
# The windows: the frame, the help window and the print windows, the keyword pane (which works on
# the help window).
tolvar_schicht(50 TolvarFrame)
tolvar_schicht(60 TolvarViewer TolvarPrinting)
tolvar_schicht(65 TolvarSuche)
# The automation server, then the writers' tools.
tolvar_schicht(70 TolvarServer)
tolvar_schicht(80 TolvarWerkzeuge)
# The writers' live preview, which opens the help window of the server.
tolvar_schicht(85 TolvarVorschau)
# tests/gemeinsam/: support for the test programs.
tolvar_schicht(90 TolvarTestHilfen TolvarTestBus)
tolvar_schicht(95 TolvarTestFenster)

# The library targets defined in the source tree: not imported, not the object libraries Qt
# makes for a static library's compiled-in resources (they carry their owner's links).
function(_tolvar_projekt_bibliotheken ergebnis)
  set(bibliotheken)
  set(offen ${CMAKE_SOURCE_DIR})
  while(offen)
    list(POP_FRONT offen verzeichnis)
    get_property(unter DIRECTORY ${verzeichnis} PROPERTY SUBDIRECTORIES)
    list(APPEND offen ${unter})
    get_property(ziele DIRECTORY ${verzeichnis} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(ziel IN LISTS ziele)
      get_target_property(art ${ziel} TYPE)
      get_target_property(importiert ${ziel} IMPORTED)
      get_target_property(qt_ressource ${ziel} _qt_resource_name)
      if(art MATCHES "_LIBRARY$" AND NOT importiert AND NOT qt_ressource)
        list(APPEND bibliotheken ${ziel})
      endif()
    endforeach()
  endwhile()
  set(${ergebnis} ${bibliotheken} PARENT_SCOPE)
endfunction()

# The project libraries an entry of a link list names: the entry itself, or every name inside a
# generator expression (a conditional link counts as a link). Markers of links made from another
# directory ("::@(...)", "::@") name nothing.
function(_tolvar_gelinkte_namen eintrag ergebnis)
  set(namen)
  if(eintrag MATCHES "^::@")
    # nothing
  elseif(eintrag MATCHES "\\$<")
    string(REGEX MATCHALL "[A-Za-z0-9_.+-]+(::[A-Za-z0-9_.+-]+)*" woerter "${eintrag}")
    list(REMOVE_DUPLICATES woerter)
    foreach(wort IN LISTS woerter)
      if(TARGET ${wort})
        list(APPEND namen ${wort})
      endif()
    endforeach()
  elseif(TARGET ${eintrag})
    list(APPEND namen ${eintrag})
  endif()
  set(${ergebnis} ${namen} PARENT_SCOPE)
endfunction()

# Where a target is defined, for the messages: its folder relative to the source tree.
function(_tolvar_ort ziel ergebnis)
  get_target_property(ort ${ziel} SOURCE_DIR)
  file(RELATIVE_PATH ort ${CMAKE_SOURCE_DIR} ${ort})
  if("${ort}" STREQUAL "")
    set(ort ".")
  endif()
  set(${ergebnis} "${ort}/" PARENT_SCOPE)
endfunction()

# Checks every project library's LINK_LIBRARIES and INTERFACE_LINK_LIBRARIES against the ranks
# and stops with one line per fault.
function(tolvar_schichten_pruefen)
  _tolvar_projekt_bibliotheken(bibliotheken)
  set(fehler)
  foreach(ziel IN LISTS bibliotheken)
    get_property(rang GLOBAL PROPERTY TOLVAR_SCHICHT_${ziel})
    _tolvar_ort(${ziel} ort)
    if("${rang}" STREQUAL "")
      list(APPEND fehler "${ziel} (${ort}) has no layer: give it a rank with tolvar_schicht()")
      continue()
    endif()
    get_target_property(art ${ziel} TYPE)
    set(eintraege)
    if(NOT art STREQUAL "INTERFACE_LIBRARY")
      get_target_property(privat ${ziel} LINK_LIBRARIES)
      if(privat)
        list(APPEND eintraege ${privat})
      endif()
    endif()
    get_target_property(oeffentlich ${ziel} INTERFACE_LINK_LIBRARIES)
    if(oeffentlich)
      list(APPEND eintraege ${oeffentlich})
    endif()
    set(gemeldet)
    foreach(eintrag IN LISTS eintraege)
      _tolvar_gelinkte_namen("${eintrag}" namen)
      foreach(name IN LISTS namen)
        if(name STREQUAL ziel OR name IN_LIST gemeldet OR NOT name IN_LIST bibliotheken)
          continue()
        endif()
        get_property(rang_gelinkt GLOBAL PROPERTY TOLVAR_SCHICHT_${name})
        # A library without a rank has its own message.
        if(NOT "${rang_gelinkt}" STREQUAL "" AND rang_gelinkt GREATER_EQUAL rang)
          _tolvar_ort(${name} ort_gelinkt)
          if(rang_gelinkt EQUAL rang)
            set(wie "of the same layer")
          else()
            set(wie "of a higher layer")
          endif()
          string(CONCAT zeile "${ziel} (${ort}, layer ${rang}) links ${name} (${ort_gelinkt}, "
                              "layer ${rang_gelinkt}), a library ${wie}")
          list(APPEND fehler "${zeile}")
          list(APPEND gemeldet ${name})
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(fehler)
    list(JOIN fehler "\n  " text)
    message(FATAL_ERROR "A library may link only libraries of a lower layer "
                        "(ranks in cmake/TolvarSchichten.cmake):\n  ${text}")
  endif()
  list(LENGTH bibliotheken anzahl)
  message(STATUS "Layers: ${anzahl} libraries, every link points downward")
endfunction()
