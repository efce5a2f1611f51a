#!/bin/sh
# CTest's emulator: a Windows test program under Wine (wine64 also starts 32-bit ones).
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec /usr/lib/wine/wine64 "$@"
