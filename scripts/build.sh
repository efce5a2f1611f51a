#!/bin/bash
# Builds the launcher for both widths: build/i686 (the shipped program and
# its release package in build/i686/release) and build/x86_64 (with the
# tests, which run under 64-bit Wine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake -S . -B build/i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DBUILD_TESTING=OFF >/dev/null
cmake --build build/i686 -j2
cmake --build build/i686 --target release >/dev/null
cmake -S . -B build/x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
cmake --build build/x86_64 -j2
