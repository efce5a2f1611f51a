#!/bin/bash
# CTest's emulator: a Windows test program under Wine (wine64 also starts 32-bit ones).
source "$(dirname "$0")/toolkit.sh"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec "$WINE64" "$@"
