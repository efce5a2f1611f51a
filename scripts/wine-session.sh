# Sourced: a Wine prefix (KELVRA_PREFIX, by default build/wineprefix), a
# persistent wineserver and an Xvfb display, all ended on exit. Also defines
# windows_path and stage_engine, and takes can_run_32bit and runnable_width
# from width.sh.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${KELVRA_PREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono, no Gecko, and no menu entries or icons written into this
# machine's own desktop for what a test installs.
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
export LANG=C.UTF-8 LC_ALL=C.UTF-8

source "$root/scripts/width.sh"

# windows_path PATH: a Linux path as Windows programs see it, on Wine's Z: drive.
windows_path() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }

# stage_engine STUB ENTRY: what a user sets up before the first link, with
# STUB standing in for the engine: the engine location and one whitelisted
# server.
stage_engine() {
  local key='HKCU\Software\tQr\kelvra launcher' folder="$WINEPREFIX/drive_c/Games/Quake III Arena"
  mkdir -p "$folder" && cp "$1" "$folder/quake3.exe"
  /usr/lib/wine/wine64 reg delete "$key" /f >/dev/null 2>&1 || true
  /usr/lib/wine/wine64 reg add "$key" /v enginepath /d 'C:\Games\Quake III Arena\quake3.exe' /f >/dev/null 2>&1 &&
    /usr/lib/wine/wine64 reg add "$key\\whitelist" /v address0 /d "$2" /f >/dev/null 2>&1
}

display=90
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"

end_wine_session() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
}
trap end_wine_session EXIT

for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
# Boots the prefix (creating it the first time) so that Wine's own service
# processes start here, detached from the test runner's output pipes.
# The 64-bit loader: it works whether or not this kernel can run i386
# programs (Debian's plain wineboot goes through the 32-bit one).
/usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1
# Debian's Wine leaves its own fonts (Tahoma, and Marlett for the caption
# buttons) out of the prefix; without them the buttons draw as "0 1 r".
cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
# No window manager runs on the virtual display. Wine then draws the window
# frames itself, and hiding a window no longer waits 2 s for a manager that
# never answers.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
