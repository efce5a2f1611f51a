#!/bin/bash
# Installs the Debian packages the build and the tests need (as root), only
# when something is missing. The shipped program is 32-bit, so Wine's 32-bit
# half comes along (i386 packages beside the amd64 ones). git is the build's
# too: a release is dated by the last commit (packaging/epoch.cmake).
set -euo pipefail
packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386 fonts-wine xvfb imagemagick cmake
  googletest cppcheck zip python3 make git wixl msitools osslsigncode "$@")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  # apt's lines go to a log, shown only where it fails.
  log=$(mktemp) && trap 'rm -f "$log"' EXIT
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  { apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "${missing[@]}"; } >"$log" 2>&1 || { tail -n 30 "$log" >&2; echo "FAIL apt-get install" >&2; exit 1; }
fi
