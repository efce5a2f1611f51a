#!/bin/sh
# Makes kelvra:// links open the launcher under Wine for the current user:
#   sh install-desktop-entry.sh /path/to/launcher.exe
# It installs kelvra-url.desktop with that path and makes it the default
# handler of the scheme.
set -eu
exe=$(realpath "${1:?usage: install-desktop-entry.sh /path/to/launcher.exe}")
[ -f "$exe" ] || { echo "no such file: $exe" >&2; exit 1; }
# A path with spaces or other reserved characters is quoted as desktop
# entries want it: \ " ` $ escaped inside the quotes, then \ doubled.
case $exe in
  *[!A-Za-z0-9_/.,+:@=-]*) exe=\"$(printf '%s' "$exe" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g' -e 's/%/%%/g')\" ;;
esac
applications=${XDG_DATA_HOME:-$HOME/.local/share}/applications
mkdir -p "$applications"
EXEC="wine $exe %u" awk '/^Exec=/ { print "Exec=" ENVIRON["EXEC"]; next } 1' \
  "$(dirname "$0")/kelvra-url.desktop" >"$applications/kelvra-url.desktop"
xdg-mime default kelvra-url.desktop x-scheme-handler/kelvra
echo "kelvra:// links now open $1 under Wine ($applications/kelvra-url.desktop)"
