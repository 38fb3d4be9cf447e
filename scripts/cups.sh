#!/usr/bin/env bash
# Starts the CUPS server if it is not running and adds the test printer "TolvarTest", whose
# device writes every job (as PDF) to /var/spool/tolvar-test/ausgabe.pdf, with the test PPD
# (A4, A5, Letter, Legal; Auto, Tray1, Tray2, Manual). Needs root for cupsd and lpadmin;
# without them it says so and ends with 0, and the CUPS tests skip themselves.
set -uo pipefail
cd "$(dirname "$0")/.."

if ! command -v cupsd >/dev/null || ! command -v lpadmin >/dev/null; then
  echo "cups.sh: CUPS ist nicht installiert; die CUPS-Tests werden übersprungen."
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "cups.sh: nur als root; die CUPS-Tests laufen nur, wenn ein cupsd schon läuft."
  exit 0
fi

# A file: device needs FileDevice Yes (a cupsd already running without it must be restarted).
datei=/etc/cups/cups-files.conf
if [ -f "$datei" ] && ! grep -q '^FileDevice Yes' "$datei"; then
  echo 'FileDevice Yes' >> "$datei"
fi
if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
  cupsd
  for _ in $(seq 1 50); do
    lpstat -r 2>/dev/null | grep -q 'is running' && break
    sleep 0.2
  done
fi

mkdir -p /var/spool/tolvar-test
chmod 1777 /var/spool/tolvar-test
lpadmin -p TolvarTest -E -v file:///var/spool/tolvar-test/ausgabe.pdf \
  -P tests/printing/cups/TolvarTest.ppd
cupsenable TolvarTest 2>/dev/null || true
cupsaccept TolvarTest 2>/dev/null || true
lpstat -p TolvarTest
