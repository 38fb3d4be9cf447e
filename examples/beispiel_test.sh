#!/usr/bin/env bash
# The sample host against real buses: on a private bus whose service folder holds the help
# server's activation file, the first call starts the server and the section is shown (read
# back through the status object), --beenden ends it; on a bus without the file the host gets
# the library's message that the help is not installed.
#   beispiel_test.sh BEISPIEL BELNAHILFE-ANZEIGEN SERVICEORDNER
set -euo pipefail
beispiel=$1 anzeigen=$2 dienste=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

buskonfig() { # FILE SERVICEDIR
  cat > "$1" <<XML
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig><type>session</type><listen>unix:tmpdir=$tmp</listen>
<servicedir>$2</servicedir>
<policy context="default"><allow send_destination="*" eavesdrop="true"/>
<allow eavesdrop="true"/><allow own="*"/></policy></busconfig>
XML
}
buskonfig "$tmp/mit.conf" "$dienste"
mkdir "$tmp/leer"
buskonfig "$tmp/ohne.conf" "$tmp/leer"

export QT_QPA_PLATFORM=offscreen TOLVAR_MELDUNGEN=konsole TOLVAR_HILFE_TESTZUGANG=1
export BEISPIEL=$beispiel ANZEIGEN=$anzeigen
dbus-run-session --config-file="$tmp/mit.conf" -- bash -c '
  set -euo pipefail
  "$BEISPIEL" 03.02.05 --halb
  gezeigt=$("$ANZEIGEN" --abschnitt)
  [ "$gezeigt" = 03.02.05 ] || { echo "gezeigt: $gezeigt, erwartet 03.02.05"; exit 1; }
  "$BEISPIEL" --beenden
  echo "mit Dienst: 03.02.05 gezeigt, beendet"
'

set +e
dbus-run-session --config-file="$tmp/ohne.conf" -- "$beispiel" 01.01.01 2> "$tmp/fehler"
rc=$?
set -e
cat "$tmp/fehler"
[ "$rc" -eq 1 ] || { echo "ohne Dienst: Rückgabe $rc, erwartet 1"; exit 1; }
grep -q "nicht installiert" "$tmp/fehler" || { echo "ohne Dienst: keine passende Meldung"; exit 1; }
set +e
"$beispiel" 2>/dev/null
rc=$?
set -e
[ "$rc" -eq 2 ] || { echo "ohne Argument: Rückgabe $rc, erwartet 2"; exit 1; }
echo "ohne Dienst: Meldung wie erwartet"
