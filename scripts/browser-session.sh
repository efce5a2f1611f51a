# Sourced: Firefox ESR or Chromium with a fresh profile in $work (a folder of the caller's own) opens a
# page of links, which are clicked as a user does (the X server's own pointer). The browsers run with
# TMPDIR in $work, as a desktop session may set it, and hand it on with each link.
# start_stub_session sets up what tests/browsers.sh needs.
# The caller installs firefox-esr, chromium, xdotool and xdg-utils.
source "$(dirname "${BASH_SOURCE[0]}")/wine-session.sh"

# browser_home LAUNCHER: a HOME in $work with the desktop entry installed for a copy of LAUNCHER in a
# folder whose name has blanks and a quote.
browser_home() {
  fresh_home "$work/home"
  local folder="$HOME/Kelvra Games/Rock'n roll"
  mkdir -p "$folder" && cp "$1" "$folder/launcher.exe" &&
    sh "$root/packaging/install-desktop-entry.sh" "$folder/launcher.exe" >/dev/null
}

# page LINK...: $work/page.html, showing one link at a time over the whole window; a click shows the next
# one, and the title says which is showing, once the page has loaded ("done" after the last).
page() {
  local i=0 link
  {
    echo '<!DOCTYPE html><title>loading</title><style>a{position:fixed;inset:0;font-size:30px}a+a{display:none}</style>'
    echo '<script>onclick = e => setTimeout(() => { const a = e.target.closest("a"), b = a.nextElementSibling;'
    echo '  a.remove(); document.title = b ? "link " + b.id : "done"; }, 200);' # then b is the first, and shows
    echo '  onload = () => document.title = "link 0";</script>' # no click before the page can take it
    for link; do
      link=${link//&/\&amp;} && link=${link//\"/\&quot;} && link=${link//</\&lt;}
      echo "<a id=$i href=\"$link\">$link</a>" && i=$((i + 1))
    done
  } >"$work/page.html"
}

# open_page BROWSER: the page in firefox or chromium, with no first-run questions, allowed to open
# kelvra:// links from file:// pages without asking; the window over the whole screen.
open_page() {
  local profile="$work/$1" window
  rm -rf "$profile" && mkdir -p "$profile/Default" "$work/tmp"
  case $1 in
    firefox)
      printf 'user_pref("%s", %s);\n' network.protocol-handler.external.kelvra true \
        network.protocol-handler.expose.kelvra false browser.shell.checkDefaultBrowser false \
        browser.aboutwelcome.enabled false datareporting.policy.dataSubmissionEnabled false \
        toolkit.telemetry.reportingpolicy.firstRun false browser.startup.homepage_override.mstone '"ignore"' \
        >"$profile/user.js"
      TMPDIR=$work/tmp firefox-esr --no-remote --profile "$profile" "file://$work/page.html" >"$profile.log" 2>&1 & ;;
    chromium)
      echo '{"protocol_handler":{"allowed_origin_protocol_pairs":{"file://":{"kelvra":true}}}}' \
        >"$profile/Default/Preferences"
      TMPDIR=$work/tmp chromium --no-sandbox --test-type --no-first-run --disable-background-networking \
        --disable-component-update --disable-sync --password-store=basic --user-data-dir="$profile" \
        "file://$work/page.html" >"$profile.log" 2>&1 & ;;
  esac
  browser_pid=$!
  window=$(window '^link 0' 60) || return 1
  xdotool windowmove "$window" 0 0 windowsize "$window" 1024 768 mousemove 512 500
}

# click N: a real click on link N once it shows, again while the page has not taken one (a click that comes
# while the browser still settles is lost); prints the time of the click taken in ns.
click() {
  local at try
  window "^link $1" 20 >/dev/null || return 1
  for try in 1 2 3; do
    at=$(date +%s%N) && xdotool click 1 && window "^(link $(($1 + 1))|done)" 3 >/dev/null && echo "$at" && return
  done
  return 1
}

# close_window TITLE: closes the window as a user would (Alt+F4) and waits until it is gone.
close_window() {
  local id title=$1
  id=$(window "$title" 30) && xdotool windowfocus --sync "$id" key alt+F4 &&
    wait_for 10 eval '! window "$title" 0 >/dev/null'
}

# median NUMBER...: the middle one (the lower of the two middle ones for an even count).
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }

# close_browser: ends the browser open_page started, if any.
close_browser() {
  [ -z "${browser_pid:-}" ] || { kill "$browser_pid" && wait "$browser_pid" 2>/dev/null; } || true
  browser_pid=''
}

# start_stub_session TREE: $work in the build tree TREE; a Wine session with a prefix
# of its own (beside any session already running) where the stub engine stands in for the engine and
# 192.0.2.10 is whitelisted; browser_home with TREE's launcher. The caller ends it with end_stub_session.
start_stub_session() {
  tree=$(cd "$1" && pwd) && work="$tree/browsers"
  rm -rf "$work" && mkdir -p "$work"
  cd "$work" # where the browsers and what they start run: a command run from a link would leave .ran here
  start_wine_session "$tree/wineprefix-browsers" &&
    browser_home "$tree/bin/launcher.exe" && stage_engine "$tree/bin/stub_engine.exe" 192.0.2.10
}
end_stub_session() { close_browser; end_wine_session; }

# click_each BROWSER LINK...: in a stub session, opens a page of the links in BROWSER and clicks each;
# prints for each what it started: the engine's command line and "in" its working directory, "the
# window" (then closed), or "nothing started"; "link N did not show" ends the clicks. Last, the files
# named .ran in $work, if any. The click to engine times go to the standard error.
click_each() {
  local browser=$1 i start title='^URL Kelvra launcher$' times=()
  shift && page "$@" && open_page "$browser" || { close_browser; echo "$browser: the page did not open" >&2; return 1; }
  for ((i = 0; i < $#; i++)); do
    rm -f "$record" && start=$(click $i) || { echo "link $i did not show"; break; }
    poll 0.02 10 eval '[ -f "$record" ] || window "$title" 0 >/dev/null' || true
    if [ -f "$record" ]; then
      times+=($((($(date +%s%N) - start) / 1000000)))
      echo "$(engine_record | head -1) in $(engine_record | tail -1)"
    elif close_window "$title"; then echo "the window"
    else echo "nothing started"; fi
  done
  close_browser && find "$work" -name .ran
  [ ${#times[@]} -eq 0 ] || echo "$browser: click to engine started: median $(median "${times[@]}") ms of ${times[*]}" >&2
}
