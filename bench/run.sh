#!/bin/bash
# Benchmarks the shipped i686 launcher (x86_64 where 32-bit programs cannot run) under Wine against programs that
# stand for its floor, and reports its size and imports. Prints a Markdown table and keeps it in bench/RESULTS.md.
#   bash bench/run.sh [RUNS [EARLIER-REVISION]]
# With a revision, that revision's launcher is timed in the same runs.
set -euo pipefail
runs=${1:-30}
before_revision=${2:-}
bash "$(dirname "$0")/../scripts/install-deps.sh" >/dev/null
source "$(dirname "$0")/../scripts/wine-session.sh"
width=$(runnable_width)
tree="$root/build/bench"
configure_tree "$width" "$tree/$width"
cmake --build "$tree/$width" -j2 --target launcher stub_engine driver floor_autostart floor_autostart_registry \
  floor_window floor_window_controls >/dev/null
bin="$tree/$width/bin"
if [ -n "$before_revision" ]; then
  rm -rf "$tree/before"
  mkdir -p "$tree/before/src"
  git -C "$root" archive "$before_revision" | tar -x -C "$tree/before/src"
  src="$tree/before/src" configure_tree "$width" "$tree/before/$width" -DBUILD_TESTING=OFF
  cmake --build "$tree/before/$width" -j2 --target launcher >/dev/null
fi

trap end_wine_session EXIT
start_wine_session "$tree/wineprefix"
if [ -n "$before_revision" ]; then
  KELVRA_BEFORE=$(windows_path "$tree/before/$width/bin/launcher.exe")
  export KELVRA_BEFORE
fi
stage_engine "$bin/stub_engine.exe" play.kelvra.net
export KELVRA_FLOOR_ENGINE="$engine_folder\\quake3.exe"

program="$bin/launcher.exe"
size=$(stat -c %s "$program")
imports=$($width-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p' | sort -f | paste -sd' ')
allowed=yes
for dll in $imports; do
  case "${dll^^}" in KERNEL32.DLL|ADVAPI32.DLL|MSVCRT.DLL) ;; *) allowed=no ;; esac
done

{
  echo "Machine: $(lscpu | sed -n 's/^Model name:\s*//p'), $(nproc) cores," \
    "$(free -g | awk '/^Mem:/ {print $2}') GiB, Debian $(cat /etc/debian_version), $("$WINE64" --version)," \
    "Xvfb, $(date -u +%Y-%m-%d)${before_revision:+; earlier build: $(git -C "$root" rev-parse --short "$before_revision")}."
  echo
  "$WINE64" "$bin/driver.exe" "$runs" | tr -d '\r'
  echo "| $([ $width = i686 ] && echo Shipped i686 program || echo "x86_64 program (not the shipped one)") | $size bytes ($((size / 1024)) KiB) | goal 131072 bytes (128 KiB) | $(awk "BEGIN {printf \"%.3f\", $size / 131072}") | $([ "$size" -le 131072 ] && echo met || echo MISSED) |"
  echo "| Load-time imports | $imports | KERNEL32, ADVAPI32, C runtime (USER32 delay-loaded) | | $([ $allowed = yes ] && echo met || echo MISSED) |"
} | tee "$root/bench/RESULTS.md"
