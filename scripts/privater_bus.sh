# shellcheck shell=bash
# Shell functions for a private session bus, read with `source` by the scripts that start the
# help server by activation (run.sh, pakettest.sh):
#   privater_bus_starten ORDNER DIENSTORDNER  writes the bus configuration into ORDNER (a
#       temporary folder of the caller), starts a dbus-daemon whose only service folder is
#       DIENSTORDNER and exports DBUS_SESSION_BUS_ADDRESS; the servers it starts run offscreen,
#       with messages on the console and the status object. Fails when the bus does not start.
#   privater_bus_beenden  stops that daemon (a server it started ends with its bus).

privater_bus_pid=""

privater_bus_starten() {
  local ordner=$1 dienste=$2
  cat > "$ordner/bus.conf" <<XML
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig><type>session</type><listen>unix:tmpdir=$ordner</listen>
<servicedir>$dienste</servicedir>
<policy context="default"><allow send_destination="*" eavesdrop="true"/>
<allow eavesdrop="true"/><allow own="*"/></policy></busconfig>
XML
  # The bus hands its environment to the servers it starts.
  QT_QPA_PLATFORM=offscreen TOLVAR_MELDUNGEN=konsole TOLVAR_HILFE_TESTZUGANG=1 \
    dbus-daemon --config-file="$ordner/bus.conf" --fork --print-address=3 --print-pid=4 \
    3> "$ordner/adresse" 4> "$ordner/pid" || return 1
  privater_bus_pid=$(head -n1 "$ordner/pid")
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$ordner/adresse")
  export DBUS_SESSION_BUS_ADDRESS
  [ -n "$privater_bus_pid" ] && [ -n "$DBUS_SESSION_BUS_ADDRESS" ]
}

privater_bus_beenden() {
  if [ -n "$privater_bus_pid" ]; then
    kill "$privater_bus_pid" 2> /dev/null || true
  fi
  privater_bus_pid=""
}
