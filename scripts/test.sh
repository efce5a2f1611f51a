#!/bin/bash
# Installs what is missing, builds both widths and runs every test under
# Wine on a virtual display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
export KELVRA_BUILD="$root/build/x86_64"
source "$root/scripts/wine-session.sh"
ctest --test-dir "$KELVRA_BUILD" --output-on-failure
