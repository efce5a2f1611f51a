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

show_engine_start() {
  if [ -f "$record" ]; then
    { engine_record; echo; } |
      sed -e '1s/^/  engine command line: /' -e '2s/^/  engine working dir:  /'
  else
    echo "  the engine was not started"
  fi
  rm -f "$record"
}
run() { "$WINE64" "$bin/harness.exe" "$@" | sed 's/^/  /'; }

echo "1. Whitelisted server, kelvra://player@play.kelvra.net:27961/ - no window:"
run 'kelvra://player@play.kelvra.net:27961/'
show_engine_start

echo "2. Other server, \"kelvra://arena.example.org:27962/join\" - the window:"
shoot "$demo/main-window.png" '"kelvra://arena.example.org:27962/join"'
sed 's/^/  /' "$demo/harness.out"
echo "  screenshot: $demo/main-window.png (closed without launching)"
show_engine_start

echo "3. The same link, Launch pressed in the window:"
run --command IDC_LAUNCH '"kelvra://arena.example.org:27962/join"'
show_engine_start
