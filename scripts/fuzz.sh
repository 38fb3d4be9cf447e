#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build-fuzz and runs each for a bounded
# time on a fresh copy of its seed corpus: scripts/fuzz.sh [SEKUNDEN] (default 60 per target).
# Fails when a target finds a crash, leak, timeout or undefined behaviour; the input that
# shows it is left in build-fuzz/funde/<ziel>/.
set -euo pipefail
cd "$(dirname "$0")/.."
sekunden=${1:-60}
dir=build-fuzz
ziele=(rtf markup bild jet)

CXX=clang++-14 cmake -S . -B "$dir" -DTOLVAR_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j"$(nproc)" --target "${ziele[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

# The Jet reader's seeds are the shared Jet 4 help databases, which stay outside the tree: each
# file as it is, its first 28 pages, and those pages with the catalogue byte that once sent the
# reader into an endless loop. Without the shared folder the target starts from nothing.
jet_saat() {
  local ziel=$1 quelle=../shared/jet
  [ -d "$quelle" ] || return 0
  cp "$quelle"/*.mdb "$ziel"/
  head -c $((28 * 4096)) "$quelle"/beispiel-jet4.mdb >"$ziel"/anfang.mdb
  cp "$ziel"/anfang.mdb "$ziel"/anfang-katalogschleife.mdb
  printf '\x5e' | dd of="$ziel"/anfang-katalogschleife.mdb bs=1 seek=$((0x17F09)) \
    conv=notrunc status=none
}

fehler=0
for ziel in "${ziele[@]}"; do
  korpus=$dir/korpus/$ziel
  funde=$dir/funde/$ziel
  rm -rf "$korpus" "$funde"
  mkdir -p "$korpus" "$funde"
  if [ "$ziel" = jet ]; then
    jet_saat "$korpus"
  else
    cp fuzz/korpus/"$ziel"/* "$korpus"/
  fi
  echo "== fuzz_$ziel: $sekunden s"
  if ! "$dir"/bin/fuzz_"$ziel" -max_total_time="$sekunden" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$funde"/ "$korpus" 2>"$dir/fuzz_$ziel.log"; then
    echo "fuzz_$ziel: Fund, siehe $dir/fuzz_$ziel.log und $funde/" >&2
    tail -n 40 "$dir/fuzz_$ziel.log" >&2
    fehler=1
  else
    grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb" "$dir/fuzz_$ziel.log" || true
  fi
done
exit $fehler
