#!/usr/bin/env bash
# Seeds the faults listed in scripts/fehlersaat.txt into the product code one at a time and
# records which of them the test suite catches.
#
# scripts/fehlersaat.sh [--build DIR] [--nur ID[,ID...]] [--aus DATEI] [--ohne-vorlauf]
#
#   --build DIR      the configured build directory (default: build)
#   --nur IDS        only these faults, in this order, e.g. --nur F07,F01
#   --aus DATEI      also append the result lines to DATEI (default: only the terminal)
#   --ohne-vorlauf   skip the run of the whole suite on the unchanged code
#
# Each line of the table is: ID, area, file, original text, replacement, description, separated
# by tabs. The original text must occur exactly once in the file. A fault whose code has moved
# has a further line with the same ID for the place where it stands now; the first line of an
# ID that applies is used, and when none does the fault is "nicht anwendbar". A fault is
# applied to the file, the build is brought up to date (a fault that does not compile is
# "nicht übersetzbar", not caught), the suite runs until its first failure, and the file gets its
# original bytes back, also on Ctrl+C or an error. A fault caught only by timeouts (which a
# loaded machine can cause) is run once more. At the end the build directory is rebuilt from
# the unchanged code. The ctest output of every fault is kept in DIR/fehlersaat/.
set -uo pipefail
cd "$(dirname "$0")/.."
wurzel=$(pwd)

build=build
nur=""
aus=""
vorlauf=1
while [ $# -gt 0 ]; do
  case $1 in
    --build) build=${2:?"--build braucht ein Verzeichnis"}; shift 2 ;;
    --nur) nur=${2:?"--nur braucht IDs"}; shift 2 ;;
    --aus) aus=${2:?"--aus braucht eine Datei"}; shift 2 ;;
    --ohne-vorlauf) vorlauf=0; shift ;;
    -h|--help) sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "unbekannte Option: $1" >&2; exit 2 ;;
  esac
done
case $build in /*) ;; *) build=$wurzel/$build ;; esac
case $aus in ''|/*) ;; *) aus=$wurzel/$aus ;; esac
tabelle=$wurzel/scripts/fehlersaat.txt
[ -f "$build/CMakeCache.txt" ] || { echo "$build ist kein konfiguriertes Build-Verzeichnis" >&2; exit 2; }
[ -f "$tabelle" ] || { echo "$tabelle fehlt" >&2; exit 2; }
command -v perl >/dev/null || { echo "perl fehlt" >&2; exit 2; }

protokolle=$build/fehlersaat
mkdir -p "$protokolle"
sicherung=$(mktemp -d)
offen=""     # the file that holds a fault right now
schmutzig=0  # 1 while the build directory may hold objects built from a fault

wiederherstellen() {
  if [ -n "$offen" ]; then
    # cat keeps the file's inode; the new time stamp makes the build compile it again.
    cat "$sicherung/original" > "$wurzel/$offen"
    offen=""
  fi
}

neu_bauen() {
  cmake --build "$build" -j2 > "$protokolle/bauen.log" 2>&1
}

beim_ende() {
  local status=$?
  trap - EXIT INT TERM
  if [ -n "$offen" ]; then
    echo "stelle $offen wieder her" >&2
    wiederherstellen
  fi
  if [ "$schmutzig" = 1 ]; then
    echo "baue $build aus dem unveränderten Code neu" >&2
    neu_bauen || echo "WARNUNG: der Neubau ohne Fehler schlägt fehl, siehe $protokolle/bauen.log" >&2
  fi
  rm -rf "$sicherung"
  exit "$status"
}
trap beim_ende EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

ausgeben() {
  echo "$1"
  if [ -n "$aus" ]; then echo "$1" >> "$aus"; fi
}

# Runs the suite until the first failure. Sets fehlgeschlagen (comma-separated test names) and
# nurZeit (1 when every failure was a timeout). Returns 0 when every test passed.
suite() {
  local log=$1
  (cd "$build" && ctest -j2 --stop-on-failure --output-on-failure) > "$log" 2>&1
  local rc=$?
  fehlgeschlagen=$(sed -n '/The following tests FAILED:/,$p' "$log" |
                   sed -n 's/^[[:space:]]*[0-9]\{1,\} - \([^ ]*\) (.*/\1/p' | paste -sd, -)
  local zeilen zeit
  zeilen=$(sed -n '/The following tests FAILED:/,$p' "$log" | grep -c '^[[:space:]]*[0-9]\{1,\} - ')
  zeit=$(sed -n '/The following tests FAILED:/,$p' "$log" | grep -c '^[[:space:]]*[0-9]\{1,\} - .*(Timeout)')
  nurZeit=0
  if [ "$zeilen" -gt 0 ] && [ "$zeilen" -eq "$zeit" ]; then nurZeit=1; fi
  if [ "$rc" -ne 0 ] && [ -z "$fehlgeschlagen" ]; then
    fehlgeschlagen="(ctest-Fehler $rc, siehe $log)"
  fi
  return "$rc"
}

echo "bringe $build auf den Stand des unveränderten Codes" >&2
if ! neu_bauen; then
  echo "der unveränderte Code lässt sich nicht bauen, siehe $protokolle/bauen.log" >&2
  exit 1
