#!/bin/bash
# bash tests/same-release.sh: the release made again, from a copy of the tree in another folder and
# dated by the same commit, is the same bytes as build/release: the two SHA256SUMS are equal.
set -euo pipefail
source "$(dirname "$0")/../scripts/toolkit.sh"
again="$root/build/again" && rm -rf "$again" && mkdir -p "$again/src"
tar -C "$root" -c --exclude=./build . | tar -C "$again/src" -x
for width in x86_64 i686; do
  src="$again/src" configure_tree "$width" "$again/$width" -DBUILD_TESTING=OFF \
    -DKELVRA_RELEASE_DIR="$again/release"
  cmake --build "$again/$width" -j2 --target release >/dev/null || fail "the release again, $width"
done
diff "$root/build/release/SHA256SUMS" "$again/release/SHA256SUMS" || fail "other bytes (above)"
echo "ok   $(wc -l <"$again/release/SHA256SUMS") packages the same bytes from $again/src"
