#!/bin/bash
# Installs what is missing, runs cppcheck, builds both widths and runs every
# test under Wine on a virtual display: the shipped i686 build first (where
# 32-bit programs can run), then x86_64; the end-to-end tests of the first
# of them once more with Wine's heap checking, failing on any heap warning;
# the Windows Installer package under Wine's msiexec; real clicks in two
# browsers; a real game joining a real server; last, a signed release.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh" wixl openarena xdg-utils iproute2 osslsigncode openssl unzip firefox-esr chromium \
  xdotool

echo "static analysis"
cppcheck --enable=warning,style,performance,portability --suppressions-list="$root/tests/cppcheck.supp" \
  --library=windows --platform=win32W -DUNICODE -D_UNICODE -I "$root" -q --error-exitcode=1 \
  "$root/app" "$root/launch" "$root/ui" "$root/i18n" "$root/base"

bash "$root/scripts/build.sh"
echo "hardening of both programs"
bash "$root/tests/hardening.sh" "$root"/build/{i686,x86_64}/bin/launcher.exe
source "$root/scripts/wine-session.sh"

widths=(i686 x86_64)
if ! can_run_32bit; then
  echo "SKIPPED: the i686 build's tests: 32-bit programs cannot run here (no IA32 emulation); every step below runs the x86_64 build"
  widths=(x86_64)
fi
for width in "${widths[@]}"; do
  echo "tests of the $width build"
  ctest --test-dir "$root/build/$width" --output-on-failure
done
heap_width=${widths[0]}

echo "the example link registration"
wine=/usr/lib/wine/wine64
tree="$root/build/$heap_width"
sed 's/C:\\\\Path\\\\To/C:\\\\Games\\\\Kelvra/g' "$root/packaging/kelvra-url.reg" >"$tree/kelvra-url.reg"
"$wine" reg import "$(windows_path "$tree/kelvra-url.reg")" >/dev/null 2>&1
command=$("$wine" reg query 'HKCU\Software\Classes\kelvra\shell\open\command' /ve 2>/dev/null | tr -d '\r')
protocol=$("$wine" reg query 'HKCU\Software\Classes\kelvra' /v 'URL Protocol' 2>/dev/null | tr -d '\r')
"$wine" reg delete 'HKCU\Software\Classes\kelvra' /f >/dev/null 2>&1
if ! grep -qF '"C:\Games\Kelvra\launcher.exe" "%1"' <<<"$command" || ! grep -q 'URL Protocol' <<<"$protocol"; then
  echo "the example .reg file does not register the command it should:" >&2
  echo "$command" >&2
  exit 1
fi

echo "end-to-end tests of the $heap_width build with heap checking"
if ! WINEDEBUG=warn+heap "$wine" "$tree/bin/heap_canary.exe" 2>&1 | grep -q ':heap:'; then
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

echo "the Windows Installer package (32-bit), its links opened by the $heap_width launcher"
bash "$root/tests/installer-test.sh" "$root/build/i686" "$tree"
echo "real browsers: clicks on kelvra:// links in Firefox ESR and Chromium open the $heap_width launcher"
bash "$root/tests/browsers.sh" "$root/build/$heap_width"
echo "the Debian package: lintian, installed with apt, links through its desktop entry, removed; the per-user opener"
bash "$root/tests/debian-package.sh" "$root/build/x86_64"
echo "a real game: the $heap_width launcher starts OpenArena, which joins a server on a loopback port"
bash "$root/tests/real-game.sh" "$root/build/$heap_width"
echo "a release signed with a throwaway certificate"
bash "$root/tests/signed-release.sh"
