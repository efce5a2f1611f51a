#!/bin/bash
# bash tests/debian-package.sh X86_64_TREE: the package, clean under lintian, installed with apt; in
# a fresh home and prefix with the stub engine and a whitelisted server, xdg-open and a click in
# Firefox, each with TMPDIR set, start the engine and the command alone shows the window; removed,
# the settings stay; the per-user opener refuses a missing WINEPREFIX and keeps one set (TMPDIR set
# too). Removed whatever fails.
set -euo pipefail
tree=$(cd "${1:?usage: debian-package.sh X86_64_TREE}" && pwd) && work="$tree/debian-package"
source "$(dirname "$0")/../scripts/browser-session.sh"
bash "$root/scripts/install-deps.sh" desktop-file-utils lintian firefox-esr xdotool xdg-utils \
  mount && cmake --build "$tree" --target release >/dev/null || fail "the release of $tree"
release=$(sed -n 's/^KELVRA_RELEASE_DIR:PATH=//p' "$tree/CMakeCache.txt")
deb=$(ls "$release"/kelvra-launcher_*_amd64.deb) &&
  lint=$(lintian "$deb" 2>/dev/null) && [ -z "$lint" ] || fail "lintian on $deb:"$'\n'"$lint"
echo "ok   lintian $(lintian --version | sed 's/.* v//'):" \
  "$(basename "$deb") ($(stat -c %s "$deb") B) clean"
rm -rf "$work" && mkdir -p "$work/tmp" && cd "$work" && fresh_home "$work/home"
trap end_wine_session EXIT && start_wine_session "$work/prefix" &&
  stage_engine "$tree/bin/stub_engine.exe" 127.0.0.1
link='kelvra://player@127.0.0.1:27963/join' apt=(apt-get -y -q -o DPkg::Lock::Timeout=300)
started() { engine_started 127.0.0.1:27963 60; } # a loaded machine takes long
known() { # in dpkg's records in any state but not-installed
  [[ $(dpkg-query -W -f='${db:Status-Status}' kelvra-launcher 2>/dev/null) != ?(not-installed) ]]
}
handler() { xdg-mime query default x-scheme-handler/kelvra; }
exec 9>/tmp/kelvra-launcher-package-test.lock && flock 9 # one run at a time has it installed
! known || fail "kelvra-launcher is installed already: this test installs and removes it itself"
trap 'close_browser; ! known || "${apt[@]}" purge kelvra-launcher >/dev/null
  [ ! -d "$HOME/.wine" ] || WINEPREFIX="$HOME/.wine" wineserver -k; end_wine_session' EXIT
(cd "$release" && DEBIAN_FRONTEND=noninteractive "${apt[@]}" install "./$(basename "$deb")" \
  >"$work/apt.log" 2>&1) || fail "apt-get install ($work/apt.log)"
[ "$(handler)" = kelvra-launcher.desktop ] || fail "kelvra links: no default handler"
ms() { echo "$((($(date +%s%N) - start) / 1000000)) ms"; } # since $start
# xdg-open in the background: it would wait on a window that the link should not open.
start=$(date +%s%N) && { TMPDIR=$work/tmp xdg-open "$link" >xdg-open.log 2>&1 & } && started ||
  fail "xdg-open: not the engine with the link's server ($work/xdg-open.log)"
echo "ok   xdg-open: the engine started $(ms) after it"
page "$link" && open_page firefox && start=$(click 0) && started || fail "Firefox: not the engine"
echo "ok   Firefox: the engine started $(ms) after a click" && close_browser
start=$(date +%s%N) && { kelvra-launcher >/dev/null 2>&1 & } &&
  window '^URL Kelvra launcher$' 30 >/dev/null || fail "kelvra-launcher alone: no window"
echo "ok   kelvra-launcher alone: the window $(ms) after it"
close_window '^URL Kelvra launcher$' && wait $! ||
  fail "kelvra-launcher alone: the window did not close"
# With no Wine to start it, as if wine64 were not installed: one line naming the package. Wine's
# loader is hidden by a bind mount in a mount namespace of the check's own, which a machine without
# mount rights (a container without CAP_SYS_ADMIN, a root entered with plain chroot) refuses: then
# skipped, saying why.
hide='mount --bind /dev/null "$2" && PATH=/usr/bin:/bin exec kelvra-launcher "$1"'
out=$(unshare -m sh -c "$hide" - "$link" "$WINE64" 2>&1) && fail "no Wine, yet it ran"
if [[ $out = @(unshare|mount):* ]]; then
  echo "SKIPPED: kelvra-launcher with no Wine: hiding Wine's loader takes mount rights" \
    "(${out%%$'\n'*})"
elif [ "$out" != "kelvra-launcher: no 64-bit Wine to start it: install the package wine64" ]; then
  fail "no Wine: $out"
fi
files=$(dpkg -L kelvra-launcher | while read -r path; do [ -d "$path" ] || echo "$path"; done)
"${apt[@]}" remove kelvra-launcher >"$work/apt.log" 2>&1 || fail "apt-get remove ($work/apt.log)"
[ "$(handler)" != kelvra-launcher.desktop ] || fail "removed, still the handler"
for file in $files; do [ ! -e "$file" ] || fail "removed, $file is left"; done
settings=$("$WINE64" reg query "$settings_key" /s 2>/dev/null | tr -d '\r')
grep -qF "$engine_folder\quake3.exe" <<<"$settings" &&
  grep -qE 'address0 .* 127\.0\.0\.1$' <<<"$settings" || fail "settings lost"
echo "ok   apt-get remove: the handler and the package's $(wc -w <<<"$files") files gone," \
  "the settings kept"
entry=("$root/packaging/install-desktop-entry.sh" "$tree/bin/launcher.exe") && touch stamp
out=$(WINEPREFIX="$work/none" sh "${entry[@]}" 2>&1) && fail "a missing WINEPREFIX, yet it ran"
new=$(find "$HOME" -newer stamp) && [ -z "$new" ] &&
  [ "$out" = "no such Wine prefix: WINEPREFIX=$work/none" ] ||
  fail "a missing WINEPREFIX: $out; written: $new"
sh "${entry[@]}" >/dev/null &&
  { env -u WINEPREFIX TMPDIR="$work/tmp" xdg-open "$link" & } && started ||
  fail "the per-user opener lost the prefix $WINEPREFIX"
echo "ok   the per-user opener refuses a missing WINEPREFIX, and keeps one for a link opened" \
  "without it"
