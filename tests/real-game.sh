#!/bin/bash
# bash tests/real-game.sh BUILD_TREE: the launcher under Wine starts OpenArena's native client,
# which joins a real server on a loopback port (listening nowhere else) by each road; a link to an
# empty port joins nothing.
set -euo pipefail
tree=$(cd "${1:?usage: real-game.sh BUILD_TREE}" && pwd)
work="$tree/real-game" # its own Wine prefix there, beside any session already running
bash "$(dirname "$0")/../scripts/install-deps.sh" openarena xdg-utils iproute2
source "$(dirname "$0")/../scripts/game-session.sh"
rm -rf "$work" && mkdir -p "$work"
trap end_game_session EXIT
start_game_session

# name | whitelist entry | road | port in the link | expected
cases=(
  "whitelisted link|127.0.0.1|link|$server_port|join"
  "window, then Launch||launch|$server_port|join"
  "no server on the link's port (control)|127.0.0.1|link|$(free_port)|none"
  "xdg-open, desktop entry|127.0.0.1|xdg-open|$server_port|join"
  "the engine under a folder with blanks|127.0.0.1|blanks|$server_port|join"
)
for case in "${cases[@]}"; do
  IFS='|' read -r name entry how port expected <<<"$case"
  whitelist "$entry"
  mark=$(wc -l <"$log") start=$(date +%s%N) deadline=$((SECONDS + 60))
  road "$how" "kelvra://127.0.0.1:$port/" || fail "$name: the road failed (see $work/road.log)"
  wait_for 60 client_up || fail "$name: the client did not start"
  if [ "$expected" = join ]; then
    wait_for $((deadline - SECONDS)) joined ||
      fail "$name: no ClientConnect then ClientBegin within 60 s ($log)"
    result="joined in $((($(date +%s%N) - start) / 1000000)) ms"
  else
    ! wait_for 10 connected || fail "$name: the client connected to the server"
    result="no connection in 10 s of the client running, as it should be"
  fi
  outside=$(ss -Htuanp | grep -E "pid=($server_pid|$client_pid)," |
    awk '$5 !~ /^127\.0\.0\.1:/') || true
  [ -z "$outside" ] || fail "$name: listening outside 127.0.0.1: $outside"
  end_client || fail "$name: the client did not end"
  printf '%-40s %s\n' "$name:" "$result"
done
