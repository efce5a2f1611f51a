#!/bin/sh
# Makes kelvra:// links open the launcher under Wine for the current user:
#   sh install-desktop-entry.sh /path/to/launcher.exe
# (WINE=/path/to/wine before it names the Wine to use.) It writes a small
# opener script that starts that launcher with a Wine able to run it, in the
# Wine prefix of $WINEPREFIX when that is set (a browser started without it
# still reaches the settings; a prefix that does not exist is refused before
# anything is written), installs kelvra-url.desktop naming the opener, and
# makes it the default handler of the scheme. Everything goes under
# $XDG_DATA_HOME and $XDG_CONFIG_HOME.
set -eu
fail() { echo "$*" >&2; exit 1; }
exe=$(realpath "${1:?usage: install-desktop-entry.sh /path/to/launcher.exe}")
[ -f "$exe" ] || fail "no such file: $exe"
[ -z "${WINEPREFIX:-}" ] || [ -d "$WINEPREFIX" ] || fail "no such Wine prefix: WINEPREFIX=$WINEPREFIX"

# The program's width, from its PE header: the machine field after "PE\0\0".
bytes() { od -An -tu1 -j"$1" -N"$2" "$exe" 2>/dev/null; }
set -- $(bytes 60 4)
[ $# -eq 4 ] || fail "$exe is not a Windows program"
set -- $(bytes $(($1 + 256 * $2 + 65536 * $3 + 16777216 * $4)) 6)
[ $# -eq 6 ] && [ "$1 $2 $3 $4" = "80 69 0 0" ] || fail "$exe is not a Windows program"
case $(($5 + 256 * $6)) in
  34404) width=64 ;;
  332) width=32 ;;
  *) fail "$exe is neither a 32-bit nor a 64-bit x86 Windows program" ;;
esac

# Debian and Ubuntu keep Wine's loaders in /usr/lib/wine (wine64 is not on
# PATH there), and their /usr/bin/wine is a script that falls back to the
# 64-bit loader when the 32-bit half is missing: a 32-bit program needs
# /usr/lib/wine/wine itself, and a kernel that can start it.
if [ -n "${WINE:-}" ]; then
  wine=$(command -v "$WINE") || fail "WINE=$WINE: no such program"
elif [ $width = 64 ]; then
  wine=$(command -v wine64 || command -v /usr/lib/wine/wine64 || command -v wine) || fail "Wine is not installed"
elif [ -e /usr/lib/wine/wine ] || [ -e /usr/lib/wine/wine64 ]; then
  wine=/usr/lib/wine/wine
else
  wine=$(command -v wine) || fail "Wine is not installed"
fi
if ! "$wine" --version >/dev/null 2>&1; then
  [ $width = 32 ] || fail "$wine does not start"
  fail "$exe is a 32-bit program, and this Wine cannot start 32-bit programs ($wine does not run here).
Install Wine's 32-bit half (as root: dpkg --add-architecture i386 && apt-get update && apt-get install wine32:i386),
or use the 64-bit launcher.exe from the Linux package instead."
fi

# The desktop entry names the opener, at a path without blanks or quotes:
# xdg-open splits the Exec line at blanks whatever the quotes say.
data=${XDG_DATA_HOME:-$HOME/.local/share}
opener=$data/kelvra-launcher/open-link
case $opener in
  *[!A-Za-z0-9_/.,+:@=-]*) fail "$data has blanks or other reserved characters: set XDG_DATA_HOME to a folder without them" ;;
esac
quote() { printf "'%s'" "$(printf '%s' "$1" | sed "s/'/'\\\\''/g")"; }
prefix=''
[ -z "${WINEPREFIX:-}" ] || prefix="export WINEPREFIX=$(quote "$(realpath "$WINEPREFIX")")
"
mkdir -p "$data/kelvra-launcher" "$data/applications"
# TMPDIR is dropped: Debian 13's Wine stops where it is set, and a browser passes on the session's.
printf '#!/bin/sh\n# Written by install-desktop-entry.sh: one kelvra:// link in, handed on as it came.\nunset TMPDIR\n%sexec %s %s "$@"\n' \
  "$prefix" "$(quote "$wine")" "$(quote "$exe")" >"$opener"
chmod +x "$opener"
EXEC="$opener %u" awk '/^Exec=/ { print "Exec=" ENVIRON["EXEC"]; next } 1' \
  "$(dirname "$0")/kelvra-url.desktop" >"$data/applications/kelvra-url.desktop"
xdg-mime default kelvra-url.desktop x-scheme-handler/kelvra
echo "kelvra:// links now open $exe under $wine ($data/applications/kelvra-url.desktop)"
