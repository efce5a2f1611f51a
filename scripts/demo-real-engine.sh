#!/bin/bash
# bash scripts/demo.sh --real-engine: the shipped launcher under Wine opens
# links to a real game. OpenArena's dedicated server runs on a loopback port
# and OpenArena's native client is the engine. A whitelisted link joins at
# once (a screenshot of the game is saved), another link shows the window
# and Launch joins, and xdg-open goes through the desktop entry.
set -euo pipefail
bash "$(dirname "$0")/install-deps.sh" openarena xdg-utils iproute2
source "$(dirname "$0")/game-session.sh"
width=$(runnable_width)
tree=${KELVRA_BUILD:-$root/build/$width}
work="$(dirname "$tree")/demo-real-engine"
configure_tree "$width" "$tree"
cmake --build "$tree" -j2 --target launcher harness >/dev/null
rm -rf "$work/home"
trap end_game_session EXIT
start_game_session
link="kelvra://127.0.0.1:$server_port/"

# join ROAD: takes the road with the link and waits for the game to join.
join() {
  mark=$(wc -l <"$log") start=$(date +%s%N)
  road "$1" "$link" || fail "the launcher failed: $(cat "$work/road.log")"
  wait_for 60 client_up && wait_for 60 joined || fail "the game did not join (server log: $log)"
  echo "  the game joined the server $((($(date +%s%N) - start) / 1000000)) ms after the link"
}

echo "OpenArena's dedicated server listens on 127.0.0.1:$server_port (log: $log);"
echo "the launcher's engine location is Z:\\usr\\games\\openarena, OpenArena's client."
echo "1. Whitelisted server (127.0.0.1), $link - no window:"
whitelist 127.0.0.1
join link
sleep 1.5 # the first frames of the level, "entered the game" still shown
import -window root "$work/screen.png"
convert "$work/screen.png" -trim +repage -colors 256 "PNG8:$work/real-game.png"
echo "  screenshot: $work/real-game.png"
end_client
echo "2. The whitelist emptied, the same link - the window, Launch pressed:"
whitelist ''
join launch
end_client
echo "3. xdg-open $link, through the desktop entry (whitelisted again):"
whitelist 127.0.0.1
join xdg-open
grep '^Exec=' "$XDG_DATA_HOME/applications/kelvra-url.desktop" | sed 's/^/  the desktop entry: /'
end_client
