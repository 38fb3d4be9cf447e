# The Debian packages of the help, made by CPack's DEB generator from a configured and built
# tree (scripts/pakete.sh): cpack --config dist/pakete.cmake, with TOLVAR_BAU naming that tree.
# Each install component of the tree is one package; the names must match the components of
# server/CMakeLists.txt, client/CMakeLists.txt and dist/dokumente.cmake.
#
# Why CPack and not a debian/ folder: the packages are made from the tree the tests have just
# built and tested (no second build of the whole project), and the install rules of CMake stay
# the one place that says which file goes where.
set(_bau "$ENV{TOLVAR_BAU}")
if(NOT _bau OR NOT EXISTS "${_bau}/CMakeCache.txt")
  message(FATAL_ERROR "TOLVAR_BAU must name a configured build tree")
endif()
file(STRINGS "${_bau}/CMakeCache.txt" _version REGEX "^CMAKE_PROJECT_VERSION:")
string(REGEX REPLACE "^[^=]*=" "" _version "${_version}")
file(STRINGS "${_bau}/CMakeCache.txt" _erzeuger REGEX "^CMAKE_GENERATOR:")
string(REGEX REPLACE "^[^=]*=" "" _erzeuger "${_erzeuger}")

set(CPACK_GENERATOR DEB)
set(CPACK_CMAKE_GENERATOR "${_erzeuger}")
set(CPACK_INSTALL_CMAKE_PROJECTS "${_bau};TolvarHilfe;ALL;/")
set(CPACK_PACKAGE_NAME tolvar-hilfe)
set(CPACK_PACKAGE_VERSION "${_version}")
set(CPACK_PACKAGE_DIRECTORY "${_bau}/pakete")
set(CPACK_PACKAGE_VENDOR "Tolvar-Entwicklung")
set(CPACK_PACKAGE_DESCRIPTION "Online-Hilfe der Rechnungssoftware Tolvar-Belna.")
set(CPACK_PACKAGE_CONTACT "Tolvar-Entwicklung <hilfe@tolvar.de>")
set(CPACK_PACKAGE_FILE_NAME "tolvar-hilfe-${_version}")
# Installed as root would install it: the prefix is /usr, and the install rules see it (the
# activation file names the server's full path).
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL server werkzeuge beispiel bibliothek entwicklung)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SOURCE tolvar-hilfe)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.tolvar.de/hilfe")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# belnahilfe-anzeigen links libbelnahilfe.so.1 of the tree itself; its package dependency is
# written below, since dpkg-shlibdeps knows no package for it yet.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${_bau}/lib")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(_fassung "${_version}-1")

set(CPACK_DEBIAN_SERVER_PACKAGE_NAME tolvar-hilfe)
set(CPACK_DEBIAN_SERVER_PACKAGE_SECTION misc)
# The tool bar icons are SVG files, read through Qt's SVG image format plugin. The full-text
# search takes German words back to their base forms with the German Hunspell dictionary, read
# at run time; the index in the help database is built with it, so searches must use it too.
set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS
    "libbelnahilfe1 (= ${_fassung}), libqt6svg6, hunspell-de-de")
set(CPACK_DEBIAN_SERVER_PACKAGE_RECOMMENDS
    "tolvar-hilfe-beispiel, default-dbus-session-bus | dbus-session-bus, qt6-translations-l10n")
set(CPACK_DEBIAN_SERVER_DESCRIPTION
    "Online-Hilfe der Rechnungssoftware Tolvar-Belna
Der Hilfeserver zeigt die Produktbeschreibung von Tolvar-Belna in einem eigenen
Fenster: Kapitel und Themen als Registerkarten, Abschnitte mit Verweisen und
Bildern, Verlauf, Stichwortsuche und Druck. Die Wirtsanwendung ruft ihn über
den D-Bus-Sitzungsdienst de.tolvar.BelnaHilfe auf; der erste Aufruf startet
ihn. Enthält den Befehl belnahilfe-anzeigen.")

set(CPACK_DEBIAN_WERKZEUGE_PACKAGE_NAME tolvar-hilfe-werkzeuge)
set(CPACK_DEBIAN_WERKZEUGE_PACKAGE_SECTION text)
# hilfedb builds the full-text index with the German dictionary (see the server's package).
set(CPACK_DEBIAN_WERKZEUGE_PACKAGE_DEPENDS "hunspell-de-de")
set(CPACK_DEBIAN_WERKZEUGE_DESCRIPTION
    "Werkzeug der Redakteure für die Tolvar-Hilfe
hilfedb übersetzt die Quelltexte der Hilfe in die verschlüsselte
Hilfedatenbank, prüft sie, sucht darin wie die Hilfe, druckt Abschnitte in
PDF-Dateien und übernimmt alte Hilfedatenbanken im Jet-4-Format.")

set(CPACK_DEBIAN_BEISPIEL_PACKAGE_NAME tolvar-hilfe-beispiel)
set(CPACK_DEBIAN_BEISPIEL_PACKAGE_SECTION doc)
set(CPACK_DEBIAN_BEISPIEL_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_BEISPIEL_PACKAGE_ENHANCES tolvar-hilfe)
set(CPACK_DEBIAN_BEISPIEL_DESCRIPTION
    "Beispielhilfe für die Tolvar-Hilfe
Die Hilfedatenbank HilfeBelna.mdb mit dem Handbuch von Tolvar-Belna, wie es
die Quellen des Projekts beschreiben; der Hilfeserver liest sie aus seinem
Programmordner.")

set(CPACK_DEBIAN_BIBLIOTHEK_PACKAGE_NAME libbelnahilfe1)
set(CPACK_DEBIAN_BIBLIOTHEK_PACKAGE_SECTION libs)
# The shlibs file and the ldconfig trigger of the library package (only that package has a
# shared library, so the shlibs setting touches no other).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_BIBLIOTHEK_PACKAGE_CONTROL_EXTRA "${CMAKE_CURRENT_LIST_DIR}/debian/triggers")
set(CPACK_DEBIAN_BIBLIOTHEK_DESCRIPTION
    "C-Bibliothek für Aufrufe der Tolvar-Hilfe
libbelnahilfe öffnet die Tolvar-Hilfe bei einer Hilfenummer oder beendet sie,
über den D-Bus-Sitzungsbus, mit einer Zeitgrenze und deutschen Meldungen für
den Benutzer. Sie ist threadsicher und braucht keine Initialisierung.")

set(CPACK_DEBIAN_ENTWICKLUNG_PACKAGE_NAME libbelnahilfe-dev)
set(CPACK_DEBIAN_ENTWICKLUNG_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_ENTWICKLUNG_PACKAGE_DEPENDS "libbelnahilfe1 (= ${_fassung})")
set(CPACK_DEBIAN_ENTWICKLUNG_DESCRIPTION
    "C-Bibliothek für Aufrufe der Tolvar-Hilfe (Entwicklung)
Header belnahilfe.h, die Verknüpfung libbelnahilfe.so und die
pkg-config-Datei belnahilfe.pc für Programme, die die Tolvar-Hilfe aufrufen.")
