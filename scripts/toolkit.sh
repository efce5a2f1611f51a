# Sourced: the helpers the scripts and tests share. Sourcing it defines them and does nothing else.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd) # the repository's
settings_key='HKCU\Software\tQr\kelvra launcher'

# Wine's loaders as Debian installs them, neither on PATH: the 64-bit one starts 64-bit programs and hands
# 32-bit ones to the 32-bit one, an i386 Linux program that only a kernel with IA32 support (or an
# emulator registered for it) can start.
WINE64=/usr/lib/wine/wine64
WINE32=/usr/lib/wine/wine

# fail TEXT...: says FAIL and TEXT on the standard error and ends the script.
fail() { echo "FAIL $*" >&2; exit 1; }

# configure_tree WIDTH TREE [CMAKE-ARGUMENTS...]: a build tree for i686 or x86_64 of the repository (of the
# sources in $src where that is set).
configure_tree() {
  cmake --no-warn-unused-cli -S "${src:-$root}" -B "$2" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$1.cmake" "${@:3}" \
    >/dev/null
}

# fresh_home FOLDER: HOME and the XDG folders in FOLDER, on a desktop that has no opener of its own.
fresh_home() {
  export HOME=$1 XDG_DATA_HOME=$1/.local/share XDG_CONFIG_HOME=$1/.config XDG_CURRENT_DESKTOP=X-Generic
  mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
}

# poll STEP SECONDS COMMAND...: runs COMMAND every STEP seconds until it succeeds; fails after SECONDS.
poll() {
  local step=$1 end=$((SECONDS + $2))
  shift 2
  until "$@"; do [ $SECONDS -lt $end ] || return 1; sleep "$step"; done
}

# wait_for SECONDS COMMAND...: polls the command ten times a second, for SECONDS at most.
wait_for() { poll 0.1 "$@"; }

# wait_file SECONDS PATH: waits for the file, looking every 20 ms (its arrival is timed).
wait_file() { poll 0.02 "$1" test -f "$2"; }

# window TITLE SECONDS: a visible window whose title matches (xdotool), once there is one; SECONDS 0 looks
# once. A search fails when a window it looks at goes away meanwhile: that counts as not found yet.
window() {
  local title=$1 id
  poll 0.1 "$2" window_found && echo "$id"
}
window_found() { id=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -1) && [ -n "$id" ]; }

# windows_path PATH: a Linux path as Windows programs see it, on Wine's Z: drive.
windows_path() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }
