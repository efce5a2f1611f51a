# Sourced: start_wine_session starts a Wine prefix's persistent wineserver and an Xvfb display, and
# end_wine_session ends them; also the staged engine and its record, and the toolkit and width.sh.
source "$(dirname "${BASH_SOURCE[0]}")/width.sh"

# start_wine_session PREFIX: Wine's environment for the prefix PREFIX, its wineserver kept running, and
# an Xvfb display of its own. The caller ends them with end_wine_session. A new PREFIX is made by
# booting it, or is a copy of KELVRA_WINE_TEMPLATE where that names a booted prefix: one with Wine's
# 32-bit half takes minutes to boot where 32-bit programs run emulated.
start_wine_session() {
  [ -e "$1" ] || [ -z "${KELVRA_WINE_TEMPLATE:-}" ] || cp -a "$KELVRA_WINE_TEMPLATE" "$1" || return 1
  export WINEPREFIX=$1 WINEDEBUG="${WINEDEBUG:--all}"
  unset TMPDIR # as the package's command and the opener start Wine: Debian 13's stops where it is set
  # No Mono, no Gecko, and no menu entries or icons written into this
  # machine's own desktop for what a test installs.
  export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
  local display=90
  while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display"
  wait_for 10 test -e "/tmp/.X11-unix/X$display" || { echo "Xvfb did not start on :$display" >&2; return 1; }
  mkdir -p "$WINEPREFIX" && wine_session_prefix=$WINEPREFIX
  wineserver -p </dev/null >/dev/null 2>&1
  # Boots the prefix (creating it the first time) so that Wine's own service
  # processes start here, detached from the test runner's output pipes.
  # The 64-bit loader: it works whether or not this kernel can run i386
  # programs (Debian's plain wineboot goes through the 32-bit one).
  "$WINE64" wineboot </dev/null >/dev/null 2>&1
  # Debian's Wine leaves its own fonts (Tahoma, and Marlett for the caption
  # buttons) out of the prefix; without them the buttons draw as "0 1 r".
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # No window manager runs on the virtual display. Wine then draws the window
  # frames itself, and hiding a window no longer waits 2 s for a manager that
  # never answers.
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
}

# end_wine_session: ends what start_wine_session started, if anything (the wineserver of its own prefix).
end_wine_session() {
  [ -z "${wine_session_prefix:-}" ] || WINEPREFIX=$wine_session_prefix wineserver -k 2>/dev/null || true
  [ -z "${xvfb_pid:-}" ] || { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; } || true
  wine_session_prefix='' xvfb_pid=''
}

# stage_engine STUB ENTRY: what a user sets up before the first link, with STUB standing in for the engine: the
# engine location and one whitelisted server. The stub writes its record to $record, in the prefix.
engine_folder='C:\Games\Quake III Arena'
stage_engine() {
  local folder="$WINEPREFIX/drive_c/Games/Quake III Arena"
  mkdir -p "$folder" && cp "$1" "$folder/quake3.exe"
  record=$WINEPREFIX/engine-record.txt && rm -f "$record"
  export KELVRA_STUB_RECORD && KELVRA_STUB_RECORD=$(windows_path "$record")
  "$WINE64" reg delete "$settings_key" /f >/dev/null 2>&1 || true
  "$WINE64" reg add "$settings_key" /v enginepath /d "$engine_folder\\quake3.exe" /f >/dev/null 2>&1 &&
    "$WINE64" reg add "$settings_key\\whitelist" /v address0 /d "$2" /f >/dev/null 2>&1
}

# engine_record: what the stub engine recorded, its command line and working directory on two lines.
engine_record() { iconv -f UTF-16LE -t UTF-8 "$record"; }

# engine_started ADDRESS SECONDS: within SECONDS the staged engine was started in its folder, connecting to ADDRESS
# (its path quoted, for its blanks); the record is then removed for the next link.
engine_started() {
  wait_file "$2" "$record" || return 1
  local line="\"$engine_folder\\quake3.exe\" +set fs_game kelvra +connect \"$1\""
  [ "$(engine_record 2>/dev/null)" = "$line"$'\n'"$engine_folder" ] && rm -f "$record"
}
