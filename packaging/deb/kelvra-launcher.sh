#!/bin/sh
# kelvra-launcher [LINK]: the URL Kelvra launcher under Wine's 64-bit loader (Debian keeps it in
# /usr/lib/wine, off PATH), in $WINEPREFIX when set, else Wine's default prefix. The link is handed on
# as it came, one argument, through no shell. TMPDIR is dropped: Debian 13's Wine stops where it is set
# (a desktop session may set it), and Windows programs take their temporary folder from the prefix.
unset TMPDIR
for wine in /usr/lib/wine/wine64 "$(command -v wine64)"; do
  [ -x "$wine" ] && exec "$wine" /usr/lib/kelvra-launcher/launcher.exe "$@"
done
echo "kelvra-launcher: no 64-bit Wine to start it: install the package wine64" >&2
exit 1
