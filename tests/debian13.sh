#!/bin/bash
# bash tests/debian13.sh: on Debian 12, a fresh minimal Debian 13 root (mmdebstrap --variant=apt,
# about a minute, build/debian13-root) holding a copy of the tree runs the README's demo, then the
# test command's toolchain steps, each installing what it uses: built by Debian 13's compilers,
# linker, cppcheck, wixl and Wine. Every mount lives in this step's own mount namespace and ends
# with it; the host's X sockets are shared so that displays in use are seen.
set -euo pipefail
source "$(dirname "$0")/../scripts/toolkit.sh"
release=$(. /etc/os-release && echo "$PRETTY_NAME")
if [[ $release != *bookworm* ]]; then
  echo "no Debian 13 pass on $release: the steps above were its own"
  exit 0
fi
if [ "$(id -u)" != 0 ] || ! unshare -m true 2>/dev/null; then
  echo "SKIPPED: the Debian 13 pass: making its root takes root rights and mount namespaces"
  exit 0
fi
trixie="$root/build/debian13-root" start=$SECONDS
bash "$root/scripts/install-deps.sh" mmdebstrap
mkdir -p "$root/build" && rm -rf "$trixie"
mmdebstrap --variant=apt trixie "$trixie" >"$root/build/mmdebstrap.log" 2>&1 ||
  fail "mmdebstrap trixie (build/mmdebstrap.log)"
mkdir "$trixie/kelvra"
tar -C "$root" -c --exclude=./build --exclude=./.git . | tar -C "$trixie/kelvra" -x
# Its release is dated by the same commit; the host's TMPDIR names no folder in the root.
export SOURCE_DATE_EPOCH && SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct || echo 0)
steps="cd /kelvra && bash scripts/demo.sh && bash scripts/test.sh --toolchain"
env -u TMPDIR unshare -m bash -c 'mount --bind "$1" "$1" && mount -t tmpfs tmpfs "$1/tmp" &&
  for dir in /proc /dev /sys /tmp/.X11-unix; do
    mkdir -p "$1$dir" && mount --rbind "$dir" "$1$dir" || exit
  done && exec chroot "$1" /bin/bash -c "$2"' - "$trixie" "$steps" 2>&1 |
  sed -u 's/^/Debian 13: /' || fail "the Debian 13 pass in $trixie"
echo "ok   Debian 13: the demo and the toolchain's steps passed in $((SECONDS - start)) s"
