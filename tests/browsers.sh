#!/bin/bash
# bash tests/browsers.sh BUILD_TREE: Firefox ESR and Chromium, each with a fresh profile, open a page of kelvra://
# links; a real click on each makes the launcher under Wine (through the desktop entry, from a folder with blanks)
# start the stub engine with exactly the expected command line, or open its window for a server not whitelisted.
set -euo pipefail
tree=$(cd "${1:?usage: browsers.sh BUILD_TREE}" && pwd) work="$tree/browsers"
rm -rf "$work" && mkdir -p "$work/tmp" && export TMPDIR="$work/tmp" # nothing written outside $work
export KELVRA_PREFIX="$tree/wineprefix-browsers" # its own, beside the session already running
source "$(dirname "$0")/../scripts/wine-session.sh"
source "$root/scripts/browser-session.sh"
trap 'close_browser; end_wine_session' EXIT
browser_home "$tree/bin/launcher.exe" && stage_engine "$tree/bin/stub_engine.exe" 192.0.2.10
record="$work/engine-record.txt" && export KELVRA_STUB_RECORD && KELVRA_STUB_RECORD=$(windows_path "$record")
fail() { echo "$*" >&2; exit 1; }
shell='$(touch$IFS.ran)' # what a shell between browser and launcher would run: no blank, no brace

# link in the page | the server the engine connects to, or "window"
cases=(
  'kelvra://player@192.0.2.10:27961/path?query&more#fragment|192.0.2.10:27961'
  'kelvra://192.0.2.10|192.0.2.10:27960'
  'kelvra://192.0.2.10:27962/%22%20%24(touch%20.ran)%60touch%20.ran%60%3B+set%20x|192.0.2.10:27962'
  "kelvra://a\" b'$shell\`touch .ran\`;+@192.0.2.10:27963/\" '$shell;+set x?a=$shell&b=\`touch .ran\`|192.0.2.10:27963"
  'kelvra://198.51.100.7:27964/|window'
)
page "${cases[@]%|*}" && cd "$work"
for browser in firefox chromium; do
  open_page $browser || fail "$browser: the page did not open"
  times=()
  for i in "${!cases[@]}"; do
    link=${cases[i]%|*} expected=${cases[i]##*|}
    rm -f "$record" && start=$(click "$i") || fail "$browser: link $i did not show"
    if [ "$expected" = window ]; then
      close_window '^URL Kelvra launcher$' || fail "$browser: $link opened no window, or it did not close"
      [ ! -e "$record" ] || fail "$browser: $link started the engine"
      continue
    fi
    poll_file "$record" || fail "$browser: $link started no engine in 20 s"
    times+=($((($(date +%s%N) - start) / 1000000)))
    got=$(iconv -f UTF-16LE -t UTF-8 "$record")
    [ "$got" = "C:\\Games\\Quake III Arena\\quake3.exe +set fs_game kelvra +connect \"$expected\""$'\n'"C:\\Games\\Quake III Arena" ] ||
      fail "$browser: $link started: $got"
  done
  close_browser
  [ -z "$(find "$work" -name .ran)" ] || fail "$browser: a shell ran a command from a link"
  echo "$browser: every link started what it should; click to engine started: median $(median "${times[@]}") ms of ${times[*]}"
done
