# Sourced by the demo and the screenshot script: builds the launcher, the
# harness and the stub engine, starts a Wine session with its own prefix in
# build/demo, puts the stub engine where a user's engine would be, and
# stores the launcher's settings with one whitelisted server.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/install-deps.sh"
source "$root/scripts/width.sh"
# The shipped 32-bit program where it can run; the harness and the stub
# engine of the same build.
width=$(runnable_width)
tree="$root/build/$width"
cmake --no-warn-unused-cli -S "$root" -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$width.cmake" >/dev/null
cmake --build "$tree" -j2 --target launcher harness stub_engine >/dev/null

demo="$root/build/demo"
mkdir -p "$demo"
export KELVRA_PREFIX="$demo/wineprefix"
source "$root/scripts/wine-session.sh"
wine=/usr/lib/wine/wine64
bin="$tree/bin"
record="$demo/engine-record.txt"
export KELVRA_STUB_RECORD
KELVRA_STUB_RECORD=$(windows_path "$record")
rm -f "$record"

stage_engine "$bin/stub_engine.exe" play.kelvra.net:27961

# shoot PICTURE HARNESS-ARGUMENTS...: runs the harness, takes a picture of
# the screen once the main window is shown, then lets it close the window.
shoot() {
  local picture=$1 harness
  shift
  rm -f "$demo/shot-taken"
  "$wine" "$bin/harness.exe" --close-when "$(windows_path "$demo/shot-taken")" "$@" >"$demo/harness.out" &
  harness=$!
  for _ in $(seq 300); do grep -q 'window shown' "$demo/harness.out" 2>/dev/null && break; sleep 0.1; done
  sleep 1 # let the windows paint before the picture
  import -window root "$demo/screen.png"
  convert "$demo/screen.png" -trim +repage "$picture"
  touch "$demo/shot-taken"
  wait "$harness" || true
}
