#!/bin/bash
# The launcher's main job under Wine, with the stub engine standing in for a
# Quake III engine: a whitelisted link starts the engine at once, another
# link shows the window (screenshot in build/demo), and Launch starts it.
# With --real-engine, a real game instead (scripts/demo-real-engine.sh).
set -euo pipefail
[ "${1:-}" != --real-engine ] || exec bash "$(dirname "$0")/demo-real-engine.sh"
bash "$(dirname "$0")/install-deps.sh"
source "$(dirname "$0")/demo-setup.sh"
trap end_wine_session EXIT
demo_setup
[ "$width" = x86_64 ] || echo "The shipped 32-bit program (build/i686), natively under Wine:"

# launcher_ended CODE: the launcher's exit code, where the harness gives it; anything but 0 (a crash
# included) ends the demo with a line saying so.
launcher_ended() {
  [ "$1" = 0 ] || fail "the launcher ended with exit code $1, not 0: it crashed or failed (above)"
}
# show_engine_start yes|no: the engine's command line and folder, once the stub engine has written them
# (a slow machine takes seconds), or that it was not started; the other answer than expected fails.
show_engine_start() {
  if [ "$1" = yes ] && wait_file 30 "$record" || [ -f "$record" ]; then
    { engine_record; echo; } | sed -e '1s/^/  engine command line: /' -e '2s/^/  engine working dir:  /'
    rm -f "$record"
    [ "$1" = yes ] || fail "the engine was started, where the launcher should only show its window"
  else
    echo "  the engine was not started"
    [ "$1" = no ] || fail "the engine was not started within 30 s"
  fi
}
run() {
  local code=0
  "$WINE64" "$bin/harness.exe" "$@" >"$demo/harness.out" || code=$?
  sed 's/^/  /' "$demo/harness.out"
  launcher_ended "$code"
}

echo "1. Whitelisted server, kelvra://player@play.kelvra.net:27961/ - no window:"
run 'kelvra://player@play.kelvra.net:27961/'
show_engine_start yes

echo "2. Other server, \"kelvra://arena.example.org:27962/join\" - the window:"
code=0 && shoot "$demo/main-window.png" '"kelvra://arena.example.org:27962/join"' || code=$?
sed 's/^/  /' "$demo/harness.out"
launcher_ended "$code"
echo "  screenshot: $demo/main-window.png (closed without launching)"
show_engine_start no

echo "3. The same link, Launch pressed in the window:"
run --command IDC_LAUNCH '"kelvra://arena.example.org:27962/join"'
show_engine_start yes
