# The layer check of cmake/TolvarSchichten.cmake on the probe project schichtprobe/: one
# configuration per case below. A case gives the links made in the probe's top folder and in its
# subfolder, and what must come out: "passt" (configuration succeeds, all ten libraries checked)
# or the faults the check must report, one regular expression each, configuration failing.
#   cmake -DQUELLE=<source tree> -DARBEIT=<scratch folder> [-DCXX=<compiler>] -P tst_schichten.cmake
cmake_minimum_required(VERSION 3.25)

set(probe ${QUELLE}/tests/cmake/schichtprobe)
set(versagt)

function(fall name erwartet oben anderswo)
  file(WRITE ${ARBEIT}/fall/oben.cmake "${oben}\n")
  file(WRITE ${ARBEIT}/fall/anderswo.cmake "${anderswo}\n")
  set(compiler)
  if(CXX)
    set(compiler -DCMAKE_CXX_COMPILER=${CXX})
  endif()
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${probe} -B ${ARBEIT}/bau -DTOLVAR_QUELLE=${QUELLE}
            -DFALL_DIR=${ARBEIT}/fall ${compiler}
    RESULT_VARIABLE rc OUTPUT_VARIABLE ausgabe ERROR_VARIABLE ausgabe)
  set(fehler)
  if(erwartet STREQUAL "passt")
    if(NOT rc EQUAL 0)
      list(APPEND fehler "configuration failed")
    elseif(NOT ausgabe MATCHES "Layers: 10 libraries, every link points downward")
      list(APPEND fehler "the check did not report ten libraries")
    endif()
  else()
    if(rc EQUAL 0)
      list(APPEND fehler "configuration succeeded")
    endif()
    foreach(muster IN LISTS erwartet)
      if(NOT ausgabe MATCHES "${muster}")
        list(APPEND fehler "no line matches '${muster}'")
      endif()
    endforeach()
  endif()
  if(fehler)
    list(JOIN fehler "; " text)
    message(STATUS "FAIL ${name}: ${text}\n${ausgabe}")
    set(versagt ${versagt} ${name} PARENT_SCOPE)
  else()
    message(STATUS "ok   ${name}")
  endif()
endfunction()

set(hoeher "a library of a higher layer")

# Every kind of link the project makes, all downward: public and private, an interface library,
# a conditional link, links made from another folder, Qt's resource object library.
fall(abwaerts passt
  "target_link_libraries(TolvarRoutinen PUBLIC TolvarPlatform)
   target_link_libraries(TolvarPlatformWidgets INTERFACE TolvarPlatform)
   target_link_libraries(TolvarHelpDb PUBLIC TolvarRoutinen PRIVATE m)
   target_link_libraries(TolvarKomponenten PUBLIC TolvarPlatformWidgets)
   target_link_libraries(TolvarViewerKern PRIVATE $<$<CONFIG:Debug>:TolvarHelpDb>)
   target_link_libraries(TolvarFrame PUBLIC TolvarRoutinen)
   target_link_libraries(TolvarViewer PUBLIC TolvarFrame TolvarViewerKern TolvarKomponenten)"
  "target_link_libraries(TolvarServer PUBLIC TolvarViewer TolvarHelpDb)
   target_link_libraries(TolvarWerkzeuge PRIVATE TolvarViewerKern)")

fall(helpdb_an_server "TolvarHelpDb \\([^)]*layer 30\\) links TolvarServer \\([^)]*layer 70\\), ${hoeher}"
  "target_link_libraries(TolvarHelpDb PUBLIC TolvarRoutinen TolvarServer)" "")

fall(privat_aufwaerts "TolvarRoutinen \\([^)]*layer 20\\) links TolvarKomponenten [^\n]*${hoeher}"
  "target_link_libraries(TolvarRoutinen PRIVATE TolvarKomponenten)" "")

fall(schnittstelle_aufwaerts "TolvarPlatformWidgets [^\n]* links TolvarRoutinen [^\n]*${hoeher}"
  "target_link_libraries(TolvarPlatformWidgets INTERFACE TolvarPlatform TolvarRoutinen)" "")

fall(bedingt_aufwaerts "TolvarViewerKern [^\n]* links TolvarViewer [^\n]*${hoeher}"
  "target_link_libraries(TolvarViewerKern PRIVATE $<$<CONFIG:Debug>:TolvarViewer>)" "")

fall(aus_anderem_ordner "TolvarHelpDb [^\n]* links TolvarViewer [^\n]*${hoeher}"
  "" "target_link_libraries(TolvarHelpDb PUBLIC TolvarViewer)")

fall(bibliothek_im_unterordner
  "TolvarServer \\([^)]*layer 70\\) links TolvarWerkzeuge \\(anderswo/, layer 80\\), ${hoeher}"
  "" "target_link_libraries(TolvarServer PRIVATE TolvarWerkzeuge)")

fall(gleiche_schicht
  "TolvarKomponenten [^\n]* links TolvarHelpDb [^\n]*a library of the same layer"
  "target_link_libraries(TolvarKomponenten PUBLIC TolvarHelpDb)" "")

fall(ohne_schicht "TolvarNeu \\([^)]*\\) has no layer"
  "add_library(TolvarNeu STATIC \${LEER})
   target_link_libraries(TolvarNeu PUBLIC TolvarPlatform)
   target_link_libraries(TolvarServer PUBLIC TolvarNeu)" "")

# Every fault is reported, not only the first.
fall(zwei_fehler
  "TolvarHelpDb [^\n]* links TolvarServer;TolvarFrame [^\n]* links TolvarViewer"
  "target_link_libraries(TolvarHelpDb PUBLIC TolvarServer)
   target_link_libraries(TolvarFrame PRIVATE TolvarViewer)" "")

if(versagt)
  message(FATAL_ERROR "layer check cases failed: ${versagt}")
endif()
