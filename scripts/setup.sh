#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
set -euo pipefail

PAKETE=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev qt6-qpa-plugins libgl-dev
  libsqlcipher-dev sqlcipher libzip-dev libstemmer-dev libhunspell-dev hunspell-de-de
  mdbtools-dev
  libcups2-dev cups cups-client cups-bsd
  dbus dbus-bin
  poppler-utils xvfb xauth
  openbox xdotool x11-utils imagemagick python3 python3-pil qt6-translations-l10n
  at-spi2-core python3-pyatspi
  fonts-dejavu-core fonts-liberation2
  clang-14 libclang-rt-14-dev
  libdbus-1-dev lintian dpkg-dev fakeroot
  chromium chromium-driver python3-selenium python3-html5lib
)

fehlend=()
for p in "${PAKETE[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    fehlend+=("$p")
  fi
done

if [ ${#fehlend[@]} -gt 0 ]; then
  echo "Installiere: ${fehlend[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${fehlend[@]}"
fi
