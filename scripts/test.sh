#!/bin/bash
# The test command: installs what is missing, runs cppcheck, builds both widths and runs every test, in
# the order and on each kind of machine that docs/testing.md describes.
# --toolchain: only the steps whose outcome the toolchain decides (no browsers, no game; no emulated
# i686 build), as the Debian 13 pass runs them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd) toolchain_only=''
[ "${1:-}" != --toolchain ] || toolchain_only=yes
step() { printf '[%d:%02d] %s\n' $((SECONDS / 60)) $((SECONDS % 60)) "$*"; } # a step's heading, timed
source "$root/scripts/wine-session.sh"
desktop=(openarena xdg-utils iproute2 firefox-esr chromium xdotool) # the browsers' and the game's, at once
[ -z "$toolchain_only" ] || desktop=()
bash "$root/scripts/install-deps.sh" openssl unzip "${desktop[@]}"

step "static analysis"
# Every branch analysed: cppcheck 2.17 (Debian 13) otherwise limits them, and says so as a finding.
level=() && [[ $(cppcheck --help) = *--check-level* ]] && level=(--check-level=exhaustive)
cppcheck "${level[@]}" --enable=warning,style,performance,portability --inline-suppr \
  --suppressions-list="$root/tests/cppcheck.supp" --library=windows --platform=win32W -DUNICODE \
  -D_UNICODE -I "$root" -q --error-exitcode=1 "$root"/{app,launch,ui,i18n,base}

bash "$root/scripts/build.sh"
step "hardening of both programs"
bash "$root/tests/hardening.sh" "$root"/build/{i686,x86_64}/bin/launcher.exe
# Bash runs the EXIT trap also when INT or TERM ends the run (a trap of their own would wait for the step).
trap 'end_wine_session; end_i386_emulation' EXIT

# emulated_i686: the i686 build where 32-bit programs start only through the emulator registered for
# this run, each start taking about a minute: the in-process tests, the roads of the shipped program
# each once (ctest's roads) and the installed package's link opened through the shell. Their prefixes
# are copies of one booted under the registration, which gave it Wine's 32-bit half (minutes, once).
emulated_i686() {
  local i686="$root/build/i686" template="$root/build/i686/wineprefix-i386" passed=yes start=$SECONDS
  step "tests of the i686 build, emulated by qemu-i386-static: its in-process tests, each road of the program" \
    "once and the installed package's link; left out, as a 32-bit start takes about a minute: its other" \
    "end-to-end tests, and the heap-checked pass, browsers, real game and signed release (x86_64 below)"
  if [ ! -e "$template/booted" ]; then
    rm -rf "$template"
    (trap end_wine_session EXIT && start_wine_session "$template") &&
      [ -f "$template/drive_c/windows/syswow64/kernel32.dll" ] || fail "no 32-bit half in the prefix $template"
    touch "$template/booted"
  fi
  export KELVRA_WINE_TEMPLATE=$template
  # The engine is the 64-bit stub, so that only the launcher runs emulated: copied over the i686 tree's
  # own for this run, which is made again after it.
  cp "$root/build/x86_64/bin/stub_engine.exe" "$i686/bin/stub_engine.exe" && rm -rf "$i686/wineprefix-emulated"
  (trap end_wine_session EXIT && start_wine_session "$i686/wineprefix-emulated" &&
    ctest --test-dir "$i686" -R '^(parts|roads)$' --output-on-failure) || passed=
  rm "$i686/bin/stub_engine.exe" && cmake --build "$i686" --target stub_engine >/dev/null
  [ -n "$passed" ] || fail "the i686 build's tests failed, emulated"
  step "the Windows Installer package (32-bit), its link opened by the installed i686 launcher, emulated"
  bash "$root/tests/installer-test.sh" "$i686" "$root/build/x86_64"
  unset KELVRA_WINE_TEMPLATE
  echo "the i686 build's emulated steps took $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s"
}

widths=(i686 x86_64) installer_run=i686
if ! can_run_32bit; then
  widths=(x86_64) installer_run=x86_64
  [ -n "$toolchain_only" ] || bash "$root/scripts/install-deps.sh" qemu-user-static
  if [ -n "$toolchain_only" ]; then
    echo "SKIPPED: the i686 build's tests: 32-bit programs run here only emulated, which the Debian 12 pass does"
  elif start_i386_emulation; then
    emulated_i686
    end_i386_emulation
    installer_run=''
  else
    echo "SKIPPED: the i686 build's tests: 32-bit programs cannot run here, natively or emulated (that takes" \
      "root with CAP_SYS_ADMIN, binfmt_misc and qemu-i386-static); every step below runs the x86_64 build"
  fi
