#!/bin/bash
# Builds the launcher and its tests for both widths, build/i686 (the shipped
# 32-bit program) and build/x86_64, and the release of both in build/release:
# the zips, the installer, the Debian package and SHA256SUMS, from an empty
# build/release, so that the sums list no package left by an earlier build.
# Signed when KELVRA_SIGN_PFX and KELVRA_SIGN_PASSWORD name a certificate
# (README: Checking a download).
set -euo pipefail
source "$(dirname "$0")/toolkit.sh"
cd "$root"
for width in x86_64 i686; do
  configure_tree $width "build/$width" -DKELVRA_RELEASE_DIR="$root/build/release"
  cmake --build "build/$width" -j2
done
rm -rf build/release
for width in x86_64 i686; do cmake --build "build/$width" --target release || exit 1; done | awk '!/^\[|^Built target/ && !seen[$0]++'
