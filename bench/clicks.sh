#!/bin/bash
# bash bench/clicks.sh [CLICKS [BUILD_TREE]]: times a real click on a whitelisted kelvra:// link in Firefox ESR and
# in Chromium to the stub engine started by the launcher (by default the x86_64 build) through the desktop entry;
# beside them the same link given to xdg-open, and to the entry's opener script itself (no browser, no lookup).
set -euo pipefail
clicks=${1:-9}
bash "$(dirname "$0")/../scripts/install-deps.sh" firefox-esr chromium xdotool xdg-utils
source "$(dirname "$0")/../scripts/browser-session.sh" && trap end_stub_session EXIT
start_stub_session "${2:-$(dirname "$0")/../build/x86_64}"
links=() && for i in $(seq "$clicks"); do links+=("kelvra://192.0.2.10:$((27960 + i))/"); done
page "${links[@]}"
for road in firefox chromium xdg-open opener; do
  case $road in firefox | chromium) open_page $road ;; esac
  times=()
  for i in "${!links[@]}"; do
    rm -f "$record"
    case $road in
      xdg-open) start=$(date +%s%N) && xdg-open "${links[i]}" ;;
      opener) start=$(date +%s%N) && "$XDG_DATA_HOME/kelvra-launcher/open-link" "${links[i]}" ;;
      *) start=$(click "$i") ;;
    esac
    wait_file 20 "$record" || fail "$road: ${links[i]} started no engine"
    times+=($((($(date +%s%N) - start) / 1000000)))
  done
  close_browser
  echo "$road: link to engine started, $clicks links: min $(printf '%s\n' "${times[@]}" | sort -n | head -1) /" \
    "median $(median "${times[@]}") / max $(printf '%s\n' "${times[@]}" | sort -n | tail -1) ms (${times[*]})"
done