fi
if [ "$vorlauf" = 1 ]; then
  echo "Vorlauf: die ganze Suite auf dem unveränderten Code" >&2
  if ! suite "$protokolle/vorlauf.log" &&
     { [ "$nurZeit" = 0 ] || ! suite "$protokolle/vorlauf.log"; }; then
    echo "die Suite schlägt schon ohne Fehler fehl ($fehlgeschlagen), siehe $protokolle/vorlauf.log" >&2
    exit 1
  fi
fi
if [ -n "$aus" ] && [ ! -s "$aus" ]; then
  printf '# fehlersaat.sh %s, %s\n# ID\tErgebnis\tTests\tSekunden\n' \
    "$(git -C "$wurzel" rev-parse --short HEAD 2>/dev/null)" "$(date '+%Y-%m-%d %H:%M')" > "$aus"
fi

n_gefangen=0 n_ueberlebt=0 n_anwendbar=0 n_uebersetzbar=0
gesamt=0
tab=$'\t'
# The table's lines by ID; --nur runs the given faults in the given order.
declare -A zeilen=()
reihe=()
while IFS= read -r zeile || [ -n "$zeile" ]; do
  case $zeile in ''|'#'*) continue ;; esac
  id=${zeile%%"$tab"*}
  if [ -n "${zeilen[$id]+x}" ]; then
    # The same fault where the code stands now: another line of the same ID.
    zeilen[$id]+=$'\n'$zeile
  else
    zeilen[$id]=$zeile
    reihe+=("$id")
  fi
done < "$tabelle"
if [ -n "$nur" ]; then
  IFS=, read -r -a reihe <<< "$nur"
fi
for id in "${reihe[@]}"; do
  if [ -z "${zeilen[$id]+x}" ]; then
    echo "$id steht nicht in $tabelle" >&2
    continue
  fi
  gesamt=$((gesamt + 1))
  beginn=$(date +%s)
  # The first line of the ID whose text occurs exactly once in its file is the one applied.
  while IFS= read -r zeile; do
    # Fields may be empty (a dropped line), so they are split by hand, not by read.
    rest=${zeile#*"$tab"}
    rest=${rest#*"$tab"}                           # area
    datei=${rest%%"$tab"*}; rest=${rest#*"$tab"}
    alt=${rest%%"$tab"*}; rest=${rest#*"$tab"}
    neu=${rest%%"$tab"*}
    pfad=$wurzel/$datei
    treffer=0
    if [ -f "$pfad" ]; then
      treffer=$(ALT=$alt perl -0777 -ne 'my $n = () = /\Q$ENV{ALT}\E/g; print $n' "$pfad")
    fi
    if [ "$treffer" = 1 ]; then break; fi
  done <<< "${zeilen[$id]}"
  if [ "$treffer" != 1 ]; then
    n_anwendbar=$((n_anwendbar + 1))
    ausgeben "$id${tab}nicht anwendbar${tab}(Text ${treffer}-mal in $datei)${tab}0"
    continue
  fi
  cp "$pfad" "$sicherung/original"
  offen=$datei
  schmutzig=1
  ALT=$alt NEU=$neu perl -0777 -pi -e 's/\Q$ENV{ALT}\E/$ENV{NEU}/' "$pfad"
  if cmp -s "$pfad" "$sicherung/original"; then
    wiederherstellen
    n_anwendbar=$((n_anwendbar + 1))
    ausgeben "$id${tab}nicht anwendbar${tab}(Ersetzung ändert nichts)${tab}0"
    continue
  fi
  echo "$id: $datei" >&2
  if ! cmake --build "$build" -j2 > "$protokolle/$id.bauen.log" 2>&1; then
    wiederherstellen
    n_uebersetzbar=$((n_uebersetzbar + 1))
    ausgeben "$id${tab}nicht übersetzbar${tab}(siehe $protokolle/$id.bauen.log)${tab}$(($(date +%s) - beginn))"
    continue
  fi
  if suite "$protokolle/$id.log"; then
    ergebnis=überlebt; tests="-"
  else
    ergebnis=gefangen; tests=$fehlgeschlagen
    if [ "$nurZeit" = 1 ]; then
      echo "$id: nur Zeitüberschreitungen ($fehlgeschlagen), noch ein Lauf" >&2
      mv "$protokolle/$id.log" "$protokolle/$id.zeit.log"
      if suite "$protokolle/$id.log"; then
        ergebnis=überlebt; tests="- (erster Lauf: Zeitüberschreitung in $tests)"
      else
        tests=$fehlgeschlagen
        if [ "$nurZeit" = 1 ]; then tests="$tests (nur Zeitüberschreitung, zweimal)"; fi
      fi
    fi
  fi
  wiederherstellen
  if [ "$ergebnis" = gefangen ]; then n_gefangen=$((n_gefangen + 1)); else n_ueberlebt=$((n_ueberlebt + 1)); fi
  ausgeben "$id${tab}$ergebnis${tab}$tests${tab}$(($(date +%s) - beginn))"
done

echo "baue $build aus dem unveränderten Code neu" >&2
neu_bauen || { echo "WARNUNG: der Neubau ohne Fehler schlägt fehl, siehe $protokolle/bauen.log" >&2; exit 1; }
schmutzig=0
ausgeben "# gefangen $n_gefangen von $gesamt; überlebt $n_ueberlebt; nicht anwendbar $n_anwendbar; nicht übersetzbar $n_uebersetzbar"
