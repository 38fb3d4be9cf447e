#!/usr/bin/env bash
# Builds the Debian packages of the help from a build tree and checks them with lintian:
#   bash scripts/pakete.sh [BAUVERZEICHNIS]   (default: build)
# The packages land in BAUVERZEICHNIS/pakete/, lintian's report in pakete/lintian.txt. Fails when
# the tree does not build, CPack fails, or lintian finds an error (warnings are listed in the
# README with their reason).
set -euo pipefail
cd "$(dirname "$0")/.."
bau=${1:-build}

bash scripts/setup.sh
werror=OFF
[ -n "${CI:-}" ] && werror=ON
# A tree the tests built is only checked for changes here.
bash scripts/build.sh "$bau" -DTOLVAR_WERROR=$werror

rm -rf "$bau/pakete"
TOLVAR_BAU="$(cd "$bau" && pwd)" cpack --config dist/pakete.cmake > "$bau/cpack.log" 2>&1 || {
  cat "$bau/cpack.log"
  echo "pakete.sh: cpack fehlgeschlagen" >&2
  exit 1
}
rm -rf "$bau/pakete/_CPack_Packages"
ls -l "$bau"/pakete/*.deb

# As root lintian needs --allow-root; every tag is shown, not only the first few of each kind.
lintian --allow-root --tag-display-limit 0 --info "$bau"/pakete/*.deb > "$bau/pakete/lintian.txt" 2>&1 ||
  true
cat "$bau/pakete/lintian.txt"
if grep -q '^E: ' "$bau/pakete/lintian.txt"; then
  echo "pakete.sh: lintian meldet Fehler" >&2
  exit 1
fi
echo "pakete.sh: $(ls "$bau"/pakete/*.deb | wc -l) Pakete, lintian ohne Fehler"
