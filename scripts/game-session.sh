# Sourced by tests/real-game.sh and the real-engine demo, which install openarena, xdg-utils and
# iproute2 first. With $tree (a build tree holding bin/launcher.exe and bin/harness.exe) and $work (an
# empty folder) set, start_game_session starts a Wine session, a dedicated server on a free loopback port
# that ends by itself after ten minutes, and gives the client a HOME of its own (loopback only, IPv4
# only) with the desktop entry installed there. The launcher's engine location is the native client.
# The caller ends it all with end_game_session.
source "$(dirname "${BASH_SOURCE[0]}")/wine-session.sh"

start_game_session() {
  start_wine_session "$work/wineprefix" || return 1
  server_port=$(free_port) client_port=$(free_port)
  fresh_home "$work/home" && export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy
  mkdir -p "$HOME/.openarena/baseoa"
  printf 'seta %s\n' 's_initsound 0' 'r_fullscreen 0' 'net_enabled 1' 'net_ip 127.0.0.1' "net_port $client_port" \
    >"$HOME/.openarena/baseoa/autoexec.cfg"
  sh "$root/packaging/install-desktop-entry.sh" "$tree/bin/launcher.exe" >/dev/null

  log="$work/server.log"
  timeout 600 /usr/lib/ioquake3/ioq3ded +set com_basegame baseoa +set fs_basepath /usr/lib/openarena \
    +set fs_homepath "$work/server" +set com_legacyprotocol 71 +set com_protocol 71 +set dedicated 1 \
    +set net_enabled 1 +set net_ip 127.0.0.1 +set net_port "$server_port" +set sv_master1 "" +set sv_master2 "" \
    +set sv_master3 "" +set ttycon 0 +map oa_dm1 </dev/null >"$log" 2>&1 &
  server_job=$!
  wait_for 30 grep -qx "Opening IP socket: 127.0.0.1:$server_port" "$log" || fail "the server did not open its port"
  server_pid=$(pid_on "$server_port")

  "$WINE64" reg delete "$settings_key" /f >/dev/null 2>&1 || true
  engine_at 'Z:\usr\games\openarena'
  blanks="$work/Games/Open Arena"
  mkdir -p "$blanks" && ln -sf /usr/games/openarena "$blanks/openarena"
}
end_game_session() {
  kill ${server_job:-} 2>/dev/null || true
  kill -KILL ${client_pid:-} 2>/dev/null || true
  end_wine_session
}
free_port() {
  local port
  while port=$((20000 + RANDOM % 30000)); [ -n "$(ss -Htuan "sport = :$port")" ]; do :; done
  echo "$port"
}
# pid_on PORT: the process with a UDP socket on that port, if any.
pid_on() { ss -Hlunp "sport = :$1" | grep -o 'pid=[0-9]*' | head -1 | cut -d= -f2; }

whitelist() {
  "$WINE64" reg delete "$settings_key\\whitelist" /f >/dev/null 2>&1 || true
  [ -z "$1" ] || "$WINE64" reg add "$settings_key\\whitelist" /v address0 /t REG_SZ /d "$1" /f >/dev/null
}

# The roads from a link to the engine: the harness hands the launcher the
# link in quotes as a browser does (and presses Launch), or xdg-open goes
# through the desktop entry.
road() {
  case $1 in
    link) "$WINE64" "$tree/bin/harness.exe" "\"$2\"" ;;
    launch) "$WINE64" "$tree/bin/harness.exe" --command IDC_LAUNCH "\"$2\"" && grep -q 'window shown' "$work/road.log" ;;
    xdg-open) timeout 60 xdg-open "$2" ;;
    blanks) blanks_road "$2" ;;
  esac >"$work/road.log" 2>&1
}
# The engine under a folder whose name has blanks ($blanks), as engines are
# usually installed: road "blanks" opens the link with the engine location
# there; the client's arguments after the wrapper's own (the last is cl_motd
# 0) must be the parameter line alone, with no piece of the path among them.
engine_at() { "$WINE64" reg add "$settings_key" /v enginepath /t REG_SZ /d "$1" /f >/dev/null; }
blanks_road() {
  local address=${1#kelvra://} arguments
  engine_at "$(windows_path "$blanks/openarena")" && "$WINE64" "$tree/bin/harness.exe" "\"$1\"" &&
    engine_at 'Z:\usr\games\openarena' && wait_for 60 client_up || return 1
  arguments=$(tr '\0' ' ' <"/proc/$client_pid/cmdline")
  echo "client arguments: $arguments"
  [[ "$arguments" == *"+set cl_motd 0 +set fs_game kelvra +connect ${address%/} " ]]
}

# Server log lines after line $mark: a ClientConnect, and a ClientBegin after it.
connected() { tail -n +$((mark + 1)) "$log" | grep -q '^ClientConnect:'; }
joined() { tail -n +$((mark + 1)) "$log" | grep -A999 -m1 '^ClientConnect:' | grep -q '^ClientBegin:'; }
client_up() { client_pid=$(pid_on "$client_port") && [ -n "$client_pid" ]; }
client_gone() { ! kill -0 "$client_pid" 2>/dev/null; }
# On TERM the client hangs in its shutdown.
end_client() { kill -KILL "$client_pid" && wait_for 20 client_gone && client_pid=; }
