#!/bin/bash
# bash tests/installer-test.sh PACKAGE_TREE [RUN_TREE]: the package of the i686 tree PACKAGE_TREE
# under Wine's msiexec in a fresh prefix, per machine (a link opened through the shell) and per
# user, each over another package, then uninstalled; before that, its tables by the rules Wine lets
# pass. RUN_TREE (or PACKAGE_TREE) runs the shell.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd) tree=$(cd "$1" && pwd) run=$(cd "${2:-$1}" && pwd)
bash "$root/scripts/install-deps.sh"
cmake "$tree" >/dev/null && cmake --build "$tree" --target release >/dev/null &&
  cmake "$run" >/dev/null && cmake --build "$run" --target launcher stub_engine >/dev/null || exit 1
release=$(sed -n 's/^KELVRA_RELEASE_DIR:PATH=//p' "$tree/CMakeCache.txt")
package=$(ls "$release"/kelvra-launcher-*.msi) || exit 1
version=${package##*-} version=${version%.msi} prefix="$tree/installer-prefix" failures=0
check() { # TITLE COMMAND...
  if "${@:2}"; then echo "ok   $1${took:+ ($took)}"; else
    echo "FAIL $1"; failures=$((failures + 1))
  fi
  took=
}
rows() { # TABLE...
  for t; do msiinfo export "$package" "$t" | tail -n +4 | sed "s/^/$t\t/; s/\r$//"; done
}
# Windows Installer's rules that Wine lets pass: RULE|TABLES|awk on their rows (after the table's
# name), true if kept
profile='$1 == "Directory" { up[$2] = $3 } function mine(d) { # in the profile
  while (d in up) if ((d = up[d]) == "LocalAppDataFolder") return 1 }'
