#!/bin/bash
# Builds the launcher and its tests for both widths: build/i686 (the shipped
# 32-bit program, its release package in build/i686/release) and
# build/x86_64.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
for width in i686 x86_64; do
  cmake --no-warn-unused-cli -S . -B "build/$width" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$width.cmake" >/dev/null
  cmake --build "build/$width" -j2
done
cmake --build build/i686 --target release >/dev/null
