#!/bin/bash
# Takes the README's pictures of the launcher's windows into docs/.
set -euo pipefail
bash "$(dirname "$0")/install-deps.sh" locales
# The Russian window as its users see it: Wine takes its code page from the locale, and in a Western
# one the system's font draws the Cyrillic labels as bars.
locale -a | grep -qx ru_RU.utf8 || localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
source "$(dirname "$0")/demo-setup.sh"
trap end_wine_session EXIT
demo_setup
mkdir -p "$root/docs"
link='"kelvra://arena.example.org:27962/join"'
shoot "$root/docs/main-window.png" "$link"
shoot "$root/docs/whitelist-window.png" --command IDC_WHITELIST "$link"
shoot "$root/docs/about-box.png" --command IDM_ABOUT "$link"
"$WINE64" reg add "$settings_key" /v language /t REG_DWORD /d 0x0407 /f >/dev/null
shoot "$root/docs/main-window-de.png" "$link"
"$WINE64" reg add "$settings_key" /v language /t REG_DWORD /d 0x0419 /f >/dev/null
LC_ALL=ru_RU.UTF-8 shoot "$root/docs/main-window-ru.png" "$link"
ls -la "$root/docs"
