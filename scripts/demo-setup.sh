# Sourced by the demo and the screenshot script, which install what the build
# needs first. demo_setup builds the launcher, the harness and the stub
# engine, starts a Wine session with its own prefix in build/demo (the caller
# ends it with end_wine_session), puts the stub engine where a user's engine
# would be, and stores the launcher's settings with one whitelisted server.
source "$(dirname "${BASH_SOURCE[0]}")/wine-session.sh"
demo="$root/build/demo"

demo_setup() {
  # The shipped 32-bit program where it runs natively (emulated, the demo
  # would take about five minutes); the harness and the stub engine of the
  # same build.
  width=$(runnable_width)
  tree="$root/build/$width"
  bin="$tree/bin"
  configure_tree "$width" "$tree"
  cmake --build "$tree" -j2 --target launcher harness stub_engine >/dev/null
  mkdir -p "$demo"
  start_wine_session "$demo/wineprefix"
  stage_engine "$bin/stub_engine.exe" play.kelvra.net:27961
}

# shoot PICTURE HARNESS-ARGUMENTS...: runs the harness, takes a picture of the screen once the main
# window is shown, then lets it close the window; the launcher's exit code. A window not shown within
# 30 s fails in one line, with no picture taken.
shoot() {
  local picture=$1 harness
  shift
  rm -f "$demo/shot-taken" "$picture"
  "$WINE64" "$bin/harness.exe" --close-when "$(windows_path "$demo/shot-taken")" "$@" >"$demo/harness.out" &
  harness=$!
  wait_for 30 grep -qs 'window shown' "$demo/harness.out" ||
    fail "no launcher window within 30 s (the launcher crashed or hung): no picture taken"
  sleep 1 # let the windows paint before the picture
  import -window root "$demo/screen.png"
  convert "$demo/screen.png" -trim +repage "$picture"
  touch "$demo/shot-taken"
  wait "$harness"
}
