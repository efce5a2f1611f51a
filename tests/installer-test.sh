#!/bin/bash
# bash tests/installer-test.sh PACKAGE_TREE [RUN_TREE]: the package of the i686 tree PACKAGE_TREE under Wine's
# msiexec in a fresh prefix, per machine (a link opened through the shell) and per user, each uninstalled, an older
# package replaced; one line per check. RUN_TREE (by default PACKAGE_TREE) gives the shell and the engine.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd) tree=$(cd "$1" && pwd) run=$(cd "${2:-$1}" && pwd)
bash "$root/scripts/install-deps.sh" wixl
cmake "$tree" >/dev/null && cmake --build "$tree" --target release >/dev/null &&
  cmake "$run" >/dev/null && cmake --build "$run" --target launcher stub_engine >/dev/null || exit 1
package=$(ls "$(sed -n 's/^KELVRA_RELEASE_DIR:PATH=//p' "$tree/CMakeCache.txt")"/kelvra-launcher-*.msi) || exit 1
version=${package##*-} version=${version%.msi} prefix="$tree/installer-prefix"
rm -rf "$prefix"
source "$root/scripts/wine-session.sh" && trap end_wine_session EXIT && start_wine_session "$prefix"
drive="$prefix/drive_c" failures=0
check() { # TITLE COMMAND...
  if "${@:2}"; then echo "ok   $1${took:+ ($took)}"; else echo "FAIL $1"; failures=$((failures + 1)); fi; took=
}
msi() { # ARGUMENTS...: Wine's msiexec, silent and timed
  local start=${EPOCHREALTIME/./}
  "$WINE64" msiexec "$@" /qn </dev/null >/dev/null 2>&1 && took="$(((${EPOCHREALTIME/./} - start) / 1000)) ms"
}
reads() { # KEY NAME TEXT: the key's text value NAME ('' the default one) is TEXT, in the 32-bit view
  local name=(/v "$2"); [ -z "$2" ] && name=(/ve)
  "$WINE64" reg query "$1" "${name[@]}" /reg:32 2>/dev/null | tr -d '\r' | grep -xF "    ${2:-(Default)}    REG_SZ    $3" >/dev/null
}
scheme() { # ROOT PROGRAM
  local key="$1\\Software\\Classes\\kelvra"
  reads "$key" '' 'URL:Kelvra game server' && reads "$key" 'URL Protocol' '' &&
    reads "$key\\DefaultIcon" '' "\"$2\",0" && reads "$key\\shell\\open\\command" '' "\"$2\" \"%1\""
}
entry() { # VERSION: the fresh prefix's installed-programs list holds this product only, of VERSION ('': none)
  [ "$("$WINE64" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s /reg:32 2>/dev/null | tr -d '\r' |
    awk -F'    ' '$2 ~ /^(DisplayName|DisplayVersion|Publisher)$/ { printf "%s|", $4 }')" = "${1:+URL Kelvra launcher|$1|tQr|}" ]
}
machine_state() { # HKEY_LOCAL_MACHINE less Windows Installer's own records (a failed export never compares
  # equal), Program Files, ProgramData
  "$WINE64" reg export 'HKLM\Software' "$(windows_path "$prefix/machine.reg")" /y >/dev/null 2>&1 ||
    echo "no export $EPOCHREALTIME"
  iconv -f UTF-16LE -t UTF-8 "$prefix/machine.reg" | tr -d '\r' | awk -v RS= '!/^\[[^]]*\\(Installer|Uninstall)[]\\]/'
  find "$drive"/Program* | sort
}
shortcut() { find "$drive" -name 'URL Kelvra launcher.lnk' | grep -q .; }
link='kelvra://player@192.0.2.10:27961/'
# The shell opens the link as for a browser (ShellExecuteEx): the package's 32-bit one, or the 64-bit one where the
# classes are copied over; then the launcher's exit code (an emulated launcher takes a minute to end).
start='C:\windows\syswow64\start.exe' && [ "$run" != "$tree" ] && start=start
opens() { timeout 300 "$WINE64" "$start" /wait "$link" </dev/null >/dev/null 2>&1; }
# The engine and the whitelisted server a user stored before installing.
stage_engine "$run/bin/stub_engine.exe" 192.0.2.10 || exit 1
user_folder="$("$WINE64" cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')\\Programs\\Kelvra launcher"
# scope: title, msiexec properties, registry root, program folder, where Windows Installer keeps the product
scopes=("per-machine|ALLUSERS=1|HKLM|C:\\Program Files (x86)\\Kelvra launcher|HKLM\\Software\\Classes"
        "per-user||HKCU|$user_folder|HKCU\\Software\\Microsoft")
for scope in "${scopes[@]}"; do
  IFS='|' read -r title properties hive folder installer <<<"$scope"
  program="$folder\\launcher.exe" file=$(sed "s|^C:|$drive|; s|\\\\|/|g" <<<"$folder\\launcher.exe")
  [ "$hive" = HKCU ] && before=$(machine_state)
  check "$title: install" msi /i "$(windows_path "$package")" $properties
  check "$title: program in $folder" cmp -s "$tree/bin/launcher.exe" "$file"
  check "$title: scheme: name, URL Protocol, icon, open command" scheme "$hive" "$program"
  check "$title: Start menu shortcut" shortcut
  check "$title: installed-programs entry: name, version, publisher, icon" eval 'entry "$version" &&
    "$WINE64" reg query "$installer\\Installer\\Products" /s 2>/dev/null | grep ProductIcon >/dev/null'
  if [ "$hive" = HKLM ]; then
    # Windows shares the classes between its 32- and 64-bit views; Wine keeps the package's in the 32-bit view,
    # where a 64-bit shell does not look: copied over as written; where no 32-bit program starts, RUN_TREE's stands in.
    classes='HKLM\Software\Classes\kelvra' && [ "$run" != "$tree" ] &&
      "$WINE64" reg export "$classes" "$(windows_path "$prefix/k.reg")" /reg:32 /y >/dev/null 2>&1 &&
      "$WINE64" reg import "$(windows_path "$prefix/k.reg")" /reg:64 >/dev/null 2>&1 && ! starts_32bit &&
      cp "$run/bin/launcher.exe" "$file" &&
      echo "note $title: the installed launcher replaced by $run/bin/launcher.exe to follow the registration"
    rm -f "$record"
    check "$title: the shell opens $link" opens
    check "$title: the whitelisted server's engine started in its folder" engine_started 192.0.2.10:27961 10
    [ "$run" = "$tree" ] || "$WINE64" reg delete "$classes" /reg:64 /f >/dev/null 2>&1
  else
    check "$title: nothing written under HKEY_LOCAL_MACHINE or Program Files" [ "$(machine_state)" = "$before" ]
  fi
  check "$title: uninstall" msi /x "$(windows_path "$package")"
  check "$title: program, shortcut, scheme, installed-programs entry gone" eval '[ ! -e "$file" ] && ! shortcut &&
    ! "$WINE64" reg query "$hive\\Software\\Classes\\kelvra" /reg:32 >/dev/null 2>&1 && entry ""'
  [ "$hive" = HKLM ] && check "$title: the shell no longer opens the link" eval '! opens'
  check "$title: settings and whitelist kept" eval 'reads "$settings_key" enginepath "$engine_folder\\quake3.exe" &&
    reads "$settings_key\\whitelist" address0 192.0.2.10'
done
sh "$root/packaging/wixl.sh" wixl "$prefix/older.msi" "$root/packaging/kelvra-launcher.wxs" "$tree/bin/launcher.exe" \
  "$root/resources/icon/launcher.ico" "$root/LICENSE" 1.0.0 "$(cat /proc/sys/kernel/random/uuid)" "$(cat /proc/sys/kernel/random/uuid)" \
  "${settings_key#HKCU\\}"
older=$(windows_path "$prefix/older.msi") new=$(windows_path "$package") log="$prefix/refused.log"
IFS='|' read -r _ _ _ folder _ <<<"${scopes[0]}" # the per-machine folder
check "older package 1.0.0 for all users, then this one per user: refused, the older one and its scheme kept" eval \
  'msi /i "$older" ALLUSERS=1 && ! msi /i "$new" /l*v "$(windows_path "$log")" &&
    grep -q "LaunchConditions. Return value 0" "$log" && entry 1.0.0 && scheme HKLM "$folder\\launcher.exe"'
check "then this one for all users: one product installed, $version; uninstall" eval \
  'msi /i "$new" ALLUSERS=1 && entry "$version" && msi /x "$new" && entry ""'
check "older package 1.0.0 per user, then this one: one product installed, $version" eval \
  'msi /i "$older" && entry 1.0.0 && msi /i "$new" && entry "$version"'
check "uninstall" eval 'msi /x "$new" && entry ""'
[ "$failures" = 0 ] || { echo "$failures installer checks failed"; exit 1; }
