#!/usr/bin/env bash
# Installs what is missing, builds, and runs the help on the bundled sample database.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
./build/bin/hilfedb kapitel build/bin/HilfeBelna.mdb