fi
start_wine_session "$root/build/wineprefix"
for width in "${widths[@]}"; do
  step "tests of the $width build"
  ctest --test-dir "$root/build/$width" --output-on-failure
done
heap_width=${widths[0]}

step "the portable zip as README says: unpacked, kelvra-url.reg edited and imported, a link opened"
tree=$root/build/$heap_width folder=$WINEPREFIX/drive_c/Games/Kelvra kind=win32
[ "$heap_width" = i686 ] || kind=linux-wine64
rm -rf "$folder" && mkdir -p "$folder"
unzip -qq "$root"/build/release/kelvra-*-$kind.zip -d "$folder"
sed -i 's/C:\\\\Path\\\\To/C:\\\\Games\\\\Kelvra/g' "$folder/kelvra-url.reg"
"$WINE64" reg import 'C:\Games\Kelvra\kelvra-url.reg' >/dev/null 2>&1 || fail "reg import"
# Wine's shell reads the machine's classes alone, where Windows merges the user's in: copied there.
"$WINE64" reg copy 'HKCU\Software\Classes\kelvra' 'HKLM\Software\Classes\kelvra' /s /f &>/dev/null
stage_engine "$tree/bin/stub_engine.exe" 192.0.2.10
"$WINE64" start /wait kelvra://192.0.2.10:27961/ </dev/null >/dev/null 2>&1 || true
engine_started 192.0.2.10:27961 60 || fail "no engine from the $kind zip's link"
for key in {HKCU,HKLM}'\Software\Classes\kelvra' "$settings_key"; do
  "$WINE64" reg delete "$key" /f &>/dev/null
done
step "a release without wixl: refused, naming it"
configure_tree i686 "$root/build/no-wixl" -DBUILD_TESTING=OFF -DWIXL=
! out=$(cmake --build "$root/build/no-wixl" --target release 2>&1) || fail "made without wixl"
grep -q "Debian's package wixl" <<<"$out" || fail "$out"

step "end-to-end tests of the $heap_width build with heap checking"
# grep reads all (no -q): Wine writing on after the match into a closed pipe would fail the pipeline.
if ! WINEDEBUG=warn+heap "$WINE64" "$tree/bin/heap_canary.exe" 2>&1 | grep ':heap:' >/dev/null; then
  echo "heap checking reports nothing for a double free: it is not on" >&2
  exit 1
fi
log="$tree/heap-check.log"
WINEDEBUG=warn+heap ctest --test-dir "$tree" -L end-to-end --output-on-failure -V >"$log" 2>&1 ||
  { tail -40 "$log"; exit 1; }
if grep ':heap:' "$log"; then
  echo "heap warnings in the end-to-end tests (all output: $log)" >&2
  exit 1
fi
echo "no heap warnings"

if [ -n "$installer_run" ]; then
  step "the Windows Installer package (32-bit), its links opened by the $installer_run launcher"
  bash "$root/tests/installer-test.sh" "$root/build/i686" "$root/build/$installer_run"
fi
if [ -z "$toolchain_only" ]; then
  step "real browsers: clicks on kelvra:// links in Firefox ESR and Chromium open the $heap_width launcher"
  bash "$root/tests/browsers.sh" "$root/build/$heap_width"
fi
step "the Debian package: lintian, apt, its links, removal; the per-user opener"
bash "$root/tests/debian-package.sh" "$root/build/x86_64"
if [ -z "$toolchain_only" ]; then
  step "a real game: the $heap_width launcher starts OpenArena, which joins a server on a loopback port"
  bash "$root/tests/real-game.sh" "$root/build/$heap_width"
fi
step "a release signed with a throwaway certificate"
bash "$root/tests/signed-release.sh"
step "the release again from another folder: the same bytes"
bash "$root/tests/same-release.sh"
[ -z "$toolchain_only" ] || { step "the toolchain's steps passed"; exit 0; }
end_wine_session
step "Debian 13 (trixie) in a fresh minimal root: the demo, then every step above but browsers and game"
bash "$root/tests/debian13.sh"
step "every step passed"
