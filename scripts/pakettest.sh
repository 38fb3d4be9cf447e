#!/usr/bin/env bash
# Installs the Debian packages system-wide and tries them as a user would, then removes them:
#   bash scripts/pakettest.sh [BAUVERZEICHNIS]   (default: build; needs root, as CI has)
# 1. scripts/pakete.sh builds the packages (lintian without errors);
# 2. apt-get installs them; every file they list is noted;
# 3. a private dbus-daemon whose only service folder is /usr/share/dbus-1/services: the first
#    call of the installed belnahilfe-anzeigen starts the installed server (the process is
#    checked to be /usr/lib/.../tolvar-hilfe/belnahilfe), the section is shown, the sample C
#    host built against libbelnahilfe-dev moves it, HilfeBeenden ends the server;
# 4. hilfedb pruefen on the installed sample database, --version of each command, the manual
#    pages;
# 5. the packages are purged and none of their files may be left.
# Whatever fails, the packages are purged and the bus is stopped on the way out.
set -euo pipefail
cd "$(dirname "$0")/.."
bau=${1:-build}
PAKETE=(tolvar-hilfe tolvar-hilfe-werkzeuge tolvar-hilfe-beispiel libbelnahilfe1 libbelnahilfe-dev)

if [ "$(id -u)" -ne 0 ]; then
  echo "pakettest.sh: installiert systemweit und braucht root" >&2
  exit 1
fi
bash scripts/pakete.sh "$bau"

source scripts/privater_bus.sh
tmp=$(mktemp -d)
aufraeumen() {
  rc=$?
  privater_bus_beenden
  # Every package dpkg knows in any state (also half installed after a failed install).
  bekannt=()
  for p in "${PAKETE[@]}"; do
    dpkg -s "$p" > /dev/null 2>&1 && bekannt+=("$p")
  done
  if [ ${#bekannt[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "${bekannt[@]}" > /dev/null 2>&1 ||
      dpkg --purge --force-all "${bekannt[@]}" > /dev/null 2>&1 || true
  fi
  rm -rf "$tmp"
  [ $rc -eq 0 ] && echo "pakettest.sh: bestanden" || echo "pakettest.sh: FEHLGESCHLAGEN" >&2
  exit $rc
}
trap aufraeumen EXIT
fehler() {
  echo "pakettest.sh: $*" >&2
  exit 1
}

# Leftovers of an earlier run would hide what this run installs.
for p in "${PAKETE[@]}"; do
  if dpkg -s "$p" > /dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "$p" > /dev/null
  fi
done
# Nothing but what the packages install under /usr may be in them.
for deb in "$bau"/pakete/*.deb; do
  fremd=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '^\./usr/\|^\./$' || true)
  [ -z "$fremd" ] || fehler "$deb enthält Dateien außerhalb von /usr: $fremd"
done

(cd "$bau/pakete" && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
  --no-install-recommends ./*.deb)
for p in "${PAKETE[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" | grep -q "install ok installed" || fehler "$p fehlt"
  dpkg -L "$p" | while read -r datei; do
    [ -d "$datei" ] || echo "$datei"
  done >> "$tmp/dateien"
  dpkg-deb -c "$bau"/pakete/"$p"_*.deb
done
echo "Installiert: $(wc -l < "$tmp/dateien") Dateien"

server=$(grep '/tolvar-hilfe/belnahilfe$' "$tmp/dateien") || fehler "kein Server in den Paketen"
[ "$(command -v belnahilfe-anzeigen)" = /usr/bin/belnahilfe-anzeigen ] ||
  fehler "belnahilfe-anzeigen nicht in /usr/bin"
grep -q "^Exec=$server\$" /usr/share/dbus-1/services/de.tolvar.BelnaHilfe.service ||
  fehler "die Aktivierungsdatei startet nicht $server"

# The sample host, built only from what libbelnahilfe-dev installed.
cc -std=c99 -Wall -Wextra -Werror examples/beispiel_host.c \
  $(pkg-config --cflags --libs belnahilfe) -o "$tmp/beispiel"
bibliothek=$(grep '/libbelnahilfe.so.1$' "$tmp/dateien") || fehler "libbelnahilfe.so.1 fehlt"
geladen=$(ldd "$tmp/beispiel" | awk '$1 == "libbelnahilfe.so.1" { print $3 }')
[ -n "$geladen" ] && [ "$(readlink -f "$geladen")" = "$(readlink -f "$bibliothek")" ] ||
  fehler "das Beispiel lädt nicht die installierte Bibliothek: $(ldd "$tmp/beispiel")"

privater_bus_starten "$tmp" /usr/share/dbus-1/services || fehler "dbus-daemon startet nicht"

besitzer() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.GetConnectionUnixProcessID string:de.tolvar.BelnaHilfe 2>/dev/null |
    awk '/uint32/ { print $2 }' || true
}

belnahilfe-anzeigen 03.02.05 || fehler "belnahilfe-anzeigen 03.02.05 schlägt fehl"
pid=$(besitzer)
[ -n "$pid" ] || fehler "kein Server am Bus"
[ "$(readlink "/proc/$pid/exe")" = "$server" ] ||
  fehler "am Bus läuft $(readlink "/proc/$pid/exe"), nicht $server"
gezeigt=$(belnahilfe-anzeigen --abschnitt)
[ "$gezeigt" = 03.02.05 ] || fehler "gezeigt: $gezeigt, erwartet 03.02.05"
"$tmp/beispiel" 01.01.02 --halb || fehler "das Beispielprogramm schlägt fehl"
gezeigt=$(belnahilfe-anzeigen --abschnitt)
[ "$gezeigt" = 01.01.02 ] || fehler "nach dem Beispiel gezeigt: $gezeigt, erwartet 01.01.02"
belnahilfe-anzeigen --beenden || fehler "--beenden schlägt fehl"
for _ in $(seq 100); do
  [ -d "/proc/$pid" ] || break
  sleep 0.1
done
[ ! -d "/proc/$pid" ] || fehler "der Server läuft nach HilfeBeenden weiter"
[ -z "$(besitzer)" ] || fehler "der Dienst ist nach HilfeBeenden noch am Bus"
echo "Aktivierung: installierter Server gestartet, 03.02.05 und 01.01.02 gezeigt, beendet"
privater_bus_beenden

db=$(grep '/tolvar-hilfe/HilfeBelna.mdb$' "$tmp/dateien") || fehler "keine Beispieldatenbank"
hilfedb pruefen "$db" || fehler "hilfedb pruefen $db meldet Probleme"
for befehl in "$server" belnahilfe-anzeigen hilfedb; do
  "$befehl" --version | grep -q "(Tolvar-Hilfe)" || fehler "$befehl --version"
  "$befehl" --help > /dev/null || fehler "$befehl --help"
done
for seite in belnahilfe-anzeigen hilfedb; do
  grep -q "/man1/$seite.1.gz\$" "$tmp/dateien" || fehler "keine Handbuchseite $seite(1)"
done

DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "${PAKETE[@]}" > /dev/null
uebrig=0
while read -r datei; do
  if [ -e "$datei" ] || [ -L "$datei" ]; then
    echo "nach dem Entfernen noch da: $datei" >&2
    uebrig=1
  fi
done < "$tmp/dateien"
[ $uebrig -eq 0 ] || fehler "Dateien der Pakete sind geblieben"
for p in "${PAKETE[@]}"; do
  ! dpkg -s "$p" > /dev/null 2>&1 || fehler "$p ist dpkg nach dem Entfernen noch bekannt"
done
echo "Entfernt: alle $(wc -l < "$tmp/dateien") Dateien weg"