rules=('RemoveExistingProducts between InstallValidate and InstallInitialize|InstallExecuteSequence|
    { s[$2] = $4 } END { r = s["RemoveExistingProducts"]
      exit !(s["InstallValidate"] < r && r < s["InstallInitialize"]) }'
  'file versioning: launcher.exe of version 1.2.11.0|File|
    $4 == "launcher.exe" { n += $6 == "1.2.11.0" } END { exit n != 2 }'
  'ICE38|Directory Registry Component|$1 == "Registry" { u[$2] = $3 == 1 }
    $1 == "Component" && mine($4) { n += $5 % 8 < 4 || !u[$7] } END { exit n }'
  'ICE64|Directory RemoveFile|$1 == "RemoveFile" && $4 == "" { gone[$5] }
    END { for (d in up) n += mine(d) && !(d in gone); exit n }'
  'ARPNOMODIFY|Property|$2 == "ARPNOMODIFY" && $3 != "" { ok = 1 } END { exit !ok }'
  'Upgrade table: to this version replaced, a newer refused|Upgrade|
    $4 == version && $6 % 1024 > 511 && $6 % 4 < 2 { u = 1 }
    $3 == version && $4 == "" && $6 % 4 > 1 && $6 % 512 < 256 { d = 1 } END { exit !(u && d) }')
for rule in "${rules[@]}"; do
  IFS='|' read -rd '' name tables program <<<"$rule"
  check "$name" eval 'rows $tables | awk -F "\t" -v version="$version" "$profile $program"'
done
rm -rf "$prefix"
source "$root/scripts/wine-session.sh" && trap end_wine_session EXIT && start_wine_session "$prefix"
drive="$prefix/drive_c" log="$prefix/msi.log"
msi() { # ARGUMENTS...: Wine's msiexec, silent, logged and timed
  local start=${EPOCHREALTIME/./}
  "$WINE64" msiexec "$@" /qn /l*v "$(windows_path "$log")" </dev/null >/dev/null 2>&1 &&
    took="$(((${EPOCHREALTIME/./} - start) / 1000)) ms"
}
refused() { # ARGUMENTS...: by a launch condition
  ! msi "$@" && grep -aq 'LaunchConditions. Return value 0' "$log"
}
reads() { # KEY NAME TEXT: the text value NAME ('' the default one) is TEXT, in the 32-bit view
  local name=(/v "$2"); [ -z "$2" ] && name=(/ve)
  "$WINE64" reg query "$1" "${name[@]}" /reg:32 2>/dev/null | tr -d '\r' |
    grep -xF "    ${2:-(Default)}    REG_SZ    $3" >/dev/null
}
scheme() { # ROOT PROGRAM
  local key="$1\\Software\\Classes\\kelvra"
  reads "$key" '' 'URL:Kelvra game server' && reads "$key" 'URL Protocol' '' &&
    reads "$key\\DefaultIcon" '' "\"$2\",0" && reads "$key\\shell\\open\\command" '' "\"$2\" \"%1\""
}
entry() { # VERSION: the prefix's installed programs are this product alone, of VERSION ('': none)
  local key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
  [ "$("$WINE64" reg query "$key" /s /reg:32 2>/dev/null | tr -d '\r' |
    awk -F'    ' '$2 ~ /^(DisplayName|DisplayVersion|Publisher)$/ { printf "%s|", $4 }')" = \
    "${1:+URL Kelvra launcher|$1|tQr|}" ]
}
# machine_state: HKEY_LOCAL_MACHINE less Windows Installer's own records (a failed export never
# compares equal), Program Files, ProgramData
machine_state() {
  "$WINE64" reg export 'HKLM\Software' "$(windows_path "$prefix/machine.reg")" /y >/dev/null 2>&1 ||
    echo "no export $EPOCHREALTIME"
  iconv -f UTF-16LE -t UTF-8 "$prefix/machine.reg" | tr -d '\r' |
    awk -v RS= '!/^\[[^]]*\\(Installer|Uninstall)[]\\]/'
  find "$drive"/Program* | sort
}
shortcut() { find "$drive" -name 'URL Kelvra launcher.lnk' | grep -q .; }
link='kelvra://player@192.0.2.10:27961/'
# The shell opens the link as for a browser (ShellExecuteEx): the package's 32-bit one, or the
# 64-bit one where the classes are copied over; then the launcher's exit code (an emulated launcher
# takes a minute to end).
start='C:\windows\syswow64\start.exe' && [ "$run" != "$tree" ] && start=start
opens() { timeout 300 "$WINE64" "$start" /wait "$link" </dev/null >/dev/null 2>&1; }
# The engine and the whitelisted server a user stored before installing.
stage_engine "$run/bin/stub_engine.exe" 192.0.2.10 || exit 1
user_folder=$("$WINE64" cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
user_folder+='\Programs\Kelvra launcher'
# Another program of the same version record (as every release has), packed as another version or
# product
cp "$tree/bin/launcher.exe" "$prefix/older.exe" && echo >>"$prefix/older.exe"
older=$(windows_path "$prefix/older.msi") new=$(windows_path "$package")
# scope: title, msiexec properties, registry root, program folder, where Windows Installer keeps the
# product, the older package's version (this one: another package of it), the other scope's
# properties
machine_folder='C:\Program Files (x86)\Kelvra launcher'
scopes=("per-machine|ALLUSERS=1|HKLM|$machine_folder|HKLM\\Software\\Classes|1.0.0|"
        "per-user||HKCU|$user_folder|HKCU\\Software\\Microsoft|$version|ALLUSERS=1")
for scope in "${scopes[@]}"; do
  IFS='|' read -r title properties hive folder installer older_version other <<<"$scope"
  program="$folder\\launcher.exe" file=$(sed "s|^C:|$drive|; s|\\\\|/|g" <<<"$folder\\launcher.exe")
  [ "$hive" = HKCU ] && before=$(machine_state)
  sh "$root/packaging/wixl.sh" wixl "$prefix/older.msi" "$root/packaging/kelvra-launcher.wxs" \
    "$prefix/older.exe" "$root/resources/icon/launcher.ico" "$root/LICENSE" "$older_version" \
    $(cat /proc/sys/kernel/random/uuid{,}) "${settings_key#HKCU\\}"
  over="a package $older_version of another program; this one ${other:-per user} over it"
  check "$title: $over: refused" eval \
    'msi /i "$older" $properties && refused /i "$new" $other && entry "$older_version"'
  check "$title: this one over it" msi /i "$new" $properties
  check "$title: this one again ${other:-per user}: refused (then all kept)" \
    refused /i "$new" $other
  check "$title: the new program in $folder" cmp -s "$tree/bin/launcher.exe" "$file"
  check "$title: scheme: name, URL Protocol, icon, open command" scheme "$hive" "$program"
  check "$title: Start menu shortcut" shortcut
  check "$title: installed-programs entry: name, version, publisher, icon" eval 'entry "$version" &&
    "$WINE64" reg query "$installer\\Installer\\Products" /s 2>/dev/null |
    grep ProductIcon >/dev/null'
  if [ "$hive" = HKLM ]; then
    # Windows shares the classes between its 32- and 64-bit views; Wine keeps the package's in the
    # 32-bit view, where a 64-bit shell does not look: copied over as written; where no 32-bit
    # program starts, RUN_TREE's stands in.
    classes='HKLM\Software\Classes\kelvra' k=$(windows_path "$prefix/k.reg")
    [ "$run" != "$tree" ] && "$WINE64" reg export "$classes" "$k" /reg:32 /y >/dev/null 2>&1 &&
      "$WINE64" reg import "$k" /reg:64 >/dev/null 2>&1 && ! starts_32bit &&
      cp "$run/bin/launcher.exe" "$file" && echo "note $title: the installed launcher replaced by" \
        "$run/bin/launcher.exe to follow the registration"
    rm -f "$record"
    check "$title: the shell opens $link" opens
    check "$title: the whitelisted server's engine started in its folder" \
      engine_started 192.0.2.10:27961 10
    [ "$run" = "$tree" ] || "$WINE64" reg delete "$classes" /reg:64 /f >/dev/null 2>&1
  else
    check "$title: nothing written under HKEY_LOCAL_MACHINE or Program Files" \
      [ "$(machine_state)" = "$before" ]
  fi
  check "$title: uninstall" msi /x "$new"
  check "$title: program, shortcut, scheme, installed-programs entry gone" eval \
    '[ ! -e "$file" ] && ! shortcut &&
    ! "$WINE64" reg query "$hive\\Software\\Classes\\kelvra" /reg:32 >/dev/null 2>&1 && entry ""'
  [ "$hive" = HKLM ] && check "$title: the shell no longer opens the link" eval '! opens'
  check "$title: settings and whitelist kept" eval \
    'reads "$settings_key" enginepath "$engine_folder\\quake3.exe" &&
    reads "$settings_key\\whitelist" address0 192.0.2.10'
done
[ "$failures" = 0 ] || { echo "$failures installer checks failed"; exit 1; }
