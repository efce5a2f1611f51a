#!/bin/sh
# Runs a Windows test program under Wine (CTest's emulator); wine64 starts a
# 32-bit program through its 32-bit half.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec /usr/lib/wine/wine64 "$@"
