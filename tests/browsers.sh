#!/bin/bash
# bash tests/browsers.sh BUILD_TREE: real clicks on links in Firefox ESR and Chromium; a shell that
# ran one leaves .ran
set -euo pipefail
bash "$(dirname "$0")/../scripts/install-deps.sh" firefox-esr chromium xdotool xdg-utils
source "$(dirname "$0")/../scripts/browser-session.sh" && trap end_stub_session EXIT
start_stub_session "${1:?usage: browsers.sh TREE}"
# the engine's path quoted, for its blanks
shell='$(touch$IFS.ran)' engine="\"$engine_folder\\quake3.exe\" +set fs_game kelvra +connect"
crafted="kelvra://a\" b'$shell\`touch .ran\`;+@192.0.2.10:27963/\" '$shell;+set x?a=$shell"
cases=( # link in the page | server on the engine's command line, or the window
  'kelvra://player@192.0.2.10:27961/path?query&more#fragment|192.0.2.10:27961'
  'kelvra://192.0.2.10|192.0.2.10:27960'
  'kelvra://192.0.2.10:27962/%22%20%24(touch%20.ran)%60touch%20.ran%60%3B+set%20x|192.0.2.10:27962'
  "$crafted&b=\`touch .ran\`|192.0.2.10:27963"
  'kelvra://198.51.100.7:27964/|the window')
want=$(for c in "${cases[@]##*|}"; do
  [ "$c" = "the window" ] && echo "$c" || echo "$engine \"$c\" in $engine_folder"
done)
for browser in firefox chromium; do
  got=$(click_each $browser "${cases[@]%|*}") && [ "$got" = "$want" ] ||
    fail "$browser started:"$'\n'"$got"$'\n'not:$'\n'"$want"
done
