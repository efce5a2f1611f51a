#!/bin/bash
# bash tests/hardening.sh PROGRAM.exe...: each program's PE headers carry ASLR with the relocations
# kept, DEP, terminal-server awareness; 64-bit: high-entropy ASLR; 32-bit: the NO_SEH mark, and no
# code that touches the SEH chain at fs:[0].
set -uo pipefail
failures=0
for program in "$@"; do
  headers=$(x86_64-w64-mingw32-objdump -p "$program") || exit 1
  flags=(DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE HIGH_ENTROPY_VA) missing=()
  grep -q 'file format pei-i386' <<<"$headers" && flags[3]=NO_SEH
  characteristics=$(awk '/^DllCharacteristics/,/^SizeOfStack/' <<<"$headers")
  for flag in "${flags[@]}"; do grep -qw "$flag" <<<"$characteristics" || missing+=("$flag"); done
  # relocations: a base relocation directory of some size, the file header's "stripped" bit clear
  awk '/^Entry 5 / && $3 !~ /^0+$/ { found = 1 } END { exit !found }' <<<"$headers" ||
    missing+=(relocations)
  (($(awk '/^Characteristics/ { print $2; exit }' <<<"$headers") & 1)) &&
    missing+=("relocations (stripped)")
  [ "${flags[3]}" = NO_SEH ] &&
    i686-w64-mingw32-objdump -d "$program" | grep -E '%fs:(0x0)?($|[^0-9a-fx])' &&
    missing+=("code that leaves the SEH chain alone")
  [ ${#missing[@]} = 0 ] && echo "ok   $program: ${flags[*]}, relocations" ||
    { echo "FAIL $program lacks: ${missing[*]}"; failures=$((failures + 1)); }
done
[ "$#" -gt 0 ] && [ "$failures" = 0 ]
