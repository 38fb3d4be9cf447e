#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a normal build and once
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/cups.sh || true  # the CUPS test printer; its tests skip without it

werror=OFF
[ -n "${CI:-}" ] && werror=ON

bash scripts/build.sh build -DTOLVAR_WERROR=$werror
bash scripts/testanteil.sh
(cd build && ctest --output-on-failure -j2)
# The Debian packages: built, installed system-wide, tried and purged again; on its own, after
# the other tests, since it changes the machine (root only, as in CI).
if [ "$(id -u)" -eq 0 ]; then
  bash scripts/pakettest.sh build
else
  echo "scripts/pakettest.sh übersprungen: installiert systemweit und braucht root"
fi
bash scripts/fuzz.sh 60

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
bash scripts/build.sh build-asan -DTOLVAR_WERROR=$werror -DTOLVAR_SANITIZE=ON -DTOLVAR_BENCH=OFF
(cd build-asan && ctest --output-on-failure -j2)
