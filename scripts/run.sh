#!/usr/bin/env bash
# Installs what is missing, builds, puts the sample database beside the server, starts the
# server and opens the help at the given number:  bash scripts/run.sh [NUMMER] (01.01.01).
# Without a display the help runs on the offscreen platform under a private session bus; a
# picture of the frame window is written to a PNG, its path printed, and the server ended.
set -euo pipefail
cd "$(dirname "$0")/.."
nummer=${1:-01.01.01}

bash scripts/setup.sh
bash scripts/build.sh build
bin=$PWD/build/bin
[ -f "$bin/HilfeBelna.mdb" ] || "$bin/hilfedb" erstellen content "$bin/HilfeBelna.mdb"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  # With a desktop: start the server on the session bus and show the help until it is closed.
  if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    exec dbus-run-session -- bash "$0" "$nummer"
  fi
  "$bin/belnahilfe" &
  server=$!
  for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:de.tolvar.BelnaHilfe 2>/dev/null |
      grep -q 'boolean true' && break
    sleep 0.1
  done
  "$bin/belnahilfe-anzeigen" "$nummer"
  wait "$server" || true
  exit 0
fi

# No display: a private bus whose service folder is the build tree's, so the first call
# starts the server by activation, exactly as the invoicing application does; its servers have
# the status object (for the picture of the frame).
source scripts/privater_bus.sh
arbeit=$(mktemp -d)
trap 'privater_bus_beenden; rm -rf "$arbeit"' EXIT
privater_bus_starten "$arbeit" "$PWD/build/dbus-1/services"

"$bin/belnahilfe-anzeigen" "$nummer"
bild=$PWD/build/hilfe-${nummer//[^0-9A-Za-z]/_}.png
"$bin/belnahilfe-anzeigen" --foto "$bild" 1280 800
"$bin/belnahilfe-anzeigen" --beenden
echo "$bild"
