#!/bin/bash
# Installs what is missing, runs cppcheck, builds both widths and runs every
# test under Wine on a virtual display, then the end-to-end tests once more
# with Wine's heap checking, failing on any heap warning.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"

echo "static analysis"
cppcheck --enable=warning,style,performance,portability --suppressions-list="$root/tests/cppcheck.supp" \
  --library=windows --platform=win32W -DUNICODE -D_UNICODE -I "$root" -q --error-exitcode=1 \
  "$root/app" "$root/launch" "$root/ui" "$root/i18n"

bash "$root/scripts/build.sh"
export KELVRA_BUILD="$root/build/x86_64"
source "$root/scripts/wine-session.sh"
ctest --test-dir "$KELVRA_BUILD" --output-on-failure

echo "the example link registration"
wine=/usr/lib/wine/wine64
sed 's/C:\\\\Path\\\\To/C:\\\\Games\\\\Kelvra/g' "$root/packaging/kelvra-url.reg" >"$KELVRA_BUILD/kelvra-url.reg"
"$wine" reg import 'Z:'"${KELVRA_BUILD//\//\\}"'\kelvra-url.reg' >/dev/null 2>&1
command=$("$wine" reg query 'HKCU\Software\Classes\kelvra\shell\open\command' /ve 2>/dev/null | tr -d '\r')
protocol=$("$wine" reg query 'HKCU\Software\Classes\kelvra' /v 'URL Protocol' 2>/dev/null | tr -d '\r')
"$wine" reg delete 'HKCU\Software\Classes\kelvra' /f >/dev/null 2>&1
if ! grep -qF '"C:\Games\Kelvra\launcher.exe" "%1"' <<<"$command" || ! grep -q 'URL Protocol' <<<"$protocol"; then
  echo "the example .reg file does not register the command it should:" >&2
  echo "$command" >&2
  exit 1
fi

echo "end-to-end tests with heap checking"
if ! WINEDEBUG=warn+heap /usr/lib/wine/wine64 "$KELVRA_BUILD/bin/heap_canary.exe" 2>&1 | grep -q ':heap:'; then
  echo "heap checking reports nothing for a double free: it is not on" >&2
  exit 1
fi
log="$KELVRA_BUILD/heap-check.log"
WINEDEBUG=warn+heap ctest --test-dir "$KELVRA_BUILD" -L end-to-end --output-on-failure -V >"$log" 2>&1 ||
  { tail -40 "$log"; exit 1; }
if grep ':heap:' "$log"; then
  echo "heap warnings in the end-to-end tests (all output: $log)" >&2
  exit 1
fi
echo "no heap warnings"
