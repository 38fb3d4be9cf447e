#!/usr/bin/env bash
# Prints the share of test code in the project: the lines (blank lines included) of every C++,
# C and Python file under a tests/ folder against those of the product's source folders.
# Benchmarks (bench/) and fuzz targets (fuzz/) are neither and are shown apart.
# scripts/testanteil.sh [--hoechstens PROZENT]   exit 1 when the share is above PROZENT
set -euo pipefail
cd "$(dirname "$0")/.."

hoechstens=""
if [ "${1:-}" = "--hoechstens" ]; then
  hoechstens=${2:?"--hoechstens braucht eine Zahl"}
fi

# Lines of the source files under the given folders; files under a tests/ folder are counted
# only when $1 is "tests", all others only when it is "produkt".
zeilen() {
  local art=$1; shift
  local filter
  if [ "$art" = tests ]; then filter='/tests/'; else filter='^$'; fi
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.py' \) \
       -printf '/%p\n' 2>/dev/null |
    { if [ "$art" = tests ]; then grep -e "$filter"; else grep -v -e '/tests/'; fi; } |
    sed 's|^/||' | tr '\n' '\0' | xargs -0 -r cat | wc -l
}

produktordner=(client platform routinen komponenten helpdb viewer frame search printing server
               tools examples)
produkt=$(zeilen produkt "${produktordner[@]}")
tests=$(zeilen tests tests "${produktordner[@]}")
bench=$(zeilen produkt bench)
fuzz=$(zeilen produkt fuzz)

anteil=$(awk -v t="$tests" -v p="$produkt" 'BEGIN { printf "%.1f", 100 * t / (t + p) }')
echo "Testanteil: ${anteil} % (Tests ${tests} Zeilen, Produkt ${produkt} Zeilen;" \
     "außerdem Benchmarks ${bench}, Fuzz-Ziele ${fuzz})"

if [ -n "$hoechstens" ] &&
   awk -v a="$anteil" -v h="$hoechstens" 'BEGIN { exit !(a > h) }'; then
  echo "Testanteil über ${hoechstens} %" >&2
  exit 1
fi
